"""A packed two-package setup does its whole job without a window: /qn unpacks both packages,
installs them with Windows Installer and exits with 0; /x /qn removes both again and the main
package's folder with them. The setup log tells every page the silent run walked through. A
silent run needs no display."""
import winetest
from winetest import check, check_equal

UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
QUIBRIX = ("{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D01}", "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D02}")
BRAMMEL = ("{5C1FB524-7C55-4E3B-9C6B-0A1A2B3C4D01}", "{5C1FB524-7C55-4E3B-9C6B-0A1A2B3C4D02}")


def installed(package):
    return winetest.reg_query(f"{UNINSTALL}\\{package[0]}", None, 64) is not None


def folder(package):
    return winetest.unix_path(f"C:\\ProgramData\\Tarquel\\{package[1]}")


def run_setup(setup, log_name, *args, env=None):
    log = winetest.work_dir() / log_name
    result = winetest.run(setup, *args, "/L*v", winetest.windows_path(log), timeout=300, env=env)
    return result.exit_code, winetest.read_log(log)


def test_without_a_display():
    """A silent run in a process that cannot reach a display (a container, a CI job) needs no
    window: /qn and /qb install, succeed and log their whole walk."""
    setup = winetest.pack("two-packages.json", name="NoDisplay.exe")
    for level in ("/qn", "/qb"):
        code, log = run_setup(setup, f"no-display-{level[1:]}.log", level, env={"DISPLAY": ":9999"})
        check_equal(code, 0, f"exit code of {level} without a display: {log!r}")
        for package in (QUIBRIX, BRAMMEL):
            check(installed(package), f"{package[0]} is installed by {level} without a display")
        check("TSL (c): Activating dialog Finish\r\n" in log and "TSL (c): ERROR" not in log,
              f"{level} without a display logs its whole walk and no error: {log!r}")
        code, log = run_setup(setup, f"no-display-remove-{level[1:]}.log", "/x", level, env={"DISPLAY": ":9999"})
        check_equal(code, 0, f"exit code of the removal with {level} without a display: {log!r}")
        for package in (QUIBRIX, BRAMMEL):
            check(not installed(package), f"{package[0]} is removed by {level} without a display")


def test():
    setup = winetest.pack("two-packages.json")
    for package in (QUIBRIX, BRAMMEL):
        check(not installed(package), f"{package[0]} is not installed before the run")

    code, log = run_setup(setup, "install.log", "/qn")
    check_equal(code, 0, f"exit code of the silent installation: {log!r}")
    for package in (QUIBRIX, BRAMMEL):
        check(installed(package), f"{package[0]} is installed")
    for page in ("UnpackMSIFromEXE", "Install (hidden)", "Finish"):
        check(f"TSL (c): Activating dialog {page}\r\n" in log, f"the silent run walked the page {page}")
    check("TSL (c): ERROR" not in log, "no error in the log")
    check(folder(QUIBRIX).is_dir(), "the main package's folder stays for later maintenance")

    code, log = run_setup(setup, "remove.log", "/x", "/qn")
    check_equal(code, 0, f"exit code of the silent removal: {log!r}")
    for package in (QUIBRIX, BRAMMEL):
        check(not installed(package), f"{package[0]} is removed")
    check(not folder(QUIBRIX).exists(), "the main package's folder is removed with its product")

    test_without_a_display()


winetest.main(test)
