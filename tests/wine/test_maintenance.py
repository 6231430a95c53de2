"""Runs of a packed setup over installed products, on real installs under Wine:
- /f /qn reinstalls the installed products and /qn over them modifies them;
- an attended run over the installed 2023 edition offers "&Quick Install" on the Back button of
  its welcome page and, pressed, installs the 2024 edition without stopping until its finish
  page, which waits for Finish;
- a 2024 edition of another bitness and edition blocks the installation: an attended run stops
  on the system-integrity page with Next disabled and ends cancelled, a silent run ends cancelled."""
import winetest
import wizard_walk
from winetest import check, check_equal

UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
QUIBRIX_2024 = "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D01}"
QUIBRIX_2023 = "{5C1F2302-7C55-4E3B-9C6B-0A1A2B3C4D01}"
STANDARD_X86 = "{5C1F2403-7C55-4E3B-9C6B-0A1A2B3C4D01}"
TITLE = "Tarquel Quibrix 2024 Professional Edition (x64) - Installer Wizard"
BACK = 1000
CANCELLED = 3


def installed(code, view=64):
    return winetest.reg_query(f"{UNINSTALL}\\{code}", None, view) is not None


def run_setup(setup, log_name, *args):
    log = winetest.work_dir() / log_name
    result = winetest.run(setup, *args, "/L*v", winetest.windows_path(log), timeout=300)
    return result.exit_code, winetest.read_log(log)


def repair_and_modify(setup):
    code, log = run_setup(setup, "install.log", "/qn")
    check_equal(code, 0, "exit code of the installation")
    code, log = run_setup(setup, "repair.log", "/f", "/qn")
    check_equal(code, 0, f"exit code of the repair: {log!r}")
    check("Reinstalling product " in log, "the repair reinstalls the products")
    code, log = run_setup(setup, "modify.log", "/qn")
    check_equal(code, 0, f"exit code of the run over the installed products: {log!r}")
    check("Modifying product " in log, "a run over the installed products modifies them")
    code, _ = run_setup(setup, "remove.log", "/x", "/qn")
    check_equal(code, 0, "exit code of the removal")
    check(not installed(QUIBRIX_2024), "the products are removed")


def quick_install(setup):
    previous = winetest.pack("quibrix-2023-x64.json", name="Quibrix2023.exe")
    code, _ = run_setup(previous, "install-2023.log", "/qn")
    check_equal(code, 0, "exit code of the 2023 installation")
    log = winetest.work_dir() / "quick.log"
    walk = wizard_walk.walk(setup, "Setup.exe", TITLE, log, press={"Welcome": BACK})
    welcome = walk.windows["Welcome"]
    check_equal(winetest.control_text(welcome, BACK), "&Quick Install", "the Back button offers the quick install")
    check_equal(walk.result.exit_code, 0, f"exit code of the quick install: {winetest.read_log(log)!r}")
    check_equal(walk.pages, ["Welcome", "SystemIntegrity", "UnpackMSIFromEXE", "ServiceConfiguration", "Install (hidden)", "Finish"],
                "the quick install walked to its end by itself")
    check(installed(QUIBRIX_2024), "the 2024 edition is installed")
    finish = walk.windows.get("Finish")
    check(finish is not None and any(c["text"] == "Setup completed" and c["visible"] for c in finish["controls"]),
          "the finish page of the quick install waits for Finish and tells the success")
    for name in ("Setup.exe", "Quibrix2023.exe"):
        code, _ = run_setup(winetest.work_dir() / name, f"remove-{name}.log", "/x", "/qn")
        check_equal(code, 0, f"exit code of the removal by {name}")


def blocking_conflict(setup):
    other = winetest.pack("quibrix-2024-standard-x86.json", name="Standard.exe")
    code, _ = run_setup(other, "install-standard.log", "/qn")
    check_equal(code, 0, "exit code of the Standard Edition's installation")
    check(installed(STANDARD_X86, 32), "the Standard Edition is installed")

    log = winetest.work_dir() / "blocked.log"
    walk = wizard_walk.walk(setup, "Setup.exe", TITLE, log, press={"SystemIntegrity": wizard_walk.CANCEL})
    check("SystemIntegrity" in walk.pages, f"the attended run showed the system-integrity page: {walk.pages}")
    blocked = walk.windows["SystemIntegrity"]
    next_button = [c for c in blocked["controls"] if c["id"] == wizard_walk.NEXT]
    check(next_button and not next_button[0]["enabled"], "Next is disabled on a blocking conflict")
    check("SIC - Conflicts have been detected. Installation will abort.\r\n" in winetest.read_log(log),
          "the log tells the abort")
    check_equal(walk.result.exit_code, CANCELLED, "exit code of the blocked attended run")
    check(not installed(QUIBRIX_2024), "nothing was installed by the blocked run")

    code, log_text = run_setup(setup, "blocked-silent.log", "/qn")
    check_equal(code, CANCELLED, f"exit code of the blocked silent run: {log_text!r}")
    check(not installed(QUIBRIX_2024), "nothing was installed by the blocked silent run")
    code, _ = run_setup(other, "remove-standard.log", "/x", "/qn")
    check_equal(code, 0, "exit code of the Standard Edition's removal")


def test():
    setup = winetest.pack("two-packages.json")
    repair_and_modify(setup)
    quick_install(setup)
    blocking_conflict(setup)


winetest.main(test)
