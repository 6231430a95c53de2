"""An attended installation of the two-package sample on Wine's windowing system under Xvfb:
Next on the welcome page, the unpack and install pages do their work, the
finish page tells the success, and Finish ends the setup with exit code 0; the same in German.
A screenshot of every page is kept in the work folder; a silent removal after each run leaves
the prefix as before. The language chooser of a setup carrying several languages switches the
wizard to German on the spot."""
import winetest
import wizard_walk
from winetest import check, check_equal

PRODUCT = "Tarquel Quibrix 2024 Professional Edition (x64)"
PAGES = ["Welcome", "SystemIntegrity", "UnpackMSIFromEXE", "ServiceConfiguration", "Install (hidden)", "Finish"]


def install_attended(setup, process, title, success, finish_label, language):
    log = winetest.work_dir() / f"{language}.log"
    shots = winetest.work_dir() / language
    shots.mkdir()
    walk = wizard_walk.walk(setup, process, title, log, shots=shots)
    check_equal(walk.result.exit_code, 0, f"exit code of the attended installation ({language})")
    check_equal(walk.pages, PAGES, f"pages of the attended installation ({language})")
    finish = walk.windows["Finish"]
    check(any(c["text"] == success and c["visible"] for c in finish["controls"]), "the finish page tells the success")
    check_equal(winetest.control_text(finish, wizard_walk.NEXT), finish_label, "Next is relabelled Finish")
    check((shots / f"{len(PAGES)}-Finish.png").is_file(), "the finish page has its screenshot")
    removal = winetest.run(setup, "/x", "/qn", timeout=300)
    check_equal(removal.exit_code, 0, f"the silent removal afterwards ({language})")


LANGUAGE_CHOOSER = 1015


def choose_language():
    setup = winetest.pack("multi-language.json", name="Languages.exe")
    log = winetest.work_dir() / "languages.log"
    running = winetest.start(setup, "/L*v", winetest.windows_path(log))
    try:
        welcome = winetest.wait_window(process="Languages.exe", title=f"{PRODUCT} - Installer Wizard", timeout=60)
        check(welcome is not None, "the English wizard shows")
        chooser = [c for c in welcome["controls"] if c["id"] == LANGUAGE_CHOOSER]
        check(chooser and chooser[0]["visible"], "the welcome page shows the language chooser")
        winetest.select(LANGUAGE_CHOOSER, "German", process="Languages.exe")
        german = winetest.wait_window(process="Languages.exe", title=f"{PRODUCT} - Installations-Assistent", timeout=20)
        check(german is not None, "the title is German after the choice")
        check_equal(winetest.control_text(german, wizard_walk.NEXT), "&Weiter >", "Next speaks German")
        check(any(c["text"].startswith("Willkommen") and c["visible"] for c in german["controls"]),
              "the welcome page speaks German")
        winetest.click(wizard_walk.CANCEL, process="Languages.exe")
        # The cancel leads to the finish page, whose Finish ends the run.
        winetest.click(wizard_walk.NEXT, process="Languages.exe")
        result = running.wait(timeout=60)
    finally:
        running.kill()
    check_equal(result.exit_code, 3, "a cancel on the welcome page ends as cancelled")


def test():
    choose_language()
    install_attended(winetest.pack("two-packages.json"), "Setup.exe", f"{PRODUCT} - Installer Wizard",
                     f"Setup has successfully installed {PRODUCT}.", "&Finish", "en")
    # A setup whose "OS" resource is German speaks German.
    german = winetest.pack("two-packages.json", name="German.exe", resources={"OS": {"language": 1031}})
    install_attended(german, "German.exe", f"{PRODUCT} - Installations-Assistent",
                     f"Setup hat {PRODUCT} erfolgreich installiert.", "&Fertig stellen", "de")


winetest.main(test)
