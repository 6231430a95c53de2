"""A taxonomy setup from a workload file on Wine under Xvfb: the launcher template installs the
sample taxonomy package with the progress page, registers it under the current user's
uninstall key with the launcher copy and the quoted workload copy, and the entry's own
removal command (/x) takes the registration away. The packed taxonomy sample shows the same
page in German. A workload of two taxonomy packages cancelled during the second one rolls the
first one back: no registration of either is left. Screenshots of the progress page are kept in
the work folder."""
import json
import shutil
import subprocess
import time

import winetest
import wizard_walk
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


def place_payload() -> None:
    """The taxonomy data where the sample workload names it."""
    payload = winetest.unix_path("C:\\TarquelSamples")
    payload.mkdir(parents=True, exist_ok=True)
    shutil.copy(winetest.samples_dir() / "taxonomy-xbrl-2024.zip", payload / "taxonomy-xbrl-2024.zip")


def install_from_workload() -> None:
    work = winetest.work_dir()
    place_payload()
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


SECOND_PRODUCT_CODE = "{5C1F7A24-7C55-4E3B-9C6B-0A1A2B3C4D11}"
SECOND_NAME = "XBRL Taxonomies 2024 Supplement"


def wait_until(condition, what: str, timeout: float = 60) -> None:
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError(f"no {what} within {timeout} s")
        time.sleep(0.2)


def finish_after_rollback(running: winetest.Running) -> winetest.Result:
    """Waits through the rollback for the end of the run; a finish page on the way must tell
    the abort, and is closed with Finish."""
    deadline = time.monotonic() + 60
    while running.process.poll() is None and time.monotonic() < deadline:
        window = winetest.wait_window(process="setuplauncher.exe", timeout=2)
        shown = texts(window) if window else []
        check("Setup completed" not in shown, f"a cancelled run never tells a success: {shown}")
        if "Setup aborted" in shown:
            winetest.click(wizard_walk.NEXT, process="setuplauncher.exe")
        time.sleep(0.5)
    return running.wait(timeout=10)


def cancelled_install_rolls_back() -> None:
    """Cancel while the second of two packages installs: the first, installed and registered
    already, is removed again to its end, and the run ends as cancelled."""
    work = winetest.work_dir()
    place_payload()
    description = json.loads((winetest.samples_dir() / "workloads" / "taxonomy-xbrl-2024.json").read_text())
    first = description["packages"][0]
    description["packages"].append(dict(first, productName=SECOND_NAME, productCode=SECOND_PRODUCT_CODE,
                                        packageCode="{5C1F7A24-7C55-4E3B-9C6B-0A1A2B3C4D12}"))
    workload = work / "two-taxonomies.json"
    workload.write_text(json.dumps(description, indent=2))
    log = work / "taxonomy-cancel.log"
    keys = [UNINSTALL + packed(code) for code in (PRODUCT_CODE, SECOND_PRODUCT_CODE)]

    running = winetest.start(winetest.launcher(), "/L*v", winetest.windows_path(log),
                             "workload=" + winetest.windows_path(workload), cwd=work)
    try:
        wait_until(lambda: "Welcome" in wizard_walk.shown_pages(log), "welcome page")
        winetest.click(wizard_walk.NEXT, process="setuplauncher.exe")
        installed = f"Successfully installed product {first['productName']}.\r\n"
        wait_until(lambda: installed in winetest.read_log(log), "installation of the first package")
        check(winetest.reg_query(keys[0], "PackageGUID") is not None, "the first package is registered before the cancel")
        winetest.click(wizard_walk.CANCEL, process="setuplauncher.exe")
        result = finish_after_rollback(running)
    finally:
        running.kill()
    text = winetest.read_log(log)
    check_equal(result.exit_code, 3, f"exit code of the cancelled taxonomy installation: {text!r}")
    for key in keys:
        check_equal(winetest.reg_query(key), None, f"no registration left in the current user's list: {key}")
    failed = text.find(f"Failed to install product {SECOND_NAME}.\r\n")
    rolled_back = text.find(f"TSL (c): Rolling back installation of product {first['productName']}\r\n")
    check(-1 < failed < rolled_back,
          f"the cancelled second package starts the rollback of the first: {text!r}")
    check(f"Successfully un-installed product {first['productName']}.\r\n" in text[rolled_back:],
          f"the rollback removes the first package to its end: {text!r}")


def test():
    cancelled_install_rolls_back()
    install_from_workload()
    german_page()


winetest.main(test)
