"""The foundation utilities against the real platform: files and folders (long paths, read-only
targets, the access-control grant), registry views, Wait with its time-out, and the property
encryption of the Windows build compared byte for byte with the host implementation."""
import shutil
import subprocess
import sys

import winetest
from winetest import check, check_equal

ROOT = "C:\\probe"


def probe(*args):
    result = winetest.run(winetest.helper_program("foundation-probe.exe"), *args, timeout=120)
    check_equal(result.exit_code, 0, f"exit code of foundation-probe {args}")
    values = {}
    for line in result.stdout.splitlines():
        name, _, value = line.partition("=")
        values[name] = value
    return values


def expect(values, expected, what):
    for name, value in expected.items():
        check_equal(values.get(name), value, f"{what}: {name} (all values: {values})")


def test_encryption_matches_the_host():
    host = subprocess.run([sys.argv[1]], capture_output=True, check=True).stdout
    windows = winetest.run(winetest.helper_program("encryption-probe.exe"), timeout=60)
    check_equal(windows.exit_code, 0, "exit code of encryption-probe")
    check(len(host.splitlines()) == 8, f"host lines: {host!r}")
    check_equal(windows.stdout_bytes.replace(b"\r\n", b"\n"), host, "encrypted values, Windows against host")


def test_files():
    root = winetest.unix_path(ROOT)
    shutil.rmtree(root, ignore_errors=True)
    root.mkdir(parents=True)
    shutil.copy(winetest.launcher(), root / "versioned.exe")
    values = probe("files", ROOT, ROOT + "\\versioned.exe")
    expect(values, {
        "create_tree": "1", "tree_exists": "1",
        "file_size": "10", "missing_size": "0",
        "copy_fail_if_exists": "0", "copy_over_read_only": "1", "read_only_content": "probe data",
        "long_target_length": "300", "copy_long": "1",
        "count_tree": "2", "delete_tree": "1", "tree_gone": "1",
        "find_txt": "readonly.txt,source.txt",
        "no_version": "",
        "everyone_before": "0", "grant": "1", "users_after": "0",
    }, "files")
    # After the grant, EVERYONE holds every file right, inherited. Windows keeps GENERIC_ALL in
    # an inherit-only entry, so the full-access check answers true there; Wine stores the mapped
    # rights only (0x1301ff), so the check answers false and the launcher grants once more on a
    # later run, which changes nothing. Only what both agree on is checked here.
    everyone = [entry.split("/") for entry in values.get("acl_entries", "").split(";") if entry.endswith("/Everyone")]
    check(any(int(mask, 16) & 0x1301FF == 0x1301FF and grants == "1" for mask, grants, _, _ in everyone),
          f"an entry grants EVERYONE full file access: {values.get('acl_entries')!r}")
    check(values.get("version", "").count(".") == 3 and values["version"] != "0.0.0.0",
          f"version text of the launcher: {values.get('version')!r}")
    long_files = list((root / "long" / ("a" * 100) / ("b" * 100)).iterdir())
    check(len(long_files) == 1 and len(long_files[0].name) == 300 - len(ROOT + "\\long\\") - 202,
          f"the long copy: {long_files}")
    check_equal(long_files[0].read_bytes(), b"probe data", "content of the long copy")
    check_equal(values.get("count_root"), "7", "the root and the folders one, two, three, long, a..., b...")


def test_registry_views():
    values = probe("registry")
    expect(values, {
        "open32": "1", "open64": "1",
        "read32": "thirty-two", "read64": "sixty-four",
        "dword32": "32", "dword64": "0",
        "no_nul": "complete",
        "subkeys": "Software\\TarquelProbe\\Tree\\A,Software\\TarquelProbe\\Tree\\B",
        "delete_tree": "1", "tree_gone": "1", "bad_root": "0",
    }, "registry")
    key = "HKLM\\Software\\TarquelProbe"
    check_equal(winetest.reg_query(key, "View", view=32), "thirty-two", "reg query /reg:32")
    check_equal(winetest.reg_query(key, "View", view=64), "sixty-four", "reg query /reg:64")
    for view in ("32", "64"):
        winetest.run("reg", "delete", key, "/f", f"/reg:{view}")


def test_wait():
    values = probe("wait")
    expect(values, {
        "timeout_exit": "1", "timeout_fast": "1",
        "exit_code": "7",
        "environment_exit": "5", "environment_restored": "9", "environment_kept": "kept",
        "no_wait": "0",
        "start_failure": "2",
    }, "wait")
    check(values.get("working_folder") in ("3", "4"), f"working folder run: {values.get('working_folder')!r}")


def test():
    test_encryption_matches_the_host()
    test_files()
    test_registry_views()
    test_wait()


winetest.main(test)
