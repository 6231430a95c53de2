"""An attended installation of the two-package sample on Wine's windowing system under Xvfb:
the unpack and install pages do their work, the finish page tells the success, and Finish
ends the setup with exit code 0; the same in German. Screenshots of the finish pages are kept
in the work folder; a silent removal after each run leaves the prefix as before."""
import subprocess

import winetest
from winetest import check, check_equal

PRODUCT = "Tarquel Quibrix 2024 Professional Edition (x64)"


def screenshot(name: str) -> None:
    path = winetest.work_dir() / name
    subprocess.run(["import", "-display", winetest.display(), "-window", "root", str(path)], check=True, timeout=30)


def wait_for_text(process: str, title: str, text: str) -> dict:
    for _ in range(60):
        window = winetest.wait_window(process=process, title=title, timeout=10)
        if window and any(c["text"] == text and c["visible"] for c in window["controls"]):
            return window
    raise AssertionError(f"no page showing {text!r}")


def install_attended(setup, process, title, success, finish_label, screenshot_name):
    log = winetest.work_dir() / (screenshot_name + ".log")
    running = winetest.start(setup, "/L*v", winetest.windows_path(log))
    try:
        finish = wait_for_text(process, title, success)
        check_equal(winetest.control_text(finish, 1), finish_label, "Next is relabelled Finish")
        screenshot(screenshot_name + ".png")
        winetest.click(1, process=process, title=title)
        result = running.wait(timeout=60)
    finally:
        running.kill()
    check_equal(result.exit_code, 0, f"exit code of the attended installation ({screenshot_name})")
    check("TSL (c): Activating dialog Finish\r\n" in winetest.read_log(log), "the finish page was shown")
    removal = winetest.run(setup, "/x", "/qn", timeout=300)
    check_equal(removal.exit_code, 0, f"the silent removal afterwards ({screenshot_name})")


def test():
    install_attended(winetest.pack("two-packages.json"), "Setup.exe", f"{PRODUCT} - Installer Wizard",
                     f"Setup has successfully installed {PRODUCT}.", "&Finish", "finish-en")
    # A setup whose "OS" resource is German speaks German.
    german = winetest.pack("two-packages.json", name="German.exe", resources={"OS": {"language": 1031}})
    install_attended(german, "German.exe", f"{PRODUCT} - Installations-Assistent",
                     f"Setup hat {PRODUCT} erfolgreich installiert.", "&Fertig stellen", "finish-de")


winetest.main(test)
