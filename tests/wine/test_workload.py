"""The launcher template under Wine reads the packages of a workload file when it carries none
of its own: each broken workload file ends the run with exit code 13 and its own log line."""
import time

import winetest
from winetest import check, check_equal

PACKAGE = ('{"productName": "Tarquel Quibrix 2024", "productCode": "{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D01}", '
           '"packageCode": "{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D02}", "productId": "QB::P", '
           '"productPlatform": "x64", "productVersion": "2024.00.00.00", "packageData": "%s"}')

SUB_PACKAGE = ('{"productName": "%s", "productCode": "{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D%s1}", '
               '"packageCode": "{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D%s2}", "productId": "QB::P", '
               '"productPlatform": "x64", "productVersion": "2024.00.00.00", "packageData": "%s"}')


def run_with_workload(name, content, *properties):
    """Runs the launcher silently with a workload file (none when content is None) and further
    command-line properties; returns the exit code and the setup log."""
    work = winetest.work_dir()
    workload = work / name
    if content is not None:
        workload.write_bytes(content.encode("latin-1"))
    elif workload.exists():
        workload.unlink()
    log = work / (name + ".log")
    result = winetest.run(winetest.launcher(), "/qn", "/L*v", winetest.windows_path(log),
                          "workload=" + winetest.windows_path(workload), *properties, cwd=work, timeout=90)
    text = log.read_bytes().decode("utf-16-le") if log.exists() else ""
    return result.exit_code, text, winetest.windows_path(workload)


def test_broken_workloads():
    cases = [
        ("missing.json", None, "Workload file '%s' does not exist.\r\n"),
        ("not-json.json", "packages: none\n", "Workload is not a proper JSON package array object.\r\n"),
        ("no-packages.json", '{"package": []}', "Workload '%s' is not a proper JSON package array object.\r\n"),
        ("empty.json", '{\r\n  "packages": [ ]\r\n}\r\n', "Workload '%s' doesn't contain any pakages.\r\n"),
        ("member-missing.json", '{"packages": [{"productName": "Quibrix"}]}',
         "Workload is not a proper JSON package array object.\r\n"),
    ]
    for name, content, line in cases:
        code, log, path = run_with_workload(name, content)
        check_equal(code, 13, f"exit code with {name}")
        expected = line % path if "%s" in line else line
        check("TSL (c): Reading package information.\r\n" + expected in log, f"log line of {name}: {log!r}")
        check("TSL (c): ERROR: " in log, f"ERROR line of {name}")
        check("All information collected" not in log, f"no start of processing with {name}")


def test_workload_package_without_its_file():
    work = winetest.work_dir()
    code, log, _ = run_with_workload("no-file.json", '{"packages": [%s]}' % (PACKAGE % "C:\\missing.cab"))
    check_equal(code, 13, "exit code with a missing package file")
    check("TSL (c): Initialized state for package Tarquel Quibrix 2024.\r\n" in log, f"package line: {log!r}")


def test_complete_workload():
    work = winetest.work_dir()
    (work / "quibrix.cab").write_bytes(b"MSCF")
    data = winetest.windows_path(work / "quibrix.cab")
    code, log, _ = run_with_workload("complete.json", '{"packages": [\n%s\n]}\n' % (PACKAGE % data))
    check_equal(code, winetest.CABINET_DAMAGED_LOW_BYTE, f"exit code with a complete workload: {log!r}")
    check("TSL (c): Reading package information.\r\n"
          "TSL (c): Initialized state for package Tarquel Quibrix 2024.\r\n"
          "TSL (c): All information collected. Start processing.\r\n" in log, f"log: {log!r}")
    root = winetest.unix_path("C:\\ProgramData\\Tarquel")
    check(root.is_dir(), "the package cache root exists")

    # A version beyond any real product names no installation to search down from.
    started = time.monotonic()
    huge = '{"packages": [%s]}' % (PACKAGE % data).replace('"2024.00.00.00"', '"2147483647"')
    code, log, _ = run_with_workload("huge-version.json", huge)
    elapsed = time.monotonic() - started
    check_equal(code, winetest.CABINET_DAMAGED_LOW_BYTE, f"exit code with a huge product version: {log!r}")
    check("Activating dialog Finish" in log, f"the silent run reaches the finish page: {log!r}")
    check(elapsed <= 5.0, f"the huge product version costs no search: {elapsed:.2f} s")


def test_sub_package_selection():
    """The sub-packages named on the command line are handled, the others skipped; the main
    package is never touched."""
    work = winetest.work_dir()
    (work / "package.cab").write_bytes(b"MSCF")
    data = winetest.windows_path(work / "package.cab")
    packages = [PACKAGE % data,
                SUB_PACKAGE % ("Tarquel Taxonomy XBRL 2024", "3", "3", data),
                SUB_PACKAGE % ("Tarquel Quibrix Add-in for Excel 2024", "4", "4", data)]
    workload = '{"packages": [%s]}' % ",".join(packages)
    code, log, _ = run_with_workload("selection.json", workload, "subPackages=Excel,2024")
    check_equal(code, winetest.CABINET_DAMAGED_LOW_BYTE, f"exit code with a sub-package selection: {log!r}")
    check("TSL (c): Avoid skipping of sub-package Tarquel Taxonomy XBRL 2024 due to pattern '2024'.\r\n"
          "TSL (c): set default handling of package Tarquel Taxonomy XBRL 2024 due to command line argument.\r\n"
          "TSL (c): Avoid skipping of sub-package Tarquel Quibrix Add-in for Excel 2024 due to pattern 'Excel'.\r\n"
          "TSL (c): set default handling of package Tarquel Quibrix Add-in for Excel 2024 due to command line argument.\r\n"
          "TSL (c): All information collected. Start processing.\r\n" in log, f"selection lines: {log!r}")
    code, log, _ = run_with_workload("selection.json", workload, "subPackages=none")
    check_equal(code, winetest.CABINET_DAMAGED_LOW_BYTE, "exit code when no sub-package is selected")
    check("TSL (c): skipped handling of package Tarquel Taxonomy XBRL 2024 due to command line argument.\r\n"
          "TSL (c): skipped handling of package Tarquel Quibrix Add-in for Excel 2024 due to command line argument.\r\n"
          in log, f"lines of subPackages=none: {log!r}")
    check("Quibrix 2024 due to command line" not in log, "the main package is not touched")


def test():
    test_broken_workloads()
    test_workload_package_without_its_file()
    test_complete_workload()
    test_sub_package_selection()


winetest.main(test)
