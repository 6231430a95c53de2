"""The launcher template under Wine: help and validation on the console of the starting process,
the setup log, and the single-instance mutex."""
import re

import winetest
from winetest import check, check_equal

MUTEX = "Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}"


def check_help(arguments):
    result = winetest.run(winetest.launcher(), *arguments, timeout=60)
    # Wine cuts the exit code to 8 bits: 1639 for an invalid switch arrives as 103.
    check_equal(result.exit_code, 0 if arguments == ["/?"] else 1639 % 256, f"exit code of {arguments}")
    check(result.stdout.startswith("\r\nsetuplauncher.exe - command line syntax\r\n\r\nsetuplauncher.exe /h\n"),
          f"help of {arguments} begins: {result.stdout[:120]!r}")
    check("\r\nAdditional options available with above commands:\r\n" in result.stdout, "options heading")
    for line in result.stdout.replace("\r\n", "\n").split("\n"):
        check(len(line) <= 79, f"help line longer than 79 columns: {line!r}")


def test_help_and_invalid_switch():
    check_help(["/?"])
    check_help(["/zz"])


def test_validation_of_the_bare_template():
    result = winetest.run(winetest.launcher(), "/v", timeout=60)
    check_equal(result.exit_code, 1, "exit code of /v")
    check_equal(result.stdout,
                "\r\nValidation if all necessary resources have been compiled into setup.\r\n"
                "    Test for resource OS failed!    Test for resource PACKAGE_COUNT failed!"
                "Some resources are missing.\r\n", "validation report")


def test_log_file():
    work = winetest.work_dir()
    result = winetest.run(winetest.launcher(), "/L*v", "log.txt", "/v", cwd=work, timeout=60)
    check_equal(result.exit_code, 1, "exit code of /L*v log.txt /v")
    raw = (work / "log.txt").read_bytes()
    check(not raw.startswith(b"\xff\xfe"), "the log has no byte-order mark")
    text = raw.decode("utf-16-le")
    check(re.match(r"=== SetupLauncher started: \d{4}-\d\d-\d\d \d\d:\d\d:\d\d Build type: SHIP ANSI "
                   r"\d+\.\d+\.\d+\.\d+\r\n", text) is not None, f"start line: {text[:120]!r}")
    check("TSL (c): CommandLine: /L*v log.txt /v\r\n" in text, f"command line entry in {text!r}")
    check("Validation if all necessary resources have been compiled into setup.Validation failed!" in text,
          f"validation entries in {text!r}")
    check(re.search(r"=== SetupLauncher stopped: \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\r\n$", text) is not None,
          f"stop line at the end of {text!r}")


def test_second_launcher_exits_6():
    work = winetest.work_dir()
    holder = winetest.start(winetest.helper_program("hold-mutex.exe"), MUTEX, "60")
    try:
        winetest.wait_for_output(holder, "held", timeout=30)
        result = winetest.run(winetest.launcher(), "/qn", "/L", "second.log", cwd=work, timeout=60)
    finally:
        holder.kill()
    check_equal(result.exit_code, 6, "exit code of the second launcher")
    text = (work / "second.log").read_bytes().decode("utf-16-le")
    check("TSL (c): Setup already in progress.\r\n" in text, f"log of the second launcher: {text!r}")
    check("TSL (c): ERROR: Another installer was already running.\r\n" in text, "ERROR line")

    alone = winetest.run(winetest.launcher(), "/qn", cwd=work, timeout=60)
    check_equal(alone.exit_code, winetest.SUCCEEDED, "exit code once the mutex is free")


def test():
    test_help_and_invalid_switch()
    test_validation_of_the_bare_template()
    test_log_file()
    test_second_launcher_exits_6()


winetest.main(test)
