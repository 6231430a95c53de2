"""The service-control adapter against Wine's service control manager: what it reads of
installed services equals what the manager loaded from the registry and what the system's own
service tool reports as their state; a missing service reads as absent.

The services are Wine's own. Services created during the test are not used: right after the
fixture's prefix is made, two service managers may serve the prefix, and a service created
through one is unknown to the other."""
import re

import winetest
from winetest import check, check_equal

SERVICES_KEY = "HKLM\\System\\CurrentControlSet\\Services\\"


def read_and_query(name):
    """The adapter's reading and "sc query" of one service, from one process."""
    script = winetest.work_dir() / f"{name}.cmd"
    reader = winetest.windows_path(winetest.helper_program("read-service.exe"))
    script.write_text(f'@echo off\r\n"{reader}" {name}\r\necho ==\r\nsc query {name}\r\nexit /b 0\r\n', encoding="ascii")
    result = winetest.run("cmd", "/c", winetest.windows_path(script), timeout=120)
    check_equal(result.exit_code, 0, f"exit code of {script.name}")
    reading, _, query = result.stdout.replace("\r\n", "\n").partition("==\n")
    return dict(line.split("=", 1) for line in reading.splitlines() if "=" in line), query


def check_service(name, lookup_name, compare_state):
    service, query = read_and_query(lookup_name)
    check_equal(service.get("exists"), "1", f"{name} exists")
    registered = lambda value: winetest.reg_query(SERVICES_KEY + name, value)
    check_equal(service.get("start"), str(int(registered("Start"), 16)), f"start type of {name}")
    check_equal(service.get("display"), registered("DisplayName"), f"display name of {name}")
    check_equal(service.get("path"), registered("ImagePath"), f"executable path of {name}")
    check_equal(service.get("account"), registered("ObjectName"), f"logon account of {name}")
    check_equal(service.get("description"), registered("Description"), f"description of {name}")
    if not compare_state:
        return service
    state = re.search(r"STATE\s*:\s*(\d+)", query)
    check(state is not None, f"sc query {name} reports a state: {query!r}")
    check_equal(service.get("state"), state.group(1), f"current state of {name}")
    return service


def test():
    # Names are compared ignoring case.
    check_equal(check_service("MSIServer", "msiserver", True).get("state"), "1", "the installer service is stopped")
    # The two managers may disagree on whether a started service runs yet; only its
    # configuration is compared.
    check_equal(check_service("PlugPlay", "PLUGPLAY", False).get("start"), "2", "plug and play starts automatically")
    service, _ = read_and_query("NoSuchSetupService")
    check_equal(service, {"exists": "0"}, "a missing service")


winetest.main(test)
