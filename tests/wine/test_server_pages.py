"""The server pages on Wine's windowing system under Xvfb, driven by the wizard driver: a
workflow-server cluster setup over an installation whose "brammel.ini" says "Master::active=1"
starts its cluster page in the master role with that installation's port, and a mobile-server
setup over existing server data measures the backup and offers its options. Both pages are
shown in English and German; screenshots of them are kept in the work folder. On the English
backup page the keyboard reaches the page: Tab moves the focus from the frame's buttons onto a
check box of the page, Space ticks it and Shift+Tab goes back. Every run is cancelled on its
page and ends on the finish page with the user's exit (exit code 3)."""
import shutil
import subprocess
import time

import winetest
import wizard_walk
from winetest import check, check_equal

CLUSTER_PRODUCT = "Tarquel Brammel Server 2024 Advanced Edition (x64)"
BACKUP_PRODUCT = "Tarquel Pellomar Server 2024 (x64)"
STANDALONE, MASTER, WORKER, PORT = 1330, 1331, 1332, 1333
NEXT, CANCEL = 1, 2
BACKUP_CHECK_BOXES = (1534, 2202, 2203)


def common_data():
    return winetest.prefix() / "drive_c" / "ProgramData" / "Tarquel"


def screenshot(name: str) -> None:
    path = winetest.work_dir() / name
    subprocess.run(["import", "-display", winetest.display(), "-window", "root", str(path)], check=True, timeout=30)


def control(window: dict, control_id: int) -> dict:
    for item in window["controls"]:
        if item["id"] == control_id:
            return item
    raise AssertionError(f"no control {control_id} in {window['title']!r}")


def wait_for_text(process: str, title: str, text: str) -> dict:
    for _ in range(60):
        window = winetest.wait_window(process=process, title=title, timeout=10)
        if window and any(c["text"] == text and c["visible"] for c in window["controls"]):
            return window
    raise AssertionError(f"no page showing {text!r}")


def wait_for_finish_page(process: str, title: str) -> None:
    for _ in range(60):
        window = winetest.wait_window(process=process, title=title, timeout=10)
        if window and control(window, NEXT)["text"] in ("&Finish", "&Fertig stellen"):
            return
    raise AssertionError("the finish page did not follow the cancel")


def run_to_page(setup, process, title, page_text, look, shot):
    """Starts the setup, goes Next from the welcome page until `page_text` shows, lets `look`
    check the window, takes the screenshot, then cancels and finishes."""
    log = winetest.work_dir() / (shot + ".log")
    running = winetest.start(setup, "/L*v", winetest.windows_path(log))
    try:
        winetest.click(NEXT, process=process, title=title, timeout=60)
        # The workflow server's service page comes first; Next takes its settings as found.
        for _ in range(120):
            if wizard_walk.shown_pages(log)[-1:] == ["ServiceConfiguration"]:
                winetest.click(NEXT, process=process, title=title)
                break
            if any(c["text"] == page_text and c["visible"]
                   for c in (winetest.wait_window(process=process, title=title) or {"controls": []})["controls"]):
                break
            time.sleep(0.5)
        window = wait_for_text(process, title, page_text)
        look(window)
        screenshot(shot + ".png")
        winetest.click(CANCEL, process=process, title=title)
        wait_for_finish_page(process, title)
        winetest.click(NEXT, process=process, title=title)
        result = running.wait(timeout=60)
    finally:
        running.kill()
    log_text = winetest.read_log(log)
    # A cancel ends as the user's exit on whichever page it comes from.
    check_equal(result.exit_code, 3, f"exit code after Cancel on the page: {log_text!r}")
    check("TSL (c): ERROR: User cancelled installation. (1602 - " in log_text, "the cancel is logged as the user's exit")
    return log_text


def cluster(setup, process, title, page_title, master_label, port_label, shot):
    def look(window):
        check(control(window, MASTER)["checked"], "the master role is chosen")
        check(not control(window, STANDALONE)["checked"] and not control(window, WORKER)["checked"],
              "only the master role is chosen")
        check_equal(control(window, MASTER)["text"], master_label, "the master button's label")
        check(control(window, PORT)["visible"], "the port field shows for the master")
        check_equal(control(window, PORT)["text"], "4700", "the installation's master port")
        check(any(c["text"] == port_label and c["visible"] for c in window["controls"]), "the port label shows")
    return run_to_page(setup, process, title, page_title, look, shot)


def tab_to_check_box(process, title, window) -> dict:
    """Types Tab until the focus is on one of the page's check boxes; the window then."""
    for _ in range(12):
        winetest.type_key("tab", process=process, title=title)
        time.sleep(0.3)
        window = winetest.wait_window(process=process, title=title)
        if window["focus"] in BACKUP_CHECK_BOXES:
            return window
    raise AssertionError(f"Tab never reached a check box of the page (focus on {window['focus']})")


def keyboard(process, title, window):
    """Tab onto a check box of the page, Space ticks or clears it, Shift+Tab leaves it."""
    window = tab_to_check_box(process, title, window)
    box = window["focus"]
    before = control(window, box)["checked"]
    winetest.type_key("space", process=process, title=title)
    time.sleep(0.3)
    window = winetest.wait_window(process=process, title=title)
    check_equal(control(window, box)["checked"], not before, f"Space toggles check box {box}")
    winetest.type_key("shift+tab", process=process, title=title)
    time.sleep(0.3)
    check(winetest.wait_window(process=process, title=title)["focus"] not in (box, 0),
          "Shift+Tab moves the focus off the check box onto another control")


def backup(setup, process, title, size_label, reset_label, shot, keys=False):
    def look(window):
        check(any(c["text"] == reset_label and c["visible"] for c in window["controls"]),
              "the reset-database choice shows")
        check(control(window, NEXT)["enabled"], "Next is enabled after the measurement")
        if keys:
            keyboard(process, title, window)
    return run_to_page(setup, process, title, size_label, look, shot)


def test():
    cluster_data = common_data() / "BrammelServer2024" / "data"
    backup_data = common_data() / "PellomarServer"
    try:
        cluster_data.mkdir(parents=True, exist_ok=True)
        (cluster_data / "brammel.ini").write_text("[Master]\r\nport=4700\r\nactive=1\r\n")
        english = winetest.pack("brammel-server-ae-2024.json", name="Cluster.exe")
        log = cluster(english, "Cluster.exe", f"{CLUSTER_PRODUCT} - Installer Wizard",
                      "Brammel Cluster Configuration", "Master", "Port Number:", "cluster-en")
        check("TSL (c): Activating dialog ClusterConfiguration\r\n" in log, "the cluster page was shown")
        german = winetest.pack("brammel-server-ae-2024.json", name="ClusterDe.exe",
                               resources={"OS": {"language": 1031}})
        cluster(german, "ClusterDe.exe", f"{CLUSTER_PRODUCT} - Installations-Assistent",
                "Brammel-Cluster-Konfiguration", "Master", "Portnummer:", "cluster-de")

        (backup_data / "SolutionFiles" / "Examples").mkdir(parents=True, exist_ok=True)
        (backup_data / "pellomarserver.cfg").write_text("[installer]\r\navoidbackuponupgrade=0\r\n")
        (backup_data / "pellomar.db").write_bytes(b"\0" * 2 * 1048576)
        (backup_data / "SolutionFiles" / "Examples" / "orders.zip").write_bytes(b"x" * 65536)
        english = winetest.pack("pellomar-server-2024.json", name="Backup.exe")
        log = backup(english, "Backup.exe", f"{BACKUP_PRODUCT} - Installer Wizard", "Size of backup:", "Reset Database",
                     "backup-en", keys=True)
        check("TSL (c): CreatedBackupWorkerThread\r\n" in log, "the size worker ran")
        check("TSL (c): Worker-thread stopped\r\n" in log, "the size worker ended")
        german = winetest.pack("pellomar-server-2024.json", name="BackupDe.exe", resources={"OS": {"language": 1031}})
        backup(german, "BackupDe.exe", f"{BACKUP_PRODUCT} - Installations-Assistent", "Größe der Sicherung:",
               "Datenbank zurücksetzen", "backup-de")
    finally:
        shutil.rmtree(common_data() / "BrammelServer2024", ignore_errors=True)
        shutil.rmtree(backup_data, ignore_errors=True)


winetest.main(test)
