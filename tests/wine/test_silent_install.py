"""A packed two-package setup does its whole job without a window: /qn unpacks both packages,
installs them with Windows Installer and exits with 0; /x /qn removes both again and the main
package's folder with them. The setup log tells every page the silent run walked through. Without
a display the silent run never ends as a success that installed nothing."""
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
    """A silent run in a process that cannot reach a display (a container, a CI job) either
    installs and succeeds, or fails with its reason: never a success with nothing installed."""
    setup = winetest.pack("two-packages.json", name="NoDisplay.exe")
    code, log = run_setup(setup, "no-display.log", "/qn", env={"DISPLAY": ":9999"})
    if code == 0:
        for package in (QUIBRIX, BRAMMEL):
            check(installed(package), f"{package[0]} is installed by the run that succeeded")
        return
    check_equal(code, 2, f"exit code of the silent run without a display: {log!r}")
    check("TSL (c): All information collected. Start processing.\r\n"
          "TSL (c): The wizard window could not be created.\r\n" in log, f"the log tells why: {log!r}")
    check_equal(log.count("TSL (c): ERROR: Installation failed."), 1, "the failure is reported once")
    for package in (QUIBRIX, BRAMMEL):
        check(not installed(package), f"{package[0]} is not installed by the failed run")


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
