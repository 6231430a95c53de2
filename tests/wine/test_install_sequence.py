"""The install sequence on real installs of the sample MSIs, run by the install driver packed as
a setup (it stands in for the wizard; the test puts the MSI files into the package folders in
place of the unpacking): a failing third package leaves the machine as before the run, and so
does a cancel in the second package's installer (exit code 3); a
two-package install hands each package exactly its properties, merges the administrator's
transform into each package, and points the main product's Add/Remove Programs entry at the
launcher copy; a second run modifies; /f repairs a deleted
file; a removal the main package refuses unpacks and installs the removed sub-package again;
and the entry's Remove command takes every package away, last first. The setup log holds
the launcher's and the installer's lines in order, readable as one UTF-16 text."""
import shutil

import winetest
from winetest import check, check_equal

UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
QUIBRIX = ("quibrix-2024-x64", "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D0%d}", "Tarquel Quibrix 2024 Professional Edition (x64)")
BRAMMEL = ("brammel-server-2024-x64", "{5C1FB524-7C55-4E3B-9C6B-0A1A2B3C4D0%d}", "Tarquel Brammel Server 2024 (x64)")
WENDRAK = ("wendrak-7.2-x64", "{5C1FE072-7C55-4E3B-9C6B-0A1A2B3C4D0%d}", "Tarquel Wendrak 7.2 (x64)")


def product_code(package):
    return package[1] % 1


def package_folder(package):
    return f"C:\\ProgramData\\Tarquel\\{package[1] % 2}"


def place(*packages):
    """What the unpacking leaves: each package's MSI file in its package folder."""
    for package in packages:
        folder = winetest.unix_path(package_folder(package))
        folder.mkdir(parents=True, exist_ok=True)
        shutil.copy(winetest.samples_dir() / f"{package[0]}.msi", folder / f"{package[0]}.msi")


def installed(package):
    return winetest.reg_query(f"{UNINSTALL}\\{product_code(package)}", None, 64) is not None


def received(package, name):
    return winetest.reg_query(f"HKLM\\SOFTWARE\\Tarquel\\Samples\\{package[0]}", name, 64)


def run_setup(setup, log_name, *args):
    log = winetest.work_dir() / log_name
    result = winetest.run(setup, "/qn", "/L*v", winetest.windows_path(log), *args, timeout=240)
    text = winetest.read_log(log)
    check("\ufffd" not in text, f"{log_name} is one readable UTF-16 text")
    check("\n" not in text.replace("\r\n", ""), f"{log_name} has CR LF line ends throughout")
    return result.exit_code, text


def in_order(text, *lines):
    positions = [text.find(line) for line in lines]
    check(-1 not in positions and positions == sorted(positions), f"in this order in the log: {lines}\n{text}")


def test():
    driver = winetest.helper_program("install-driver.exe")
    before = winetest.reg_query(UNINSTALL, None, 64)

    # The third package refuses: the second and then the first are removed again.
    three = winetest.pack("three-packages.json", template=driver, name="Three.exe")
    place(QUIBRIX, BRAMMEL, WENDRAK)
    code, log = run_setup(three, "three.log", "SAMPLE_REFUSE=wendrak-7.2-x64")
    check_equal(code, 2, "exit code of a failed installation")
    for package in (QUIBRIX, BRAMMEL, WENDRAK):
        check(not installed(package), f"{package[0]} is not installed after the rollback")
    check_equal(winetest.reg_query(UNINSTALL, None, 64), before, "uninstall keys as before the run")
    in_order(log, f"TSL (c): Installing product {WENDRAK[2]}\r\n", "TSL (c): Failure: return code = 1603\r\n",
             f"TSL (c): Rolling back product {BRAMMEL[2]}\r\n", f"TSL (c): Rolling back product {QUIBRIX[2]}\r\n")

    # The user cancels in the second package's installer: the first is removed again and the run
    # ends as cancelled (exit code 3).
    cancelled = winetest.pack("two-packages.json", template=driver, name="Cancelled.exe")
    code, log = run_setup(cancelled, "cancel.log", "SAMPLE_CANCEL=brammel-server-2024-x64")
    check_equal(code, 3, "exit code of an installation the user cancelled")
    for package in (QUIBRIX, BRAMMEL):
        check(not installed(package), f"{package[0]} is not installed after the cancel")
    check_equal(winetest.reg_query(UNINSTALL, None, 64), before, "uninstall keys as before the cancelled run")
    in_order(log, f"TSL (c): Installing product {BRAMMEL[2]}\r\n", "TSL (c): Failure: return code = 1602\r\n",
             f"TSL (c): Rolling back product {QUIBRIX[2]}\r\n")

    # Two packages: each receives exactly the properties of its place in the setup. The
    # administrator's transform in the current folder (it changes INSTALLER_LANGUAGE to "it") is
    # merged into each unpacked package rather than passed on.
    setup = winetest.pack("two-packages.json", template=driver)
    transform = "quibrix-2024-x64_admin-property.mst"
    shutil.copy(winetest.samples_dir() / transform, winetest.work_dir() / transform)
    code, log = run_setup(setup, "install.log", "SAMPLE_VALUE=given", f"TRANSFORMS={transform}")
    check_equal(code, 0, "exit code of the installation")
    expected = {"INSTALLEDFROMLAUNCHER": "Yes", "HAS_SUB_PACKAGES": "Yes", "UI_HIDE_FINISH_DLG": "Yes",
                "UI_HIDE_ALL_BUT_PROGRESS": "", "UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS": "",
                "UI_SHOW_LICENSE_AGREEMENT_DLG": "", "DO_QUICK_INSTALL": "", "TRANSFORMS": "", "SAMPLE_VALUE": "given",
                "INSTALLER_LANGUAGE": "it"}
    for package, hides_all in ((QUIBRIX, ""), (BRAMMEL, "Yes")):
        for name, value in dict(expected, UI_HIDE_ALL_BUT_PROGRESS=hides_all).items():
            check_equal(received(package, name), value, f"{package[0]} received {name}")
    check_equal(winetest.reg_query("HKLM\\Software\\Tarquel", "CurrentInstallationType", 32), None,
                "CurrentInstallationType does not outlive the run")
    # The installer's own lines (they begin with "=== Logging started") follow each launcher line.
    in_order(log, f"TSL (c): Installing product {QUIBRIX[2]}\r\n", f"TSL (c): Applying transformations: {transform}\r\n",
             "=== Logging started",
             f"TSL (c): Installing product {BRAMMEL[2]}\r\n", "TSL (c): perform custom installer registry\r\n")
    second = log.find(f"TSL (c): Installing product {BRAMMEL[2]}\r\n")
    check(log.find("=== Logging started", second) != -1, "the second package's installer lines follow its own line")

    entry = f"{UNINSTALL}\\{product_code(QUIBRIX)}"
    copy = f"{package_folder(QUIBRIX)}\\Setup.exe"
    check_equal(winetest.reg_query(entry, "ModifyPath", 64), copy, "Change starts the launcher copy")
    check_equal(winetest.reg_query(entry, "UninstallString", 64), copy + " /x", "Remove starts the launcher copy")
    check_equal(winetest.reg_query(entry, "WindowsInstaller", 64), "0x0", "the entry is the launcher's")
    check(winetest.unix_path(copy).read_bytes() == setup.read_bytes(), "the copy is the running setup")

    # A second run over the installed main product changes it.
    code, log = run_setup(setup, "modify.log")
    check_equal(code, 0, "exit code of the change")
    in_order(log, f"TSL (c): Modifying product {QUIBRIX[2]}\r\n", f"TSL (c): Modifying product {BRAMMEL[2]}\r\n",
             "TSL (c): redo-after modify or re-install custom installer registry\r\n")

    # /f brings a deleted file back.
    application = winetest.unix_path(winetest.reg_query(
        "HKLM\\SOFTWARE\\Tarquel\\Quib Rix\\Installation_v2024_x64\\Setup", "ApplicationPath", 64))
    application.unlink()
    code, log = run_setup(setup, "repair.log", "/f")
    check_equal(code, 0, "exit code of the repair")
    check(application.is_file(), "the repair restored the deleted file")

    # A removal the main package refuses: the sub-package removed before it is unpacked again
    # from the setup's own resources and installed again.
    code, log = run_setup(winetest.unix_path(copy), "remove-refused.log", "/x", "SAMPLE_REFUSE=quibrix-2024-x64")
    check_equal(code, 2, "exit code of a refused removal")
    for package in (QUIBRIX, BRAMMEL):
        check(installed(package), f"{package[0]} is installed after the refused removal")
    in_order(log, f"TSL (c): Uninstalling product {BRAMMEL[2]}\r\n", f"TSL (c): Uninstalling product {QUIBRIX[2]}\r\n",
             "TSL (c): Failure: return code = 1603\r\n", f"TSL (c): Rolling back product {BRAMMEL[2]}\r\n",
             "TSL (c): Extracting resource: PACKAGE_1\r\n")
    unpacked = log.find("TSL (c): Extracting resource: PACKAGE_1\r\n")
    check(log.find("=== Logging started", unpacked) != -1, "the unpacked sub-package is installed again")

    # The entry's Remove command: the launcher copy removes every package, last first, after
    # making the entry Windows Installer's own again.
    code, log = run_setup(winetest.unix_path(copy), "remove.log", "/x")
    check_equal(code, 0, "exit code of the removal")
    for package in (QUIBRIX, BRAMMEL):
        check(not installed(package), f"{package[0]} is removed")
    in_order(log, "TSL (c): prepare-remove custom installer registry\r\n",
             f"TSL (c): Uninstalling product {BRAMMEL[2]}\r\n", f"TSL (c): Uninstalling product {QUIBRIX[2]}\r\n")
    check_equal(winetest.reg_query(UNINSTALL, None, 64), before, "uninstall keys as before the installation")


winetest.main(test)
