"""Package folders on a machine where another user has been first: a link planted in a package
folder, a base folder that is a link, and package codes with trailing dots or blanks. The
clean-up at the end of a failed run must never reach outside the base folder."""
import os
import pathlib
import shutil

import winetest
from winetest import check, check_equal

BASE = "C:\\ProgramData\\Tarquel"
# The package code of the sample setup quibrix-2024-x64.json.
PACKAGE_CODE = "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D02}"


def run_setup(setup, name):
    """A silent install-mode run. The MSI file planted in the package folder is no database, so
    the installation fails, and the exit sequence removes the folders of the packages that are
    not installed."""
    log = winetest.work_dir() / (name + ".log")
    result = winetest.run(setup, "/qn", "/L*v", winetest.windows_path(log), timeout=90)
    return result.exit_code, winetest.read_log(log) if log.exists() else ""


def make_victim(name):
    victim = winetest.unix_path("C:\\" + name)
    shutil.rmtree(victim, ignore_errors=True)
    (victim / "deep").mkdir(parents=True)
    (victim / "deep" / "precious.txt").write_text("keep me")
    (victim / "secret.txt").write_text("keep me too")
    return victim


def test_links_in_a_package_folder_are_not_followed():
    """Wine shows a link to a folder as a reparse point and a link to a file as the file, and it
    cannot remove either link (removing one removes its target instead): the launcher leaves
    them, and with them the package folder, in place. On Windows the links go, their targets stay."""
    setup = winetest.pack("quibrix-2024-x64.json")
    base = winetest.unix_path(BASE)
    if base.is_symlink():
        base.unlink()
    folder = base / PACKAGE_CODE
    shutil.rmtree(folder, ignore_errors=True)
    (folder / "sub").mkdir(parents=True)
    (folder / "package.msi").write_text("unpacked earlier")
    victim = make_victim("victim-of-link")
    empty = victim / "empty"
    empty.mkdir()
    os.symlink(victim, folder / "planted-folder-link")
    os.symlink(empty, folder / "sub" / "planted-link-to-an-empty-folder")
    os.symlink(victim / "secret.txt", folder / "planted-file-link")

    code, log = run_setup(setup, "planted-link")
    check_equal(code, winetest.INSTALL_FAILED, f"exit code: {log!r}")
    check(f"TSL (c): Deleting MSI folder {BASE}\\{PACKAGE_CODE}\r\n" in log, f"the folder is visited: {log!r}")
    check((victim / "deep" / "precious.txt").is_file(), "the folder the link pointed to is untouched")
    check((victim / "secret.txt").read_text() == "keep me too", "the file the link pointed to is untouched")
    check(empty.is_dir(), "the empty folder a link pointed to is untouched")
    check((folder / "planted-folder-link").is_symlink(), "Wine cannot remove the link: it stays")
    check(f"Deleted MSI folder" not in log, "a folder that still holds a link is not reported as deleted")
    shutil.rmtree(folder)
    shutil.rmtree(victim)


def test_a_base_folder_that_is_a_link_is_refused():
    setup = winetest.pack("quibrix-2024-x64.json")
    base = winetest.unix_path(BASE)
    saved = base.with_name("Tarquel.saved")
    if base.exists() and not base.is_symlink():
        shutil.rmtree(saved, ignore_errors=True)
        base.rename(saved)
    victim = make_victim("victim-of-base-link")
    try:
        os.symlink(victim, base)
        code, log = run_setup(setup, "base-link")
        check_equal(code, 2, f"exit code: {log!r}")
        check(f"TSL (c): Package folder root {BASE} refused: it is a link or not owned by Administrators or "
              "SYSTEM.\r\nTSL (c): ERROR: Installation failed.\r\n" in log, f"refusal in the log: {log!r}")
        check("Reading package information" not in log, "no package is read")
        check(not (victim / PACKAGE_CODE).exists(), "no package folder in the link's target")
        check(sorted(p.name for p in victim.iterdir()) == ["deep", "secret.txt"], "the target is unchanged")
    finally:
        if base.is_symlink():
            base.unlink()
        if saved.exists():
            saved.rename(base)
        shutil.rmtree(victim, ignore_errors=True)


def test_trailing_dot_package_codes_name_no_folder():
    base = winetest.unix_path(BASE)
    base.mkdir(parents=True, exist_ok=True)
    other = base / "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4DFF}"
    other.mkdir(exist_ok=True)
    (other / "other.msi").write_text("another package's folder")
    for code in ("...", ". ", ".. ", "x.", "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4DFF}."):
        setup = winetest.pack("quibrix-2024-x64.json", resources={"PACKAGE_CODE_0": code}, name="TrailingDot.exe")
        exit_code, log = run_setup(setup, "trailing-dot")
        check_equal(exit_code, winetest.INSTALL_FAILED, f"exit code with package code {code!r}: {log!r}")
        check("Deleting MSI folder" not in log, f"nothing is deleted with package code {code!r}: {log!r}")
        check(base.is_dir() and (other / "other.msi").is_file(), f"base and other folders survive {code!r}")
    shutil.rmtree(other)


def test():
    test_links_in_a_package_folder_are_not_followed()
    test_a_base_folder_that_is_a_link_is_refused()
    test_trailing_dot_package_codes_name_no_folder()


winetest.main(test)
