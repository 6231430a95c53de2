"""A taxonomy setup from a workload file on Wine under Xvfb: the launcher template installs the
sample taxonomy package with the progress page, registers it under the current user's
uninstall key with the launcher copy and the quoted workload copy, and the entry's own
removal command (/x) takes the registration away. The packed taxonomy sample shows the same
page in German. Screenshots of the progress page are kept in the work folder."""
import shutil
import subprocess

import winetest
from winetest import check, check_equal

PRODUCT_CODE = "{5C1F7A24-7C55-4E3B-9C6B-0A1A2B3C4D01}"
PACKAGE_CODE = "{5C1F7A24-7C55-4E3B-9C6B-0A1A2B3C4D02}"
PACKAGE_FOLDER = "C:\\ProgramData\\Tarquel\\" + PACKAGE_CODE
UNINSTALL = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"


def packed(product_code: str) -> str:
    """The installer's compressed GUID: the first three groups reversed, then the characters of
    each pair swapped."""
    groups = product_code.strip("{}").split("-")
    rest = groups[3] + groups[4]
    return "".join(group[::-1] for group in groups[:3]) + "".join(rest[i + 1] + rest[i] for i in range(0, len(rest), 2))


def screenshot(name: str) -> None:
    path = winetest.work_dir() / name
    subprocess.run(["import", "-display", winetest.display(), "-window", "root", str(path)], check=True, timeout=30)


def texts(window: dict) -> list[str]:
    return [c["text"] for c in window["controls"] if c["visible"] and c["text"]]


def walk_wizard(process: str, step_text: str, done_text: str, shot: str) -> None:
    """Presses Next until the progress page shows its third step or a later one (then takes
    the screenshot) and the finish page shows `done_text`; presses Finish there."""
    shot_taken = False
    for _ in range(120):
        window = winetest.wait_window(process=process, timeout=10)
        if not window:
            continue
        shown = texts(window)
        steps = [int(text[len(step_text):]) for text in shown if text.startswith(step_text)]
        # A few steps in, so that the bar shows its progress.
        if steps and steps[0] >= 3 and not shot_taken:
            screenshot(shot)
            shot_taken = True
        if any(done_text in text for text in shown):
            check(shot_taken, f"the progress page was seen before the finish page ({shot})")
            winetest.click(1, process=process)
            return
        next_button = [c for c in window["controls"] if c["id"] == 1]
        if not shot_taken and next_button and next_button[0]["enabled"] and next_button[0]["visible"]:
            winetest.click(1, process=process)
    raise AssertionError(f"the wizard of {process} did not reach {done_text!r}")


def install_from_workload() -> None:
    work = winetest.work_dir()
    payload = winetest.unix_path("C:\\TarquelSamples")
    payload.mkdir(parents=True, exist_ok=True)
    shutil.copy(winetest.samples_dir() / "taxonomy-xbrl-2024.zip", payload / "taxonomy-xbrl-2024.zip")
    workload = work / "taxonomy-xbrl-2024.json"
    shutil.copy(winetest.samples_dir() / "workloads" / "taxonomy-xbrl-2024.json", workload)
    log = work / "taxonomy-install.log"
    key = UNINSTALL + packed(PRODUCT_CODE)

    running = winetest.start(winetest.launcher(), "/L*v", winetest.windows_path(log),
                             "workload=" + winetest.windows_path(workload), cwd=work)
    try:
        walk_wizard("setuplauncher.exe", "Install action ", "Setup has successfully installed", "taxonomy-en.png")
        result = running.wait(timeout=60)
    finally:
        running.kill()
    text = winetest.read_log(log)
    check_equal(result.exit_code, 0, f"exit code of the taxonomy installation: {text!r}")
    check("TSL (c): Activating dialog NonMSIInstall\r\n" in text, "the progress page ran")
    check("TSL: Start installing...\r\nSuccessfully installed product XBRL Taxonomies 2024.\r\n" in text,
          f"the installer's lines: {text!r}")

    copy = PACKAGE_FOLDER + "\\setuplauncher.exe"
    argument = ' workload="' + PACKAGE_FOLDER + '\\taxonomy-xbrl-2024.json"'
    check_equal(winetest.reg_query(key, "UninstallString"), copy + " /x" + argument, "UninstallString")
    check_equal(winetest.reg_query(key, "ModifyPath"), copy + argument, "ModifyPath")
    check_equal(winetest.reg_query(key, "PackageGUID"), PACKAGE_CODE, "PackageGUID")
    check_equal(winetest.reg_query(key, "Publisher"), "Tarquel", "Publisher")
    check_equal(winetest.reg_query(key, "NoRepair"), "0x1", "NoRepair")
    check(winetest.unix_path(copy).is_file(), "the launcher copy is in the package folder")
    check(winetest.unix_path(PACKAGE_FOLDER + "\\taxonomy-xbrl-2024.json").is_file(),
          "the workload copy is in the package folder")

    # The entry's own removal command, run silently.
    removal_log = work / "taxonomy-remove.log"
    removal = winetest.run(winetest.unix_path(copy), "/x", "/qn", "/L*v", winetest.windows_path(removal_log),
                           "workload=" + PACKAGE_FOLDER + "\\taxonomy-xbrl-2024.json", timeout=120)
    removal_text = winetest.read_log(removal_log)
    check_equal(removal.exit_code, 0, f"exit code of the removal: {removal_text!r}")
    check("Successfully un-installed product XBRL Taxonomies 2024.\r\n" in removal_text, "the removal's line")
    check_equal(winetest.reg_query(key), None, "the registration is gone after /x")


def german_page() -> None:
    """The packed taxonomy sample with a German "OS" resource: the same page in German; removed
    silently afterwards."""
    setup = winetest.pack("taxonomy.json", name="Taxonomie.exe", resources={"OS": {"language": 1031}})
    running = winetest.start(setup)
    try:
        walk_wizard("Taxonomie.exe", "Installationsschritt ", "erfolgreich installiert", "taxonomy-de.png")
        result = running.wait(timeout=60)
    finally:
        running.kill()
    check_equal(result.exit_code, 0, "exit code of the German taxonomy installation")
    removal = winetest.run(setup, "/x", "/qn", timeout=120)
    check_equal(removal.exit_code, 0, "the silent removal of the German installation")
    check_equal(winetest.reg_query(UNINSTALL + packed(PRODUCT_CODE)), None, "no registration left")


def test():
    install_from_workload()
    german_page()


winetest.main(test)
