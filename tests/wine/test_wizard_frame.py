"""The wizard frame on Wine's windowing system under Xvfb: the frame probe (plain pages in the
real frame, packed with the two-package sample) is driven through Next and Cancel by the
wizard driver, and a screenshot of the first page is kept in the work folder. Opened without an
owner, the wizard stands in the middle of the screen's work area."""
import subprocess

import winetest
from winetest import check, check_equal

TITLE = "Tarquel Quibrix 2024 Professional Edition (x64) - Installer Wizard"
LINE_ID = 3001


def visible_lines(window: dict) -> list[str]:
    return [control["text"] for control in window["controls"] if control["id"] == LINE_ID and control["visible"]]


def wait_for_line(text: str) -> dict:
    for _ in range(50):
        window = winetest.wait_window(process="FrameProbe.exe", title=TITLE)
        if window and visible_lines(window) == [text]:
            return window
    raise AssertionError(f"the page showing {text!r} did not appear")


def screenshot(name: str) -> None:
    path = winetest.work_dir() / name
    subprocess.run(["import", "-display", winetest.display(), "-window", "root", str(path)], check=True, timeout=30)


def test():
    probe = winetest.helper_program("wizard-frame-probe.exe")
    setup = winetest.pack("two-packages.json", template=probe, name="FrameProbe.exe")
    log = winetest.work_dir() / "frame.log"
    running = winetest.start(setup, "/L*v", winetest.windows_path(log))
    try:
        first = wait_for_line("Page Welcome")
        check_equal(winetest.control_text(first, 1), "&Next >", "Next label")
        check_equal(winetest.control_text(first, 1000), "< &Back", "Back label")
        check_equal(winetest.control_text(first, 2), "Cancel", "Cancel label")
        language = [c for c in first["controls"] if c["id"] == 1015]
        check(language and not language[0]["visible"], f"the language chooser is hidden: {language}")
        left, top, right, bottom = first["rect"]
        area_left, area_top, area_right, area_bottom = first["work_area"]
        check(right - left < area_right - area_left and bottom - top < area_bottom - area_top,
              f"the wizard {first['rect']} is smaller than the work area {first['work_area']}")
        check(abs((left - area_left) - (area_right - right)) <= 1 and abs((top - area_top) - (area_bottom - bottom)) <= 1,
              f"the wizard {first['rect']} is centred on the work area {first['work_area']}")
        screenshot("frame-welcome.png")

        winetest.click(1, process="FrameProbe.exe", title=TITLE)
        wait_for_line("Page Middle")
        winetest.click(2, process="FrameProbe.exe", title=TITLE)
        wait_for_line("Page Finish")
        screenshot("frame-finish.png")
        winetest.click(2, process="FrameProbe.exe", title=TITLE)
        result = running.wait(timeout=30)
    finally:
        running.kill()
    check_equal(result.stdout.strip(), "dialog=2 kind=3", "the frame ends cancelled on the finish page")
    check_equal(result.exit_code, 3, "exit code of a cancelled wizard")
    lines = [line for line in winetest.read_log(log).split("\r\n") if "ctivating dialog " in line]
    check_equal(lines, ["TSL (c): Deactivating dialog Welcome", "TSL (c): Deactivating dialog Middle",
                        "TSL (c): Deactivating dialog Finish", "TSL (c): Activating dialog Welcome",
                        "TSL (c): Deactivating dialog Welcome", "TSL (c): Activating dialog Middle",
                        "TSL (c): Deactivating dialog Middle", "TSL (c): Activating dialog Finish",
                        "TSL (c): Deactivating dialog Finish"], "page lines of the log")

    # Unattended: the same pages walk by themselves and the frame never waits.
    quiet = winetest.run(setup, "/qn", timeout=60)
    check_equal(quiet.stdout.strip(), "dialog=1 kind=0", "an unattended walk ends on its own")


winetest.main(test)
