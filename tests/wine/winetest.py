"""End-to-end harness: runs Windows programs in a throwaway Wine prefix under Xvfb.

One fixture (`prefix-setup` / `prefix-cleanup`) creates the prefix, one Xvfb and one wineserver for
a whole ctest run; every test then runs its programs through `run()` (or the command-line runner
wine_run.py), which always sets the same environment and a time-out.

Environment given to every test by tests/wine/CMakeLists.txt:
  WINEPREFIX          the prefix of this test run (a WoW64 prefix: 64-bit Windows)
  SETUP_WINE_BUILD    the build under test: win32 (the shipped template) or win64
  SETUP_WINE_LOADER   Wine's loader for that build (/usr/lib/wine/wine or wine64)
  SETUP_WINE_STATE    folder with the fixture's state (display number, logs)
  SETUP_WINE_RUN      the command-line runner (wine_run.py)
  SETUP_BUILD_DIR     the build tree under test: its setuplauncher.exe, wizard-driver.exe and
                      test programs
  SETUPPACK           the host packaging tool
  SETUP_SAMPLES_DIR   the built sample packages and setup descriptions
  SETUP_TEST_WORK     an empty work folder of this test
"""
from __future__ import annotations

import dataclasses
import json
import os
import pathlib
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# The 64-bit loader and server: wineboot makes a WoW64 prefix with them, and the one server of a
# prefix serves its 32-bit and 64-bit programs alike.
WINE64 = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64"
DEFAULT_TIMEOUT = 60.0
# Exit codes of install-mode runs that passed every check and read their packages: the setup
# did its job, the installation failed, or a package's cabinet could not be unpacked.
SUCCEEDED = 0
INSTALL_FAILED = 2
CABINET_DAMAGED = 1620
# A Linux parent sees only the low byte of a Windows program's exit code.
CABINET_DAMAGED_LOW_BYTE = CABINET_DAMAGED & 0xFF
# mscoree and mshtml off: a fresh prefix would otherwise ask to install Mono and Gecko.
DLL_OVERRIDES = "mscoree,mshtml="


class HarnessError(Exception):
    """A precondition of the harness is not met (missing tool, missing build, dead display)."""


def _env_path(name: str) -> pathlib.Path:
    value = os.environ.get(name)
    if not value:
        raise HarnessError(f"environment variable {name} is not set: run this test through ctest")
    return pathlib.Path(value)


def prefix() -> pathlib.Path:
    return _env_path("WINEPREFIX")


def state_dir() -> pathlib.Path:
    return _env_path("SETUP_WINE_STATE")


def require_file(variable: str, hint: str) -> pathlib.Path:
    """The file named by an environment variable; a clear failure when it was not built."""
    path = _env_path(variable)
    if not path.is_file():
        raise HarnessError(f"{path} does not exist: {hint}")
    return path


def build() -> str:
    """The build under test: "win32" (the shipped 32-bit template) or "win64"."""
    return os.environ.get("SETUP_WINE_BUILD", "win64")


def loader() -> str:
    """Wine's loader for the programs of the build under test."""
    return os.environ.get("SETUP_WINE_LOADER", WINE64)


def helper_program(name: str) -> pathlib.Path:
    """A program of the build under test: the launcher template, the wizard driver or a test
    program of tests/wine/programs."""
    path = _env_path("SETUP_BUILD_DIR") / name
    if not path.is_file():
        raise HarnessError(f"{path} does not exist: build the {build()} preset first "
                           f"(cmake --preset {build()} && cmake --build --preset {build()})")
    return path


def launcher() -> pathlib.Path:
    return helper_program("setuplauncher.exe")


def wizard_driver() -> pathlib.Path:
    return helper_program("wizard-driver.exe")


def setuppack() -> pathlib.Path:
    return require_file("SETUPPACK", "build the host preset (cmake --build build/host)")


def samples_dir() -> pathlib.Path:
    return _env_path("SETUP_SAMPLES_DIR")


def work_dir() -> pathlib.Path:
    """The test's own work folder, emptied on first use in each process."""
    path = _env_path("SETUP_TEST_WORK")
    if not getattr(work_dir, "_cleared", False):
        shutil.rmtree(path, ignore_errors=True)
        path.mkdir(parents=True)
        work_dir._cleared = True
    return path


def display() -> str:
    display_file = state_dir() / "display"
    if not display_file.is_file():
        raise HarnessError(f"{display_file} is missing: the prefix-setup fixture did not run")
    return ":" + display_file.read_text().strip()


def wine_environment(extra: dict[str, str] | None = None) -> dict[str, str]:
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": str(prefix()),
        "WINEARCH": os.environ.get("WINEARCH", "win64"),
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": DLL_OVERRIDES,
        "DISPLAY": display(),
    })
    env.pop("WAYLAND_DISPLAY", None)
    if extra:
        env.update(extra)
    return env


def decode_console(data: bytes) -> str:
    """Console output as text: UTF-16LE when it looks like it (NUL high bytes), else UTF-8/ANSI."""
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le", errors="replace")
    if len(data) >= 2 and data[1::2].count(0) * 2 >= len(data) // 2:
        return data.decode("utf-16-le", errors="replace")
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp1252", errors="replace")


@dataclasses.dataclass
class Result:
    exit_code: int
    stdout_bytes: bytes
    timed_out: bool

    @property
    def stdout(self) -> str:
        return decode_console(self.stdout_bytes)


def _kill_group(process: subprocess.Popen) -> None:
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()


class Running:
    """A Windows program started in the background (for example a launcher showing its wizard)."""

    def __init__(self, args: list[str], cwd: pathlib.Path | None, env: dict[str, str]):
        self._stdout = tempfile.TemporaryFile()
        # Output goes to a file, not a pipe: Wine's helper processes may inherit the handle and
        # would keep a pipe open after the program ends.
        self.process = subprocess.Popen([loader(), *args], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                        stdout=self._stdout, stderr=subprocess.DEVNULL,
                                        start_new_session=True)

    def wait(self, timeout: float = DEFAULT_TIMEOUT) -> Result:
        timed_out = False
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            timed_out = True
            _kill_group(self.process)
        self._stdout.seek(0)
        output = self._stdout.read()
        self._stdout.close()
        return Result(124 if timed_out else self.process.returncode, output, timed_out)

    def kill(self) -> None:
        _kill_group(self.process)

    def output_so_far(self) -> bytes:
        self._stdout.seek(0)
        data = self._stdout.read()
        self._stdout.seek(0, os.SEEK_END)
        return data


def wait_for_output(running: Running, text: str, timeout: float = DEFAULT_TIMEOUT) -> None:
    """Waits until a background program has printed `text`."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if text in decode_console(running.output_so_far()):
            return
        if running.process.poll() is not None:
            raise HarnessError(f"the program ended before printing {text!r}")
        time.sleep(0.1)
    raise HarnessError(f"no {text!r} within {timeout} s")


def start(program: str | os.PathLike, *args: str, cwd: pathlib.Path | None = None,
          env: dict[str, str] | None = None) -> Running:
    return Running([str(program), *args], cwd, wine_environment(env))


def run(program: str | os.PathLike, *args: str, timeout: float = DEFAULT_TIMEOUT,
        cwd: pathlib.Path | None = None, env: dict[str, str] | None = None) -> Result:
    """Runs a Windows program to its end; a program still running after `timeout` is killed
    and gives exit code 124 with timed_out set."""
    return start(program, *args, cwd=cwd, env=env).wait(timeout)


def windows_path(path: pathlib.Path) -> str:
    """A Unix path as the Windows path Wine maps it to (Z: is the root of the Unix tree)."""
    return "Z:" + str(path.resolve()).replace("/", "\\")


def unix_path(windows: str) -> pathlib.Path:
    """A path on drive C: of the prefix, e.g. C:\\ProgramData\\Tarquel."""
    drive, _, rest = windows.partition(":")
    if drive.upper() != "C":
        raise HarnessError(f"only drive C: lives in the prefix: {windows}")
    return prefix() / "drive_c" / rest.lstrip("\\").replace("\\", "/")


def reg_query(key: str, value: str | None = None, view: int = 64) -> str | None:
    """Data of a registry value (or the key's listing when value is None) in the 32- or 64-bit
    view; None when the key or value does not exist."""
    args = ["reg", "query", key]
    if value is not None:
        args += ["/v", value]
    args.append(f"/reg:{view}")
    result = run(*args, timeout=30)
    if result.exit_code != 0:
        return None
    text = result.stdout
    if value is None:
        return text
    for line in text.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0].lower() == value.lower() and parts[1].startswith("REG_"):
            return parts[2] if len(parts) == 3 else ""
    return None


def load_description(sample: str) -> dict:
    """A sample setup description (a file name in the samples folder) as it is stored."""
    return json.loads((samples_dir() / sample).read_text())


def pack(sample: str, resources: dict | None = None, name: str = "Setup.exe", template: pathlib.Path | None = None,
         **members) -> pathlib.Path:
    """Packs a sample setup description (a file name in the samples folder) with the launcher
    template of the build under test (or another `template`) into the work folder. `resources` adds test overrides (null removes a
    resource, a string replaces a text, an object changes content, language or length);
    other keyword arguments replace top-level members (for example os="10.0")."""
    description = load_description(sample)
    for package in description["packages"]:
        for member in ("msi", "cabinet", "file"):
            if member in package:
                package[member] = str(samples_dir() / package[member])
        for lcid, transform in package.get("transforms", {}).items():
            package["transforms"][lcid] = str(samples_dir() / transform)
    description.update(members)
    if resources:
        description["resources"] = {key: _absolute_override(value) for key, value in resources.items()}
    folder = work_dir()
    description_file = folder / (pathlib.Path(name).stem + ".json")
    description_file.write_text(json.dumps(description, indent=2))
    output = folder / name
    packed = subprocess.run([str(setuppack()), "--template", str(template or launcher()), "--setup", str(description_file),
                             "--out", str(output)], capture_output=True, text=True, timeout=300)
    if packed.returncode != 0:
        raise HarnessError(f"setuppack failed: {packed.stderr.strip()}")
    return output


def _absolute_override(value):
    if isinstance(value, dict) and "file" in value:
        value = dict(value, file=str(pathlib.Path(value["file"]).resolve()))
    return value


def _driver_filters(process, window_class, title, contains) -> list[str]:
    args = []
    for option, value in (("--process", process), ("--class", window_class), ("--title", title),
                          ("--contains", contains)):
        if value is not None:
            args += [option, value]
    return args


def wait_window(process: str | None = None, window_class: str | None = None, title: str | None = None,
                contains: str | None = None, timeout: float = 20) -> dict | None:
    """Waits for a visible top-level window (through wizard-driver.exe) and returns it as
    {"handle", "class", "title", "process", "controls": [{"id", "class", "text", "visible",
    "enabled"}]}; None when none appeared in time."""
    result = run(wizard_driver(), "wait", *_driver_filters(process, window_class, title, contains),
                 "--timeout", str(int(timeout * 1000)), timeout=timeout + 30)
    if result.exit_code != 0:
        return None
    return json.loads(result.stdout)


def list_windows(process: str | None = None, window_class: str | None = None) -> list[dict]:
    result = run(wizard_driver(), "list", *_driver_filters(process, window_class, None, None), timeout=30)
    if result.exit_code != 0:
        raise HarnessError(f"wizard-driver list failed: {result.stdout!r}")
    return json.loads(result.stdout)


def click(control_id: int, process: str | None = None, window_class: str | None = None,
          title: str | None = None, contains: str | None = None, timeout: float = 20) -> dict:
    """Presses the button with the control id in the first matching window; returns the window
    as it was before the click."""
    result = run(wizard_driver(), "click", "--id", str(control_id),
                 *_driver_filters(process, window_class, title, contains), "--timeout", str(int(timeout * 1000)),
                 timeout=timeout + 30)
    if result.exit_code != 0:
        raise HarnessError(f"no control {control_id} to click: {result.stdout!r}")
    return json.loads(result.stdout.splitlines()[0])


def start_press(control_id: int, process: str, disabled: int | None = None, timeout: float = 120) -> Running:
    """Starts pressing the button with the control id in the first visible window of `process`
    (whose control `disabled` is disabled, when given) as soon as there is one, without reading
    the window: quick on a page whose program is busy. wait() on the result gives exit code 0
    once pressed, 1 when no such window came within `timeout`."""
    filters = ["--disabled", str(disabled)] if disabled is not None else []
    return start(wizard_driver(), "press", "--id", str(control_id), "--process", process, *filters,
                 "--timeout", str(int(timeout * 1000)))


def select(control_id: int, item: str, process: str | None = None, title: str | None = None,
           timeout: float = 20) -> None:
    """Chooses the item with the text `item` in a combo box of the first matching window, with
    the notification a choice by mouse sends."""
    result = run(wizard_driver(), "select", "--id", str(control_id), "--item", item,
                 *_driver_filters(process, None, title, None), "--timeout", str(int(timeout * 1000)),
                 timeout=timeout + 30)
    if result.exit_code != 0:
        raise HarnessError(f"cannot choose {item!r} in control {control_id}: {result.stdout!r}")


def _driver_by_id(command: str, control_id: int, *extra: str, process=None, window_class=None, title=None,
                  contains=None, timeout: float = 20) -> str:
    result = run(wizard_driver(), command, "--id", str(control_id), *extra,
                 *_driver_filters(process, window_class, title, contains), "--timeout", str(int(timeout * 1000)),
                 timeout=timeout + 30)
    if result.exit_code != 0:
        raise HarnessError(f"wizard-driver {command} found no control {control_id}: {result.stdout!r}")
    return result.stdout.strip().splitlines()[-1] if command != "settext" else ""


def set_text(control_id: int, text: str, **filters) -> None:
    """Sets the text of a control (an edit field) in the first matching window."""
    _driver_by_id("settext", control_id, "--text", text, **filters)


def tab_labels(control_id: int, **filters) -> list[str]:
    """The labels of a tab control in the first matching window."""
    return json.loads(_driver_by_id("tabs", control_id, **filters))


def bold_text(control_id: int, **filters) -> str:
    """The characters of a rich-edit control that are shown in bold."""
    return json.loads(_driver_by_id("bold", control_id, **filters))


def choose_tab(control_id: int, label: str, **filters) -> None:
    """Clicks the tab labelled `label` of a tab control in the first matching window."""
    _driver_by_id("choose", control_id, "--item", label, **filters)


def screen_colours(control_id: int, **filters) -> int:
    """How many colours the screen shows inside a control: 1 when it was never painted."""
    return int(_driver_by_id("colours", control_id, **filters))


def type_key(key: str, **filters) -> None:
    """Types a key (tab, shift+tab, space, enter, alt+LETTER) into the first matching window as
    keyboard input."""
    result = run(wizard_driver(), "key", "--text", key, *_driver_filters(
        filters.get("process"), filters.get("window_class"), filters.get("title"), None), timeout=30)
    if result.exit_code != 0:
        raise HarnessError(f"wizard-driver could not type {key!r}: {result.stdout!r}")


MESSAGE_BOX_CLASS = "#32770"
MESSAGE_BOX_TEXT_ID = 0xFFFF


def control_text(window: dict, control_id: int) -> str | None:
    for control in window["controls"]:
        if control["id"] == control_id:
            return control["text"]
    return None


def dismiss_message_box(process: str, button: int = 1, timeout: float = 20) -> str:
    """Waits for a message box of the process, presses a button (OK by default) and returns the
    box's message text."""
    box = click(button, process=process, window_class=MESSAGE_BOX_CLASS, timeout=timeout)
    text = control_text(box, MESSAGE_BOX_TEXT_ID)
    if text is None:
        raise HarnessError(f"the dialog of {process} is not a message box: {box}")
    return text


def read_log(path: pathlib.Path) -> str:
    """The launcher's setup log: UTF-16LE without byte-order mark."""
    return path.read_bytes().decode("utf-16-le", errors="replace")


def check(condition: bool, message: str) -> None:
    if not condition:
        raise AssertionError(message)


def check_equal(actual, expected, what: str) -> None:
    if actual != expected:
        raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def main(test) -> None:
    """Runs a test function; prints the failure and exits non-zero on any failed check."""
    try:
        test()
    except (AssertionError, HarnessError) as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        sys.exit(1)
    print("passed")


# ---- fixture: prefix, display and wineserver for one test run -------------------------------

def _start_xvfb(state: pathlib.Path) -> None:
    if shutil.which("Xvfb") is None:
        raise HarnessError("Xvfb is not installed (apt-get install xvfb)")
    read_end, write_end = os.pipe()
    log = open(state / "xvfb.log", "wb")
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                            stdout=log, stderr=log, start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 20
    with os.fdopen(read_end, "rb", buffering=0) as pipe:
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = pipe.read(16)
            if not chunk:
                break
            number += chunk
    if not number.strip().isdigit():
        xvfb.kill()
        raise HarnessError(f"Xvfb did not report a display (see {state / 'xvfb.log'})")
    (state / "xvfb.pid").write_text(str(xvfb.pid))
    (state / "display").write_text(number.decode().strip())


def _stop_xvfb(state: pathlib.Path) -> None:
    pid_file = state / "xvfb.pid"
    if not pid_file.is_file():
        return
    try:
        os.kill(int(pid_file.read_text()), signal.SIGTERM)
    except (ProcessLookupError, ValueError):
        pass
    pid_file.unlink()
    (state / "display").unlink(missing_ok=True)


def setup_fixture() -> None:
    for tool in (WINE64, WINESERVER, loader()):
        if not os.access(tool, os.X_OK):
            raise HarnessError(f"{tool} is missing (scripts/install-deps installs wine64 and wine32:i386)")
    state = state_dir()
    cleanup_fixture()
    shutil.rmtree(prefix(), ignore_errors=True)
    prefix().mkdir(parents=True)
    state.mkdir(parents=True, exist_ok=True)
    _start_xvfb(state)
    env = wine_environment()
    with open(state / "wineserver.log", "wb") as log:
        # -p30: the server outlives its last client by 30 s, so consecutive tests share it.
        subprocess.run([WINESERVER, "-p30"], env=env, stdin=subprocess.DEVNULL, stdout=log,
                       stderr=log, timeout=30, check=True)
    with open(state / "wineboot.log", "wb") as log:
        boot = subprocess.Popen([WINE64, "wineboot", "-i"], env=env, stdin=subprocess.DEVNULL,
                                stdout=log, stderr=log, start_new_session=True)
        try:
            code = boot.wait(timeout=180)
        except subprocess.TimeoutExpired:
            _kill_group(boot)
            raise HarnessError("wineboot -i did not finish within 180 s")
    if code != 0 or not (prefix() / "drive_c" / "windows" / "system32").is_dir():
        raise HarnessError(f"wineboot -i failed with {code} (see {state / 'wineboot.log'})")
    if not (prefix() / "drive_c" / "windows" / "syswow64").is_dir():
        raise HarnessError("the prefix is not a WoW64 prefix: it cannot run 32-bit programs "
                           "(scripts/install-deps installs wine32:i386 beside wine64)")
    print(f"prefix {prefix()} ready on display {display()}")


def cleanup_fixture() -> None:
    state = state_dir()
    if prefix().is_dir():
        env = dict(os.environ, WINEPREFIX=str(prefix()))
        # -k only asks the server to end; -w waits until it has. A new prefix made at once
        # may get the same inode and so the same server socket, which a dying server still holds.
        for option in ("-k", "-w"):
            subprocess.run([WINESERVER, option], env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    _stop_xvfb(state)


if __name__ == "__main__":
    action = sys.argv[1] if len(sys.argv) > 1 else ""
    actions = {"setup": setup_fixture, "cleanup": cleanup_fixture}
    if action not in actions:
        sys.exit("usage: winetest.py setup|cleanup")
    try:
        actions[action]()
    except (HarnessError, subprocess.SubprocessError, OSError) as failure:
        sys.exit(f"FAILED: {failure}")
