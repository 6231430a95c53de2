"""The operating-system check of the install mode against an "OS" resource newer than Wine's
Windows 7 SP1."""
import winetest
from winetest import check, check_equal


def test_message_boxes():
    """Interactive: message 10 names both systems, then the failure report follows; exit 4."""
    setup = winetest.pack("quibrix-2024-x64.json", name="NeedsNewer.exe", os="6.3")
    running = winetest.start(setup)
    try:
        first = winetest.dismiss_message_box("NeedsNewer.exe")
        check(first.startswith("This product cannot be installed on ") and "\nIt requires " in first
              and first.endswith(" or later."), f"message 10: {first!r}")
        second = winetest.dismiss_message_box("NeedsNewer.exe")
        check_equal(second, "Installation platform not supported.\nInstallation of this version cannot continue.",
                    "failure report of kind 4")
        result = running.wait(timeout=30)
    finally:
        running.kill()
    check_equal(result.exit_code, 4, "exit code after the message boxes")


def test():
    test_message_boxes()
    setup = winetest.pack("quibrix-2024-x64.json", os="6.3")
    log = winetest.work_dir() / "setup.log"
    # Quiet: no message box may wait for a click, so the run ends by itself with kind 4.
    result = winetest.run(setup, "/qn", "/L*", winetest.windows_path(log), timeout=60)
    check(not result.timed_out, "a quiet run with a too-new OS requirement must not wait on a message box")
    check_equal(result.exit_code, 4, "exit code of a too-new OS requirement")
    text = winetest.read_log(log)
    check("TSL (c): Setup not allowed to run on " in text, f"log names the refused system: {text!r}")

    # An OS resource only in German: still the requirement of this setup.
    german = winetest.pack("quibrix-2024-x64.json", name="German.exe", os="6.3", resources={"OS": {"language": 1031}})
    check_equal(winetest.run(german, "/qn", timeout=60).exit_code, 4, "exit code with a German OS resource")

    satisfied = winetest.pack("quibrix-2024-x64.json", name="Satisfied.exe", os="6.1.1")
    result = winetest.run(satisfied, "/qn", "BR_WebServer_Port=x", timeout=60)
    check_equal(result.exit_code, winetest.SUCCEEDED, "a satisfied OS requirement lets the run go on")
    check_equal(winetest.run(satisfied, "/x", "/qn", timeout=120).exit_code, 0, "the product is removed again")


winetest.main(test)
