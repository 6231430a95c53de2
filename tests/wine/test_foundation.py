"""The Wait utility against the real platform: its time-out, exit codes, the environment
overrides a child inherits and gets restored afterwards, the working folder and a failed start.
(Files, registry and encryption are checked by the port contract suites.)"""
import winetest
from winetest import check, check_equal


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


winetest.main(test_wait)
