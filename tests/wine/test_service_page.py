"""The service configuration page on Wine's windowing system under Xvfb, driven by the wizard
driver: an attended install of the workflow server shows one tab per component, a changed port
is shown in bold and reaches the package, the workflow server's service dialog offers no
built-in service accounts, and the password asked for on Next never reaches the log in plain
text; every "Change..." button of every tab is painted on the screen; the Pellomar server's page
and dialogs in German; a silent install passes a command-line
port and an encrypted command-line password, and no spelling of the password property ever
reaches the log, the installer's part included, in the install or the removal. Runs with the
reduced interface (/qr), which walk the wizard by themselves but still show message boxes and
ask for a missing password: both web servers switched off on the command line are refused once
and end the run on its finish page; an empty password entered in the password dialog is passed
on empty. Screenshots of the page and of every dialog are kept in the work folder."""
import shutil
import subprocess
import time

import winetest
import wizard_walk
from winetest import check, check_equal

BRAMMEL = "Tarquel Brammel Server 2024 Advanced Edition (x64)"
PELLOMAR = "Tarquel Pellomar Server 2024 (x64)"
BRAMMEL_RECORD = "HKLM\\SOFTWARE\\Tarquel\\Samples\\brammel-server-ae-2024-x64"

NEXT, CANCEL = 1, 2
TABS = 1166
SERVICE_CHANGE, HTTP_CHANGE, SSL_CHANGE = 1171, 1173, 1175
HTTP_SUMMARY, SERVICE_SUMMARY = 1189, 1191
PORT_EDIT = 1196
LOCAL_SYSTEM, LOCAL_SERVICE, NETWORK_SERVICE, OTHER_USER = 1222, 1223, 1224, 1225
PASSWORD_EDIT = 1250
DIALOG = "#32770"


def screenshot(name: str) -> None:
    path = winetest.work_dir() / name
    subprocess.run(["import", "-display", winetest.display(), "-window", "root", str(path)], check=True, timeout=30)


def lay_down(sample_file: str, windows_path: str) -> None:
    """Copies a sample configuration file to where a previous installation left it."""
    target = winetest.unix_path(windows_path)
    target.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(winetest.samples_dir() / sample_file, target)


def shown(window: dict, control_id: int) -> dict | None:
    for control in window["controls"]:
        if control["id"] == control_id and control["visible"]:
            return control
    return None


def walk_to_service_page(process: str, title: str) -> dict:
    """Presses Next until the service page shows its tabs."""
    for _ in range(60):
        window = winetest.wait_window(process=process, title=title, timeout=10)
        if window is None:
            continue
        if shown(window, TABS):
            return window
        button = shown(window, NEXT)
        if button and button["enabled"]:
            winetest.click(NEXT, process=process, title=title)
        time.sleep(1)
    raise AssertionError("the service page did not appear")


def check_change_buttons_painted(process: str, title: str) -> None:
    """On every tab, the screen inside each shown "Change..." button holds more than the one
    colour of what lies behind it: its face, its frame and its label."""
    for label in winetest.tab_labels(TABS, process=process, title=title):
        winetest.choose_tab(TABS, label, process=process, title=title)
        time.sleep(1)
        window = winetest.wait_window(process=process, title=title)
        buttons = [button for button in (HTTP_CHANGE, SSL_CHANGE, SERVICE_CHANGE) if shown(window, button)]
        check(buttons, f"the tab {label!r} shows a Change button")
        for button in buttons:
            colours = winetest.screen_colours(button, process=process, title=title)
            check(colours >= 3, f"the Change button {button} on the tab {label!r} is painted ({colours} colours)")


def page_text(process: str, title: str, control_id: int) -> str:
    return winetest.control_text(winetest.wait_window(process=process, title=title), control_id)


def open_dialog(process: str, frame_title: str, button: int, dialog_title: str) -> dict:
    winetest.click(button, process=process, title=frame_title)
    dialog = winetest.wait_window(process=process, window_class=DIALOG, title=dialog_title)
    check(dialog is not None, f"the dialog {dialog_title!r} opened")
    time.sleep(0.5)
    return dialog


def finish(process: str, title: str, label: str, running: winetest.Running) -> winetest.Result:
    """Waits for the finish page (Next relabelled `label`) and presses Finish."""
    for _ in range(60):
        window = winetest.wait_window(process=process, title=title, timeout=10)
        if window and winetest.control_text(window, NEXT) == label:
            winetest.click(NEXT, process=process, title=title)
            return running.wait(timeout=60)
    raise AssertionError(f"no finish page labelled {label!r}")


def attended_workflow_server() -> None:
    lay_down("brammel.ini", "C:\\ProgramData\\Tarquel\\BrammelServer2024\\data\\brammel.ini")
    setup = winetest.pack("brammel-server-ae-2024.json")
    title = f"{BRAMMEL} - Installer Wizard"
    log = winetest.work_dir() / "workflow-server.log"
    running = winetest.start(setup, "/L*v", winetest.windows_path(log), "BR_Service_Username=WORKGROUP\\runner")
    try:
        walk_to_service_page("Setup.exe", title)
        check_equal(winetest.tab_labels(TABS, process="Setup.exe", title=title), ["Brammel Server", "BrammelWeb Server"],
                    "one tab per component")
        # Seen first as it opened, then on every tab; the first tab is the selected one again.
        time.sleep(1)
        check(winetest.screen_colours(HTTP_CHANGE, process="Setup.exe", title=title) >= 3,
              "the Change button of the first row is painted when the page opens")
        check_change_buttons_painted("Setup.exe", title)
        winetest.choose_tab(TABS, "Brammel Server", process="Setup.exe", title=title)
        time.sleep(1)
        check_equal(page_text("Setup.exe", title, HTTP_SUMMARY), "port number: 4700",
                    "the port of the existing configuration file")
        check_equal(winetest.bold_text(HTTP_SUMMARY, process="Setup.exe", title=title), "", "nothing changed yet")
        check_equal(page_text("Setup.exe", title, SERVICE_SUMMARY),
                    "Start type: Automatic, Logon account: \"WORKGROUP\\runner\"", "the command line's account")
        screenshot("service-page-en.png")

        dialog = open_dialog("Setup.exe", title, HTTP_CHANGE, "Unencrypted Connection to Web Server")
        check_equal(winetest.control_text(dialog, PORT_EDIT), "4700", "the port in the dialog")
        screenshot("service-http-dialog-en.png")
        winetest.set_text(PORT_EDIT, "4800", process="Setup.exe", window_class=DIALOG,
                          title="Unencrypted Connection to Web Server")
        winetest.click(NEXT, process="Setup.exe", window_class=DIALOG, title="Unencrypted Connection to Web Server")
        time.sleep(1)
        check_equal(page_text("Setup.exe", title, HTTP_SUMMARY), "port number: 4800", "the changed port")
        check_equal(winetest.bold_text(HTTP_SUMMARY, process="Setup.exe", title=title), "4800",
                    "the changed port is bold")
        screenshot("service-page-changed-en.png")

        open_dialog("Setup.exe", title, SSL_CHANGE, "SSL Encrypted Connection to Web Server")
        screenshot("service-ssl-dialog-en.png")
        winetest.click(CANCEL, process="Setup.exe", window_class=DIALOG, title="SSL Encrypted Connection to Web Server")

        dialog = open_dialog("Setup.exe", title, SERVICE_CHANGE, "Service configuration")
        enabled = {control["id"]: control["enabled"] for control in dialog["controls"]}
        check_equal([enabled[LOCAL_SYSTEM], enabled[LOCAL_SERVICE], enabled[NETWORK_SERVICE], enabled[OTHER_USER]],
                    [True, False, False, True], "the workflow server may not run as a built-in service account")
        screenshot("service-service-dialog-en.png")
        winetest.click(CANCEL, process="Setup.exe", window_class=DIALOG, title="Service configuration")
        time.sleep(1)

        # Next asks for the missing password of the command line's account.
        winetest.click(NEXT, process="Setup.exe", title=title)
        dialog = winetest.wait_window(process="Setup.exe", window_class=DIALOG, title="Service registration")
        check(dialog is not None, "the password dialog opened")
        check_equal(winetest.control_text(dialog, 1249), "WORKGROUP\\runner", "the account in the password dialog")
        time.sleep(0.5)
        screenshot("service-password-dialog-en.png")
        winetest.set_text(PASSWORD_EDIT, "Pl41n-Entered", process="Setup.exe", window_class=DIALOG,
                          title="Service registration")
        winetest.click(NEXT, process="Setup.exe", window_class=DIALOG, title="Service registration")
        # The workflow server's cluster page follows; Next keeps the role found.
        for _ in range(120):
            if wizard_walk.shown_pages(log)[-1:] == ["ClusterConfiguration"]:
                winetest.click(NEXT, process="Setup.exe", title=title)
                break
            time.sleep(0.5)
        # A setup of one package ends after its installation, without a finish page.
        result = running.wait(timeout=300)
    finally:
        running.kill()
    check_equal(result.exit_code, 0, "exit code of the attended installation")
    check_equal(winetest.reg_query(BRAMMEL_RECORD, "BR_WebServer_Port"), "4800", "the package got the changed port")
    password = winetest.reg_query(BRAMMEL_RECORD, "BR_Service_Password")
    check(password not in (None, "", "Pl41n-Entered"), f"the package got the password encrypted: {password!r}")
    check("Pl41n-Entered" not in winetest.read_log(log), "the log holds no plain password")
    removal = winetest.run(setup, "/x", "/qn", timeout=300)
    check_equal(removal.exit_code, 0, "the silent removal afterwards")


def german_pellomar_server() -> None:
    lay_down("pellomarserver.cfg", "C:\\ProgramData\\Tarquel\\PellomarServer\\pellomarserver.cfg")
    setup = winetest.pack("pellomar-server-2024.json", name="German.exe", resources={"OS": {"language": 1031}})
    title = f"{PELLOMAR} - Installations-Assistent"
    running = winetest.start(setup, "PMS_Service_Username=WORKGROUP\\runner")
    try:
        walk_to_service_page("German.exe", title)
        check_equal(winetest.tab_labels(TABS, process="German.exe", title=title),
                    ["Pellomar Server Admin Interface", "Pellomar Server Client Interface"], "one tab per component")
        check_equal(page_text("German.exe", title, HTTP_SUMMARY), "Portnummer: 8185",
                    "the admin port of the existing configuration file")
        screenshot("service-page-de.png")
        for button, dialog_title, name in ((HTTP_CHANGE, "Unverschlüsselte Verbindung zum Webserver", "http"),
                                           (SSL_CHANGE, "SSL-verschlüsselte Verbindung zum Webserver", "ssl"),
                                           (SERVICE_CHANGE, "Dienstkonfiguration", "service")):
            open_dialog("German.exe", title, button, dialog_title)
            screenshot(f"service-{name}-dialog-de.png")
            winetest.click(CANCEL, process="German.exe", window_class=DIALOG, title=dialog_title)
            time.sleep(1)
        winetest.click(NEXT, process="German.exe", title=title)
        check(winetest.wait_window(process="German.exe", window_class=DIALOG, title="Dienstregistrierung") is not None,
              "the password dialog opened")
        time.sleep(0.5)
        screenshot("service-password-dialog-de.png")
        winetest.click(CANCEL, process="German.exe", window_class=DIALOG, title="Dienstregistrierung")
        time.sleep(1)
        check(shown(winetest.wait_window(process="German.exe", title=title), TABS) is not None,
              "a cancelled password keeps the service page")
        winetest.click(CANCEL, process="German.exe", title=title)
        result = finish("German.exe", title, "&Fertig stellen", running)
    finally:
        running.kill()
    check_equal(result.exit_code, 3, "exit code of the cancelled wizard")


# A service password as an administrator may spell it; the installer's own property is the first.
PASSWORD_SPELLINGS = {"BR_Service_Password": "Pl41n-Given", "br_service_password": "Sp3lled-Low",
                      "BR_SERVICE_PASSWORD": "Sp3lled-Up", "Br_Service_PassWord": "Sp3lled-Mixed",
                      "bR_sERVICE_pASSWORD": "Sp3lled-Inverse"}


def silent_command_line_port() -> None:
    setup = winetest.pack("brammel-server-ae-2024.json", name="Silent.exe")
    passwords = [f"{name}={value}" for name, value in PASSWORD_SPELLINGS.items()]
    log = winetest.work_dir() / "silent.log"
    result = winetest.run(setup, "/qn", "/L*v", winetest.windows_path(log), "BR_WebServer_Port=9000",
                          "BR_Service_Username=WORKGROUP\\runner", *passwords, timeout=300)
    check_equal(result.exit_code, 0, "exit code of the silent installation")
    check_equal(winetest.reg_query(BRAMMEL_RECORD, "BR_WebServer_Port"), "9000", "the command line's port")
    password = winetest.reg_query(BRAMMEL_RECORD, "BR_Service_Password")
    check(password not in (None, "", *PASSWORD_SPELLINGS.values()), f"the package got the password encrypted: {password!r}")
    # The removal has no service page to take a password: it is never passed on either.
    removal_log = winetest.work_dir() / "removal.log"
    removal = winetest.run(setup, "/x", "/qn", "/L*v", winetest.windows_path(removal_log), *passwords, timeout=300)
    check_equal(removal.exit_code, 0, "the silent removal afterwards")
    for path in (log, removal_log):
        text = winetest.read_log(path)
        check("=== Logging started" in text, f"{path.name} holds the installer's part too")
        for name, value in PASSWORD_SPELLINGS.items():
            check(value not in text, f"{path.name} holds no plain password given as {name}")


CONNECTION_NEEDED = "Either the encrypted or unencrypted connection needs to be enabled for these services: Brammel Server"
INVALID_COMMAND_LINE = 1639


def reduced_ui_refusal() -> None:
    """Nobody can put the refusal right in a run that walks by itself: after its message box the
    run ends on its finish page with the refusal as its failure, and never asks again."""
    setup = winetest.pack("brammel-server-ae-2024.json", name="Refused.exe")
    log = winetest.work_dir() / "refused.log"
    running = winetest.start(setup, "/qr", "/L*v", winetest.windows_path(log), "BR_WebServer_Enabled=0",
                             "BR_SSLWebServer_Enabled=0")
    try:
        check_equal(winetest.dismiss_message_box("Refused.exe", timeout=60), CONNECTION_NEEDED, "the refusal's message")
        # A run that walked into the refusal again would show the box again and never end.
        result = running.wait(timeout=60)
    finally:
        running.kill()
    text = winetest.read_log(log)
    check(not result.timed_out, f"the refused run ends within a minute of its message: {text!r}")
    # Wine hands a Linux parent only the low byte of the exit code.
    check_equal(result.exit_code, INVALID_COMMAND_LINE & 0xFF, "exit code of the refused run")
    check_equal(text.count(f"TSL (c): {CONNECTION_NEEDED}\r\n"), 1, f"the refusal is logged once: {text!r}")
    check_equal(text.count("TSL (c): Activating dialog Finish\r\n"), 1, "the finish page is reached once")
    check("TSL (c): Activating dialog Install (hidden)\r\n" not in text, "the refused run installs nothing")


def empty_password_entered() -> None:
    """The password dialog asks for the command line's account; OK with the field left empty
    hands the package an empty password, and the run succeeds."""
    setup = winetest.pack("brammel-server-ae-2024.json", name="EmptyPassword.exe")
    log = winetest.work_dir() / "empty-password.log"
    running = winetest.start(setup, "/qr", "/L*v", winetest.windows_path(log), "BR_Service_Username=WORKGROUP\\runner")
    try:
        dialog = winetest.wait_window(process="EmptyPassword.exe", window_class=DIALOG, title="Service registration",
                                      timeout=60)
        check(dialog is not None, "the reduced run asks for the missing password")
        check_equal(winetest.control_text(dialog, PASSWORD_EDIT), "", "the password field starts empty")
        winetest.click(NEXT, process="EmptyPassword.exe", window_class=DIALOG, title="Service registration")
        result = running.wait(timeout=300)
    finally:
        running.kill()
    text = winetest.read_log(log)
    check("could not be encrypted" not in text, f"an empty password is no encryption failure: {text!r}")
    check_equal(result.exit_code, 0, f"exit code of the run with an empty password: {text!r}")
    check_equal(winetest.reg_query(BRAMMEL_RECORD, "BR_Service_Username"), "WORKGROUP\\runner", "the account")
    check_equal(winetest.reg_query(BRAMMEL_RECORD, "BR_Service_Password"), "", "the package got the empty password")
    removal = winetest.run(setup, "/x", "/qn", timeout=300)
    check_equal(removal.exit_code, 0, "the silent removal afterwards")


def test():
    reduced_ui_refusal()
    empty_password_entered()
    attended_workflow_server()
    german_pellomar_server()
    silent_command_line_port()


winetest.main(test)
