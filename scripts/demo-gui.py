"""The attended half of the demo (scripts/demo --gui runs it in its Wine prefix and display):
packs the two-package sample in English and in German, walks each wizard to its end like a
person pressing Next, keeps a screenshot of every page under <demo>/gui-<language>/, and removes
the products silently afterwards."""
import os
import pathlib
import shutil
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "wine"))
import winetest  # noqa: E402
import wizard_walk  # noqa: E402

PRODUCT = "Tarquel Quibrix 2024 Professional Edition (x64)"
RUNS = [
    ("en", "Setup.exe", {}, f"{PRODUCT} - Installer Wizard"),
    ("de", "German.exe", {"OS": {"language": 1031}}, f"{PRODUCT} - Installations-Assistent"),
]


def main() -> int:
    demo = pathlib.Path(os.environ["SETUP_DEMO_DIR"])
    failed = False
    for language, name, resources, title in RUNS:
        setup = winetest.pack("two-packages.json", name=name, resources=resources)
        shots = demo / f"gui-{language}"
        shutil.rmtree(shots, ignore_errors=True)
        shots.mkdir(parents=True)
        print(f"== {name}: the attended wizard ({language})", flush=True)
        walk = wizard_walk.walk(setup, name, title, shots / "setup.log", shots=shots)
        print(f"   pages: {', '.join(walk.pages)}")
        print(f"   exit code: {walk.result.exit_code}")
        for picture in sorted(shots.glob("*.png")):
            print(f"   screenshot: {picture}")
        removal = winetest.run(setup, "/x", "/qn", timeout=300)
        print(f"== {name} /x /qn: exit code {removal.exit_code}", flush=True)
        failed |= walk.result.exit_code != 0 or removal.exit_code != 0
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
