"""What only the 32-bit launcher on 64-bit Windows can show, on real installs: one setup installs
a 64-bit and a 32-bit package, each registered in its own registry view; the Add/Remove Programs
entry of the main product is rewritten in the view its package registered it in, and points at
the launcher copy in the package folder, which lies where a 64-bit process sees it (no file
system redirection); /x started from that entry removes both packages and the main package's folder. Run
once with a 64-bit main package and once with a 32-bit one."""
import shutil

import winetest
from winetest import check, check_equal

UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
PACKAGE_ROOT = "C:\\ProgramData\\Tarquel"


def entry(code, view, value=None):
    return winetest.reg_query(f"{UNINSTALL}\\{code}", value, view)


def package_folder(package):
    return winetest.unix_path(f"{PACKAGE_ROOT}\\{package['packageCode']}")


def view_of(package):
    return 64 if package["productPlatform"] == "x64" else 32


def other(view):
    return 96 - view


def check_mixed_setup(description):
    setup = winetest.pack(description)
    main, sub = winetest.load_description(description)["packages"]
    for package in (main, sub):
        for view in (32, 64):
            check(entry(package["productCode"], view) is None, f"{package['productName']} is not installed before the run")

    log = winetest.work_dir() / f"{setup.stem}-install.log"
    result = winetest.run(setup, "/qn", "/L*v", winetest.windows_path(log), timeout=300)
    check_equal(result.exit_code, 0, f"exit code of the installation of {description}: {winetest.read_log(log)!r}")

    for package in (main, sub):
        view = view_of(package)
        check(entry(package["productCode"], view) is not None,
              f"{package['productName']} is registered in the {view}-bit view")
        check(entry(package["productCode"], other(view)) is None,
              f"{package['productName']} is not registered in the {other(view)}-bit view")

    # The rewrite: the main product's entry starts the launcher copy, in its own view.
    copy = f"{PACKAGE_ROOT}\\{main['packageCode']}\\{setup.name}"
    view = view_of(main)
    check_equal(entry(main["productCode"], view, "UninstallString"), f"{copy} /x",
                f"the main product's uninstall command in the {view}-bit view")
    check_equal(entry(main["productCode"], view, "ModifyPath"), copy,
                f"the main product's modify command in the {view}-bit view")
    check_equal(entry(main["productCode"], view, "WindowsInstaller"), "0x0", "the main entry is the launcher's")
    check_equal(entry(sub["productCode"], view_of(sub), "WindowsInstaller"), "0x1",
                "the sub-package's entry stays Windows Installer's own")
    check(winetest.unix_path(copy).is_file(), f"the launcher copy lies at {copy} for every process")
    check_equal(winetest.unix_path(copy).read_bytes(), setup.read_bytes(), "the launcher copy is the setup")

    # Add/Remove Programs starts the copy with the entry's command; /qn keeps it silent.
    program, switch = entry(main["productCode"], view, "UninstallString").rsplit(" ", 1)
    log = winetest.work_dir() / f"{setup.stem}-remove.log"
    result = winetest.run(program, switch, "/qn", "/L*v", winetest.windows_path(log), timeout=300)
    check_equal(result.exit_code, 0, f"exit code of the removal through the entry: {winetest.read_log(log)!r}")
    for package in (main, sub):
        for view in (32, 64):
            check(entry(package["productCode"], view) is None, f"{package['productName']} is removed")
    check(not package_folder(main).exists(), "the main package's folder, with the launcher copy, is removed")
    # A removal keeps the sub-packages' folders; the next setup of this test starts clean.
    shutil.rmtree(package_folder(sub), ignore_errors=True)


def test():
    check_equal(winetest.build(), "win32", "this test runs the 32-bit launcher")
    check_mixed_setup("mixed-views-x64-main.json")
    check_mixed_setup("mixed-views-x86-main.json")


winetest.main(test)
