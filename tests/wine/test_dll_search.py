"""Libraries planted beside Setup.exe are never loaded. Wine is told to prefer a library found
beside the program for every name planted here, which is what Windows does for any library that
is not a KnownDLL; a marker library under each name records any load. The setup runs for help,
validation, extraction, a silent installation with its removal and an attended installation."""
import shutil

import winetest
import wizard_walk
from winetest import check, check_equal

# The libraries the launcher loads at run time, the ones it used to import, and the ones that
# those load in turn (the themes of the common controls).
PLANTED = ["msi", "cabinet", "d2d1", "version", "advapi32", "uxtheme", "crypt32", "comctl32", "msftedit"]
NATIVE_FIRST = {"WINEDLLOVERRIDES": winetest.DLL_OVERRIDES + ";" + ",".join(PLANTED) + "=n,b"}
PRODUCT = "Tarquel Quibrix 2024 Professional Edition (x64)"


def plant_markers(setup):
    marker = winetest.helper_program("marker.dll")
    for name in PLANTED:
        shutil.copyfile(marker, setup.parent / f"{name}.dll")


def loaded(setup):
    return sorted(p.name for p in setup.parent.glob("*.dll.loaded"))


def run(setup, what, *args, **kwargs):
    result = winetest.run(setup, *args, env=NATIVE_FIRST, **kwargs)
    check_equal(loaded(setup), [], f"libraries planted beside the setup loaded by {what}")
    return result


def test():
    setup = winetest.pack("quibrix-2024-x64.json")
    plant_markers(setup)
    # The markers tell a load: a program that looks beside itself first loads one.
    plain = setup.parent / "load-library.exe"
    shutil.copyfile(winetest.helper_program("load-library.exe"), plain)
    winetest.run(plain, "msi.dll", env=NATIVE_FIRST)
    check_equal(loaded(setup), ["msi.dll.loaded"], "a plain load of msi.dll finds the marker beside the program")
    (setup.parent / "msi.dll.loaded").unlink()

    check_equal(run(setup, "/?", "/?").exit_code, 0, "help exit code")
    check_equal(run(setup, "/v", "/v").exit_code, 0, "validation exit code")
    extracted = winetest.work_dir() / "extracted"
    extracted.mkdir()
    check_equal(run(setup, "/u", "/u", cwd=extracted, timeout=120).exit_code, 0, "extraction exit code")
    check_equal(run(setup, "/qn", "/qn", timeout=300).exit_code, 0, "silent installation exit code")
    check_equal(run(setup, "/x /qn", "/x", "/qn", timeout=300).exit_code, 0, "silent removal exit code")

    log = winetest.work_dir() / "attended.log"
    walk = wizard_walk.walk(setup, "Setup.exe", f"{PRODUCT} - Installer Wizard", log, env=NATIVE_FIRST)
    check_equal(walk.result.exit_code, 0, "attended installation exit code")
    check("Install (hidden)" in walk.pages, f"the attended run installed: {walk.pages}")
    check_equal(loaded(setup), [], "libraries planted beside the setup loaded by the attended run")
    check_equal(run(setup, "the removal", "/x", "/qn", timeout=300).exit_code, 0, "removal after the attended run")


winetest.main(test)
