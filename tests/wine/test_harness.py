"""The harness itself: the build under test, exit codes, console output, files and both registry
views of the prefix."""
import struct

import winetest
from winetest import check, check_equal

PE_MACHINES = {"win32": 0x14C, "win64": 0x8664}


def pe_machine(path):
    data = path.read_bytes()
    header = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, header + 4)[0]


def test():
    # The launcher under test is the build's own, and the prefix runs 32-bit programs beside
    # 64-bit ones, as 64-bit Windows does.
    check_equal(pe_machine(winetest.launcher()), PE_MACHINES[winetest.build()], "machine of the launcher under test")
    check((winetest.prefix() / "drive_c" / "windows" / "syswow64").is_dir(), "the prefix is a WoW64 prefix")
    result = winetest.run("cmd", "/c", "echo harness output& exit 3", timeout=30)
    check_equal(result.exit_code, 3, "exit code of cmd")
    check("harness output" in result.stdout, f"console output: {result.stdout!r}")

    marker = winetest.unix_path("C:\\harness\\marker.txt")
    result = winetest.run("cmd", "/c", "mkdir C:\\harness & echo written> C:\\harness\\marker.txt")
    check(marker.is_file(), f"{marker} was not written through drive C:")
    check_equal(marker.read_text().strip(), "written", "content of the marker file")

    key = "HKLM\\Software\\SetupHarness"
    check_equal(winetest.run("reg", "add", key, "/v", "View", "/d", "sixty-four", "/f",
                             "/reg:64").exit_code, 0, "reg add")
    check_equal(winetest.reg_query(key, "View", view=64), "sixty-four", "64-bit view value")
    check_equal(winetest.reg_query(key, "View", view=32), None, "32-bit view value")
    winetest.run("reg", "delete", key, "/f", "/reg:64")

    started = winetest.start("cmd", "/c", "pause")
    started.kill()
    long_run = winetest.run("cmd", "/c", "ping -n 20 127.0.0.1 >NUL", timeout=2)
    check(long_run.timed_out and long_run.exit_code == 124, "a program over its time-out is killed")


winetest.main(test)
