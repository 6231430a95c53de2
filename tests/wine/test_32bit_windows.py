"""The shipped 32-bit launcher on a 32-bit Windows (a prefix of its own made with WINEARCH=win32):
a setup whose main package is 64-bit ends with kind 10 and says why in its log, and nothing is
installed; a 32-bit setup installs and is removed again."""
import shutil
import subprocess

import winetest
from winetest import check, check_equal

UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
QUIBRIX_X64 = "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D01}"
QUIBRIX_X86 = "{5C1F2401-7C55-4E3B-9C6B-0A1A2B3C4D01}"
KIND_64BIT_ON_32BIT = 10


def test():
    check_equal(winetest.build(), "win32", "this test runs the 32-bit launcher")
    prefix = winetest.work_dir() / "win32-prefix"
    env = {"WINEPREFIX": str(prefix), "WINEARCH": "win32"}
    try:
        boot = winetest.run("wineboot", "-i", env=env, timeout=180)
        check_equal(boot.exit_code, 0, "wineboot of the 32-bit prefix")
        check(not (prefix / "drive_c" / "windows" / "syswow64").exists(), "the prefix is a 32-bit Windows")

        def run_setup(setup, log_name, *args):
            log = winetest.work_dir() / log_name
            result = winetest.run(setup, *args, "/L*v", winetest.windows_path(log), env=env, timeout=300)
            return result.exit_code, winetest.read_log(log)

        def installed(code):
            listing = winetest.run("reg", "query", f"{UNINSTALL}\\{code}", env=env, timeout=30)
            return listing.exit_code == 0

        code, log = run_setup(winetest.pack("two-packages.json"), "x64.log", "/qn")
        check_equal(code, KIND_64BIT_ON_32BIT, f"exit code of a 64-bit main package: {log!r}")
        check("TSL (c): dedected 64-bit platform\r\n" in log, f"the log names the package's platform: {log!r}")
        check("TSL (c): ERROR: Installing a 64-bit product on a 32-bit system (1633 - " in log,
              f"the log tells the failure with its installer code: {log!r}")
        check(not installed(QUIBRIX_X64), "nothing is installed")

        setup = winetest.pack("quibrix-2024-x86.json", name="Setup32.exe")
        code, log = run_setup(setup, "x86.log", "/qn")
        check_equal(code, 0, f"exit code of a 32-bit setup: {log!r}")
        check("TSL (c): dedected 32-bit platform\r\n" in log, f"the log names the package's platform: {log!r}")
        check(installed(QUIBRIX_X86), "the 32-bit product is installed")
        code, log = run_setup(setup, "x86-remove.log", "/x", "/qn")
        check_equal(code, 0, f"exit code of the removal: {log!r}")
        check(not installed(QUIBRIX_X86), "the 32-bit product is removed")
    finally:
        subprocess.run([winetest.WINESERVER, "-k"], env=winetest.wine_environment(env), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(prefix, ignore_errors=True)


winetest.main(test)
