"""The attended half of the demo (scripts/demo --gui runs it in its Wine prefix and display):
packs the two-package sample in each of the six languages, walks each wizard to its end like a
person pressing Next, keeps a screenshot of every page under <demo>/gui-<language>-<dpi>/, and
removes the products silently afterwards. Every language is pictured at 96 DPI, English and
German also at 144 and 192 DPI (150 % and 200 %). The Japanese and Chinese runs map the faces
the launcher asks for to a CJK font, which a fresh prefix lacks. A contact sheet of all the
pictures is written to <demo>/contact-sheet.png."""
import os
import pathlib
import re
import shutil
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "wine"))
import winetest  # noqa: E402
import wizard_walk  # noqa: E402

PRODUCT = "Tarquel Quibrix 2024 Professional Edition (x64)"
# Language, the language id the packed setup carries, the DPIs it is pictured at.
LANGUAGES = [
    ("en", 1033, (96, 144, 192)),
    ("de", 1031, (96, 144, 192)),
    ("es", 1034, (96,)),
    ("fr", 1036, (96,)),
    ("ja", 1041, (96,)),
    ("zh", 2052, (96,)),
]
CJK_LANGUAGES = {"ja", "zh"}
# The faces the launcher's pages and dialog templates ask for, and the ones Wine links them to.
CJK_FACES = ["Tahoma", "MS Sans Serif", "MS Shell Dlg", "MS UI Gothic", "SimSun", "Arial"]
CJK_FONT = "WenQuanYi Zen Hei"
FONT_REPLACEMENTS = "HKCU\\Software\\Wine\\Fonts\\Replacements"
DESKTOP = "HKCU\\Control Panel\\Desktop"


def wizard_title(language: str) -> str:
    """The wizard's title in the language, from the launcher's own string table."""
    table = (ROOT / "resources" / f"strings_{language}.rc").read_text(encoding="utf-8")
    return re.search(r'^\s*IDS_WIZARD_TITLE\s+"(.*)"\s*$', table, re.MULTILINE).group(1).replace("%s", PRODUCT)


def reg(*args: str, must: bool = True) -> None:
    result = subprocess.run([winetest.WINE64, "reg", *args], env=winetest.wine_environment(),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    if must and result.returncode != 0:
        raise winetest.HarnessError(f"wine reg {' '.join(args)} failed")


def restart_wineserver() -> None:
    """Settings read at start-up (the DPI, the font replacements) reach only the programs of a
    new wineserver."""
    env = winetest.wine_environment()
    for option in ("-k", "-w"):
        subprocess.run([winetest.WINESERVER, option], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    subprocess.run([winetest.WINESERVER, "-p30"], env=env, stdin=subprocess.DEVNULL, timeout=60, check=True)


def configure(dpi: int, cjk: bool) -> None:
    reg("add", DESKTOP, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
    for face in CJK_FACES:
        if cjk:
            reg("add", FONT_REPLACEMENTS, "/v", face, "/t", "REG_SZ", "/d", CJK_FONT, "/f")
        else:
            # Absent already in a fresh prefix.
            reg("delete", FONT_REPLACEMENTS, "/v", face, "/f", must=False)
    restart_wineserver()


def contact_sheet(folders: list[pathlib.Path], sheet: pathlib.Path) -> None:
    """One picture of every page: a row per run, each picture labelled with run and page."""
    pictures = []
    for folder in folders:
        for picture in sorted(folder.glob("*.png"), key=lambda path: int(path.name.split("-")[0])):
            pictures += ["-label", f"{folder.name.removeprefix('gui-')} {picture.stem}", str(picture)]
    subprocess.run(["montage", "-font", "DejaVu-Sans", *pictures, "-tile", "6x", "-geometry", "320x220+6+6", "-pointsize", "14",
                    "-background", "white", str(sheet)], check=True, timeout=300)


def main() -> int:
    demo = pathlib.Path(os.environ["SETUP_DEMO_DIR"])
    failed = False
    folders = []
    for language, language_id, dpis in LANGUAGES:
        name = f"Setup-{language}.exe"
        title = wizard_title(language)
        setup = winetest.pack("two-packages.json", name=name, resources={"OS": {"language": language_id}})
        for dpi in dpis:
            configure(dpi, language in CJK_LANGUAGES)
            shots = demo / f"gui-{language}-{dpi}"
            shutil.rmtree(shots, ignore_errors=True)
            shots.mkdir(parents=True)
            folders.append(shots)
            print(f"== {name}: the attended wizard ({language}, {dpi} DPI)", flush=True)
            walk = wizard_walk.walk(setup, name, title, shots / "setup.log", shots=shots)
            print(f"   pages: {', '.join(walk.pages)}")
            print(f"   exit code: {walk.result.exit_code}")
            for picture in sorted(shots.glob("*.png")):
                print(f"   screenshot: {picture}")
            removal = winetest.run(setup, "/x", "/qn", timeout=300)
            print(f"== {name} /x /qn: exit code {removal.exit_code}", flush=True)
            failed |= walk.result.exit_code != 0 or removal.exit_code != 0
    configure(96, False)
    contact_sheet(folders, demo / "contact-sheet.png")
    print(f"== contact sheet: {demo / 'contact-sheet.png'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
