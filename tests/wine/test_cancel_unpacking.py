"""Cancel pressed on the unpack page of an attended two-package setup: the worker does not go on
to the next package, and the run ends on the finish page titled "Setup aborted" with exit code 3,
nothing installed, no extraction error logged and the package folders removed.

The first package is a large incompressible file, so that its unpacking is still running when
Cancel arrives: a press of Cancel is armed before the setup starts and fires as soon as the wizard
shows Next disabled, which only the unpack page does in this run. A Cancel that comes too late
(the second package already being unpacked, or the page gone) fails the test with that reason
rather than passing it."""
import json
import os
import pathlib
import shutil

import winetest
import wizard_walk
from winetest import check, check_equal

UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
PRODUCT = "Tarquel Quibrix 2024 Professional Edition (x64)"
TITLE = f"{PRODUCT} - Installer Wizard"
PROCESS = "CancelUnpack.exe"
# Package codes of this test alone, so that no package folder left by another test is reused
# (a folder that holds its MSI already is not unpacked again).
LARGE_PACKAGE_CODE = "{5C1FCA01-7C55-4E3B-9C6B-0A1A2B3C4D02}"
SECOND_PACKAGE_CODE = "{5C1FCA02-7C55-4E3B-9C6B-0A1A2B3C4D02}"
# Unpacking it takes about a second under Wine; the armed Cancel arrives within a fifth of that.
LARGE_PACKAGE_MB = 192
CANCELLED = 3


def write_incompressible(path: pathlib.Path, megabytes: int) -> None:
    with open(path, "wb") as out:
        for _ in range(megabytes):
            out.write(os.urandom(1024 * 1024))


def pack_setup() -> tuple[pathlib.Path, list[dict]]:
    """The two-package sample whose main package is the large file."""
    work = winetest.work_dir()
    large = work / "large-package.msi"
    write_incompressible(large, LARGE_PACKAGE_MB)
    packages = json.loads((winetest.samples_dir() / "two-packages.json").read_text())["packages"]
    packages[0].update(msi=str(large), packageCode=LARGE_PACKAGE_CODE)
    packages[1].update(msi=str(winetest.samples_dir() / packages[1]["msi"]), packageCode=SECOND_PACKAGE_CODE)
    try:
        return winetest.pack("two-packages.json", name=PROCESS, packages=packages), packages
    finally:
        large.unlink()


def package_folder(package: dict) -> pathlib.Path:
    return winetest.unix_path(f"C:\\ProgramData\\Tarquel\\{package['packageCode']}")


def installed(package: dict) -> bool:
    return winetest.reg_query(f"{UNINSTALL}\\{package['productCode']}", None, 64) is not None


def cancel_during_unpacking(setup: pathlib.Path, packages: list[dict]) -> None:
    for package in packages:
        check(not installed(package), f"{package['productName']} is not installed before the run")
        check(not package_folder(package).exists(), f"no folder of {package['productName']} before the run")
    # Armed before the setup starts (a Windows program takes a while to start); the driver looks
    # for the window every 100 ms.
    canceller = winetest.start_press(wizard_walk.CANCEL, PROCESS, disabled=wizard_walk.NEXT)
    log = winetest.work_dir() / "cancel.log"
    try:
        walk = wizard_walk.walk(setup, PROCESS, TITLE, log, timeout=150)
        pressed = canceller.wait(timeout=1) if canceller.process.poll() is not None else None
    finally:
        canceller.kill()
    text = winetest.read_log(log)

    check(pressed is not None and pressed.exit_code == 0,
          f"Cancel was pressed while the unpack page ran (pages: {walk.pages})")
    check("TSL (c): Extracting resource: PACKAGE_0\r\n" in text, f"the first package was being unpacked: {text!r}")
    check("TSL (c): Extracting resource: PACKAGE_1\r\n" not in text,
          f"the second package was unpacked after Cancel: either the worker went on, or the Cancel came late "
          f"because unpacking {LARGE_PACKAGE_MB} MB took less time than pressing it on this machine")

    check_equal(walk.result.exit_code, CANCELLED, "exit code of the run cancelled during unpacking")
    check_equal(walk.pages, ["Welcome", "SystemIntegrity", "UnpackMSIFromEXE", "Finish"],
                "a Cancel during unpacking goes on to the finish page")
    finish = walk.windows["Finish"]
    check(finish is not None and any(c["text"] == "Setup aborted" and c["visible"] for c in finish["controls"]),
          f"the finish page is titled \"Setup aborted\": {finish!r}")
    check("TSL (c): Error extracting cabinet file" not in text, "a cancel is not logged as an extraction error")
    for package in packages:
        check(not installed(package), f"{package['productName']} was not installed")
        # The run ended without installing: the exit sequence removes the folders it unpacked into.
        check(not package_folder(package).exists(), f"the folder of {package['productName']} is removed at the end")


def test():
    setup, packages = pack_setup()
    try:
        cancel_during_unpacking(setup, packages)
    finally:
        setup.unlink(missing_ok=True)
        for package in packages:
            shutil.rmtree(package_folder(package), ignore_errors=True)


winetest.main(test)
