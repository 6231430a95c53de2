"""Regression suite of bad inputs: odd resources, command lines, workload files and log cases,
run under Wine one family per test (usage: test_bad_inputs.py FAMILY). Every case must end
within its time limit, with its exit code read in full on the Windows side, and leave a log
that starts with the start line, ends with the stop line and is well-formed UTF-16LE."""
import re
import sys
import time

import winetest
from winetest import check, check_equal

START = "=== SetupLauncher started: "
STOP = re.compile(r"=== SetupLauncher stopped: \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\r\n\Z")
INVALID_COMMAND_LINE = 1639
PACKAGE_INFO_MISSING = 13
# Every case ends within a second or two once Wine is warm; the limit is what catches a hang
# or runaway work, with room for the first start of a program in a fresh prefix.
DEFAULT_LIMIT = 20.0


def launch(program, *args, limit=DEFAULT_LIMIT, log_name=None, log_switch="/L*v"):
    """Runs the program through exit-code.exe, which ends it after `limit` seconds and prints
    its full exit code; returns (exit code or "timeout", seconds taken, log path or None)."""
    log = None
    if log_name is not None:
        log = winetest.work_dir() / log_name
        args = (log_switch, winetest.windows_path(log)) + args
    started = time.monotonic()
    result = winetest.run(winetest.helper_program("exit-code.exe"), str(int(limit * 1000)),
                          winetest.windows_path(program), *args, timeout=limit + 30)
    elapsed = time.monotonic() - started
    match = re.search(r"exit=(\d+)", result.stdout)
    code = int(match.group(1)) if match else ("timeout" if "timeout" in result.stdout else result.stdout)
    return code, elapsed, log


def check_log(log, what, prefix=b""):
    """The log (after `prefix`, bytes that were there before the run) is well-formed UTF-16LE
    from the start line to the stop line, and holds one of each."""
    check(log is not None and log.exists(), f"{what}: a log was written")
    data = log.read_bytes()
    check(data.startswith(prefix), f"{what}: the earlier content of the log stays")
    data = data[len(prefix):]
    check(len(data) % 2 == 0, f"{what}: the log has an even number of bytes")
    try:
        text = data.decode("utf-16-le")  # strict: a lone surrogate fails here
    except UnicodeDecodeError as error:
        raise AssertionError(f"{what}: the log is not well-formed UTF-16LE: {error}")
    check(text.startswith(START), f"{what}: the log starts with the start line: {text[:80]!r}")
    check(STOP.search(text) is not None, f"{what}: the log ends with the stop line: {text[-120:]!r}")
    lines = text.split("\r\n")
    check_equal((sum(line.startswith("=== SetupLauncher started: ") for line in lines),
                 sum(line.startswith("=== SetupLauncher stopped: ") for line in lines)), (1, 1),
                f"{what}: one start and one stop line")
    return text


def case(program, args, expected, what, limit=DEFAULT_LIMIT, log=True):
    """One case: the exit code within the limit and, with a log, its well-formedness."""
    # Numbered: Wine finds files ignoring case, so two names differing in case are one file.
    case.count = getattr(case, "count", 0) + 1
    name = f"{case.count:03d}-" + re.sub(r"[^A-Za-z0-9]+", "-", what).strip("-")[:60] + ".log"
    code, elapsed, path = launch(program, *args, limit=limit, log_name=name if log else None)
    check_equal(code, expected, f"{what}: exit code")
    check(elapsed < limit + 10, f"{what}: took {elapsed:.1f} s")
    return check_log(path, what) if log else None


def remove(*setups):
    """Takes away what the family's runs installed, so that the next test finds the prefix as before."""
    for setup in setups:
        winetest.run(setup, "/x", "/qn", timeout=120)


# ---- resources ---------------------------------------------------------------------------------

def resources():
    sample = "quibrix-2024-x64.json"
    huge = winetest.pack(sample, resources={"PACKAGE_COUNT": "2147483647"}, name="HugeCount.exe")
    code, elapsed, _ = launch(huge, "/v")
    check_equal(code, 1, "validation of PACKAGE_COUNT 2147483647 fails as incomplete")
    case(huge, ["/qn"], PACKAGE_INFO_MISSING, "install with PACKAGE_COUNT 2147483647")
    for os_text in ("4294967296", "4294967297.-1", "6.-1"):
        setup = winetest.pack(sample, os=os_text, name="AbsurdOs.exe")
        case(setup, ["/qn"], 4, f"OS resource {os_text}")
    for code_text in ("...", " ", ".. "):
        setup = winetest.pack(sample, resources={"PACKAGE_CODE_0": code_text}, name="OddCode.exe")
        # No usable package folder: nothing is unpacked, and the installation fails.
        text = case(setup, ["/qn"], winetest.INSTALL_FAILED, f"package code {code_text!r}")
        check("Deleting MSI folder" not in text, f"package code {code_text!r} deletes nothing")
    check(winetest.unix_path("C:\\ProgramData\\Tarquel").is_dir(), "the base folder survives odd package codes")
    # A product name with a lone surrogate: the log replaces it.
    name_file = winetest.work_dir() / "lone-surrogate-name.bin"
    name_file.write_bytes("Tarquel Quibrix ".encode("utf-16-le") + b"\x00\xd8" + " 2024".encode("utf-16-le") + b"\0\0")
    setup = winetest.pack(sample, resources={"PRODUCT_NAME_0": {"file": str(name_file)}}, name="LoneSurrogate.exe")
    text = case(setup, ["/qn"], winetest.SUCCEEDED, "product name with a lone surrogate")
    check("Initialized state for package Tarquel Quibrix \ufffd 2024.\r\n" in text, f"replacement character: {text!r}")
    damaged = winetest.pack(sample, resources={"PRODUCT_NAME_0": {"text": "Tarquel", "truncate": 3}},
                            name="OddTextResource.exe")
    case(damaged, ["/qn"], winetest.SUCCEEDED, "a text resource of odd length")
    remove(damaged)


# ---- command lines -----------------------------------------------------------------------------

def command_lines():
    setup = winetest.pack("quibrix-2024-x64.json")
    server = winetest.pack("brammel-server-2024.json", name="Server.exe")
    for args in (["/?"], ["/h"], ["/H"], ["-?"]):
        case(setup, args, 0, f"help asked for with {args[0]}")
    for args in (["/qn", "/bogus"], ["/qx"], ["/qb+x"], ["/? ", "/bogus"], ["/a", "/x", "/u", "/f"], ["stray"]):
        case(setup, args, INVALID_COMMAND_LINE, "invalid " + " ".join(args))
    for args in (["/qn", "BR_WebServer_Port=80a"], ["BR_SSLWebServer_Port=1 2"], ["BR_WebServer_Port=-"]):
        case(server, args, INVALID_COMMAND_LINE, "malformed " + " ".join(args))
    case(server, ["/qn", "BR_WebServer_Port=8080"], winetest.SUCCEEDED, "a numeric port")
    forged = "x\r\n=== SetupLauncher stopped: 2020-01-01 00:00:00\r\nTSL (c): forged"
    text = case(setup, ["/qn", forged], winetest.SUCCEEDED, "an argument forging log lines")
    check("TSL (c): CommandLine: " in text and "\\r\\n=== SetupLauncher stopped: 2020" in text,
          f"the control characters are escaped: {text!r}")
    check("\nTSL (c): forged" not in text, "no forged line")
    case(setup, ["/qn", "A=" + "x" * 30000], winetest.SUCCEEDED, "a 30000-character property")
    case(setup, ["/qn", "lang=" + "\u00e4" * 500, "subPackages=" + "," * 500], winetest.SUCCEEDED,
         "odd language and sub-package values")
    remove(setup, server)


# ---- workloads ---------------------------------------------------------------------------------

PACKAGE = ('{"productName": "Tarquel Quibrix 2024", "productCode": "{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D01}", '
           '"packageCode": "{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D02}", "productId": "QB::P", '
           '"productPlatform": "x64", "productVersion": "2024.00.00.00", "packageData": "%s"}')


def workloads():
    launcher = winetest.launcher()  # carries no packages of its own: the workload is read
    work = winetest.work_dir()
    for device in ("COM1", "NUL", "CON", "C:\\windows\\NUL", "NUL.txt", "\\\\.\\NUL", "aux.json"):
        text = case(launcher, ["/qn", "workload=" + device], PACKAGE_INFO_MISSING, f"workload={device}")
        check(f"Workload file '{device}' does not exist.\r\n" in text, f"workload={device} is missing: {text!r}")
    (work / "package.cab").write_bytes(b"MSCF")
    data = winetest.windows_path(work / "package.cab")

    def workload(name, content):
        path = work / name
        path.write_bytes(content if isinstance(content, bytes) else content.encode("latin-1"))
        return "workload=" + winetest.windows_path(path)

    for name, content in (
            ("device-data.json", '{"packages": [%s]}' % (PACKAGE % "NUL")),
            ("com-data.json", '{"packages": [%s]}' % (PACKAGE % "C:\\\\x\\\\COM1")),
            ("empty.json", ""),
            ("utf16.json", '\ufeff{"packages": []}'.encode("utf-16-le")),
            ("nested.json", '{"packages": ' + "[" * 5000 + "]" * 5000 + "}"),
            ("unterminated.json", '{"packages": [{"productName": "x'),
            ("over-bound.json", '{"packages": [%s]}' % ",".join([PACKAGE % data.replace("\\", "\\\\")] * 1001))):
        case(launcher, ["/qn", workload(name, content)], PACKAGE_INFO_MISSING, f"workload {name}")
    many = ",\n".join([PACKAGE % data.replace("\\", "\\\\")] * 20000)
    text = case(launcher, ["/qn", workload("many.json", '{"packages": [\n%s\n]}' % many)], PACKAGE_INFO_MISSING,
                "workload of 20000 packages")
    check("holds 20000 packages, more than the 1000 a setup may carry.\r\n" in text, f"bound in the log: {text[-400:]!r}")
    check(len(text) < 4000, "no package of a refused workload is logged")
    (work / "folder.json").mkdir(exist_ok=True)
    case(launcher, ["/qn", "workload=" + winetest.windows_path(work / "folder.json")], PACKAGE_INFO_MISSING,
         "a folder as workload")


# ---- log cases ---------------------------------------------------------------------------------

def logs():
    setup = winetest.pack("quibrix-2024-x64.json")
    work = winetest.work_dir()
    for old in (b"odd", b"", "earlier run\r\n".encode("utf-16-le")):
        log = work / "append.log"
        log.write_bytes(old)
        code, _, _ = launch(setup, "/qn", "/L*v+", winetest.windows_path(log))
        check_equal(code, winetest.SUCCEEDED, f"append to {len(old)} bytes: exit code")
        check_log(log, f"append to {len(old)} bytes", prefix=old + (b"\0" if len(old) % 2 else b""))
    for switch in ("/L", "/Le", "/L*v!", "/Lx"):
        code, _, log = launch(setup, "/qn", log_name="switch.log", log_switch=switch)
        check_equal(code, winetest.SUCCEEDED, f"{switch}: exit code")
        data = log.read_bytes()
        check(len(data) % 2 == 0, f"{switch}: even length")
        data.decode("utf-16-le")
    code, _, _ = launch(setup, "/qn", "/L*v", "C:\\no\\such\\folder\\setup.log")
    check_equal(code, winetest.SUCCEEDED, "a log in a missing folder: the run goes on")
    code, _, _ = launch(setup, "/qn", "/L*v", winetest.windows_path(work))
    check_equal(code, winetest.SUCCEEDED, "a folder as log: the run goes on")
    code, _, _ = launch(setup, "/qn", "/L*v", "NUL")
    check_equal(code, winetest.SUCCEEDED, "NUL as log")
    # A serial port as log: opened, its first write would wait for the port for ever.
    code, elapsed, _ = launch(setup, "/qn", "/L*v", "COM1")
    check_equal(code, winetest.SUCCEEDED, "COM1 as log")
    check(elapsed <= 2.0, f"COM1 as log ends at once: {elapsed:.2f} s")
    remove(setup)


FAMILIES = {"resources": resources, "command-lines": command_lines, "workloads": workloads, "logs": logs}

if __name__ == "__main__":
    winetest.main(FAMILIES[sys.argv[1]])
