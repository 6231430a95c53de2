"""Package folders on a machine where another user has been first: a link planted in a package
folder, a base folder that is a link, and package codes with trailing dots or blanks. The
clean-up at the end of a failed run must never reach outside the base folder. What the elevated
launcher starts from below the shared folder, the finish page's tools and the removal's
self-deleting batch file, must lie where only administrators may write."""
import os
import pathlib
import shutil
import time

import winetest
import wizard_walk
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
    # The planted MSI is not the setup's package: the folder is cleared and the package
    # unpacked afresh.
    check_equal(code, winetest.SUCCEEDED, f"exit code: {log!r}")
    check(f"TSL (c): Package folder {BASE}\\{PACKAGE_CODE} not used: its MSI file is not this setup's package.\r\n"
          in log, f"the folder is not trusted: {log!r}")
    check((victim / "deep" / "precious.txt").is_file(), "the folder the link pointed to is untouched")
    check((victim / "secret.txt").read_text() == "keep me too", "the file the link pointed to is untouched")
    check(empty.is_dir(), "the empty folder a link pointed to is untouched")
    check((folder / "planted-folder-link").is_symlink(), "Wine cannot remove the link: it stays")
    check_equal(winetest.run(setup, "/x", "/qn", timeout=300).exit_code, 0, "the removal afterwards")
    shutil.rmtree(folder, ignore_errors=True)
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


SYSTEM, ADMINISTRATORS, USERS, EVERYONE = "S-1-5-18", "S-1-5-32-544", "S-1-5-32-545", "S-1-1-0"
GENERIC_ALL, GENERIC_WRITE = 0x10000000, 0x40000000
FILE_ALL_ACCESS = 0x1F01FF
# Rights that change a folder or its contents: write and append data, write attributes and
# extended attributes, delete (also a child), change the list or the owner.
WRITING_RIGHTS = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 | GENERIC_WRITE | GENERIC_ALL


def granted_rights(lines):
    """The rights each account's granting entries give, by SID, from folder-access-probe's lines."""
    rights = {}
    for line in lines:
        if line.startswith("ace="):
            kind, flags, mask, sid = line[4:].split()
            if kind == "0":
                rights[sid] = rights.get(sid, 0) | int(mask, 16)
    return rights


def test_a_new_package_folder_has_its_own_protected_access_list():
    """The folder is made as the unpacking makes it and its list read back through the system's
    security functions. Windows keeps a generic right in an inherit-only entry beside the mapped
    one, Wine stores the mapped rights alone: the check reads the rights each account gets."""
    base = winetest.unix_path(BASE)
    base.mkdir(parents=True, exist_ok=True)
    folder = f"{BASE}\\{{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4DAC}}"
    shutil.rmtree(winetest.unix_path(folder), ignore_errors=True)
    log = winetest.work_dir() / "folder-access.log"
    result = winetest.run(winetest.helper_program("folder-access-probe.exe"), folder, winetest.windows_path(log))
    lines = result.stdout.splitlines()
    check_equal(result.exit_code, 0, f"folder-access-probe ran: {result.stdout!r}")
    check("created=1" in lines, f"the folder is created: {lines}")
    rights = granted_rights(lines)
    for sid in (EVERYONE, USERS):
        check_equal(rights.get(sid, 0) & WRITING_RIGHTS, 0, f"{sid} may not change the folder: {lines}")
    if "protected=1" not in lines:
        # Wine 8 accepts the list (the call succeeds, so nothing is logged) but does not keep it on
        # a file system without extended attributes: it answers a list made from the Unix
        # permissions (SYSTEM and the user full, Everyone read and execute, not protected).
        check("Could not protect" not in winetest.read_log(log), f"setting the list succeeded: {lines}")
        print(f"access list not kept by this platform, read back as: {lines}")
        shutil.rmtree(winetest.unix_path(folder))
        return
    rights = {}
    for line in lines:
        if line.startswith("ace="):
            kind, flags, mask, sid = line[4:].split()
            check_equal(kind, "0", f"only entries that grant: {line}")
            check_equal(int(flags) & 0x10, 0, f"no entry is inherited: {line}")
            rights[sid] = rights.get(sid, 0) | int(mask, 16)
    check_equal(sorted(rights), sorted([SYSTEM, ADMINISTRATORS, USERS]), f"the accounts of the list: {lines}")
    for sid in (SYSTEM, ADMINISTRATORS):
        check(rights[sid] & GENERIC_ALL or rights[sid] & FILE_ALL_ACCESS == FILE_ALL_ACCESS,
              f"{sid} has full access: {lines}")
    check_equal(rights[USERS] & WRITING_RIGHTS, 0, f"Users may only read and run: {lines}")
    check(rights[USERS] & 0x1 and rights[USERS] & 0x20, f"Users may list and traverse: {lines}")
    shutil.rmtree(winetest.unix_path(folder))


MAIN_PACKAGE_CODE = "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D02}"  # the main package of two-packages.json
MAIN_PRODUCT = "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D01}"
FOREIGN_PRODUCT = "{5C1FE072-7C55-4E3B-9C6B-0A1A2B3C4D01}"  # wendrak-7.2-x64.msi
UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"


def plant_folder(msi, mode):
    folder = winetest.unix_path(f"{BASE}\\{MAIN_PACKAGE_CODE}")
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    shutil.copyfile(msi, folder / "planted.msi")
    os.chmod(folder, mode)
    return folder


def test_a_planted_package_folder_is_not_trusted():
    """A folder named after the main package's code, made before the run: with a foreign MSI,
    or with our own MSI but open to everyone. Neither is used as it stands: the setup's own
    package is unpacked afresh and installed."""
    setup = winetest.pack("two-packages.json")
    foreign = winetest.samples_dir() / "wendrak-7.2-x64.msi"
    ours = winetest.work_dir() / "ours"
    ours.mkdir()
    check_equal(winetest.run(setup, "/u", cwd=ours, timeout=120).exit_code, 0, "our MSI files are extracted")
    # A folder only its owner may change, and one everyone may change (what an ordinary user leaves).
    for msi, mode, reason in ((foreign, 0o755, "its MSI file is not this setup's package"),
                              (ours / "quibrix-2024-x64.msi", 0o777,
                               "accounts other than Administrators and SYSTEM may change it")):
        folder = plant_folder(msi, mode)
        code, log = run_setup(setup, "planted-" + msi.stem)
        check_equal(code, winetest.SUCCEEDED, f"exit code with {msi.name} planted: {log!r}")
        check(f"TSL (c): Package folder {BASE}\\{MAIN_PACKAGE_CODE} not used: {reason}.\r\n" in log,
              f"the log says why the folder is not used: {log!r}")
        check(not (folder / "planted.msi").exists(), "the planted MSI is gone")
        check(winetest.reg_query(f"{UNINSTALL}\\{MAIN_PRODUCT}", None, 64) is not None, "our product is installed")
        check(winetest.reg_query(f"{UNINSTALL}\\{FOREIGN_PRODUCT}", None, 64) is None, "the planted product is not installed")
        check_equal(winetest.run(setup, "/x", "/qn", timeout=300).exit_code, 0, "the removal afterwards")
        wait_for_self_delete(folder)


CLEANUP = f"{BASE}\\SetupCleanup"


def wait_for_self_delete(folder):
    """The removal's self-deleting batch file removes the main package's folder a little later,
    and then itself: a folder planted before that would vanish."""
    batch = winetest.unix_path(f"{CLEANUP}\\SelfDelete.bat")
    deadline = time.monotonic() + 30
    while (folder.exists() or batch.exists()) and time.monotonic() < deadline:
        time.sleep(0.2)
    check(not folder.exists() and not batch.exists(), "the removal's batch file has done its work")


SHARED = f"{BASE}\\SharedBetweenVersions"
CATALOG_TOOL, SCHEMA_TOOL = "CatalogKeeperFrontend.exe", "SchemaKeeperFrontend.exe"
BOXES = {CATALOG_TOOL: 1357, SCHEMA_TOOL: 1401}
# A product name that makes the finish page offer both tools.
TOOLS_PRODUCT = "Tarquel Paloric Server 2024 (x64)"


def plant_tools(folder_mode, modes):
    """The tools in the shared folder as a marker program that leaves "<name>.started" beside
    itself when it runs, with the given Unix modes (what Wine derives their lists from)."""
    shared = winetest.unix_path(SHARED)
    if shared.exists():
        os.chmod(shared, 0o755)
        shutil.rmtree(shared)
    shared.mkdir(parents=True)
    for name, mode in modes.items():
        shutil.copyfile(winetest.helper_program("tool-marker.exe"), shared / name)
        os.chmod(shared / name, mode)
    os.chmod(shared, folder_mode)
    return shared


def finish_with_tools(setup, name):
    """An attended installation that ticks both tool boxes on the finish page, shown or not, and
    presses Finish: which boxes were shown, which tools ran, and the log."""
    log = winetest.work_dir() / f"{name}.log"
    walk = wizard_walk.walk(setup, "Tools.exe", f"{TOOLS_PRODUCT} - Installer Wizard", log,
                            press={"Finish": [*BOXES.values(), wizard_walk.NEXT]})
    check_equal(walk.result.exit_code, 0, f"exit code of the attended installation {name}")
    finish = walk.windows["Finish"]
    shown = {tool: any(c["id"] == box and c["visible"] for c in finish["controls"]) for tool, box in BOXES.items()}
    shared = winetest.unix_path(SHARED)
    started = {tool: (shared / f"{tool}.started").exists() for tool in BOXES}
    return shown, started, winetest.read_log(log)


def tool_line(tool, reason):
    return f"TSL (c): Tool {SHARED}\\{tool} not offered: {reason}.\r\n"


def test_what_the_launcher_starts_lies_where_only_administrators_may_write():
    """The finish page offers and starts a tool only when the tool and its folder are beyond the
    reach of other users; the removal writes its self-deleting batch file into a folder of its
    own that only administrators may change, replacing one that another user made first. Wine
    derives lists from file modes: a mode that lets others write reads back as Everyone
    modifying, and an owner-only mode as no Everyone entry at all."""
    setup = winetest.pack("two-packages.json", resources={"PRODUCT_NAME_0": TOOLS_PRODUCT}, name="Tools.exe")
    main_folder = winetest.unix_path(f"{BASE}\\{MAIN_PACKAGE_CODE}")

    # Both tools only their owner may change, in a folder that everyone may change.
    plant_tools(0o777, {CATALOG_TOOL: 0o755, SCHEMA_TOOL: 0o755})
    shown, started, log = finish_with_tools(setup, "tools-open-folder")
    check(not any(shown.values()) and not any(started.values()),
          f"no tool of a folder everyone may change is offered or started: {shown} {started}")
    check(tool_line(CATALOG_TOOL, "its folder cannot be trusted: accounts other than Administrators and SYSTEM may "
                    "change it") in log, f"the log says why the catalog tool is not offered: {log!r}")

    # The batch file's folder, made before the removal by a user and open to everyone, with a
    # batch file of theirs in it.
    cleanup = winetest.unix_path(CLEANUP)
    shutil.rmtree(cleanup, ignore_errors=True)
    cleanup.mkdir(parents=True)
    (cleanup / "SelfDelete.bat").write_text("planted")
    os.chmod(cleanup / "SelfDelete.bat", 0o666)
    os.chmod(cleanup, 0o777)
    removal_log = winetest.work_dir() / "tools-removal.log"
    removal = winetest.run(setup, "/x", "/qn", "/L*v", winetest.windows_path(removal_log), timeout=300)
    check_equal(removal.exit_code, 0, "the first removal")
    log = winetest.read_log(removal_log)
    check(f"TSL (c): Clean-up folder {CLEANUP} not used: accounts other than Administrators and SYSTEM may change "
          "it.\r\n" in log, f"the planted clean-up folder is not used: {log!r}")
    wait_for_self_delete(main_folder)
    check(not winetest.unix_path(f"{BASE}\\SelfDelete.bat").exists(), "no batch file in the shared folder")
    probe = winetest.run(winetest.helper_program("folder-access-probe.exe"), "--read", CLEANUP)
    rights = granted_rights(probe.stdout.splitlines())
    check(rights, f"the clean-up folder's list is read: {probe.stdout!r}")
    # Made with a list that grants Everyone nothing: Wine gives others no bit of the mode, where a
    # folder made without a list would let them read.
    check(EVERYONE not in rights, f"Everyone has no entry in the clean-up folder's list: {probe.stdout!r}")
    check_equal(rights.get(USERS, 0) & WRITING_RIGHTS, 0, f"Users may not change the clean-up folder: {probe.stdout!r}")
    check_equal(cleanup.stat().st_mode & 0o027, 0, "the clean-up folder's mode lets only its owner write")

    # A catalog tool only its owner may change, beside a schema tool that everyone may change.
    shared = plant_tools(0o755, {CATALOG_TOOL: 0o755, SCHEMA_TOOL: 0o777})
    shown, started, log = finish_with_tools(setup, "tools-own-folder")
    check(shown[CATALOG_TOOL] and started[CATALOG_TOOL], f"the catalog tool is offered and started: {shown} {started}")
    check(not shown[SCHEMA_TOOL] and not started[SCHEMA_TOOL],
          f"the schema tool everyone may change is neither offered nor started: {shown} {started}")
    check(tool_line(SCHEMA_TOOL, "accounts other than Administrators and SYSTEM may change it") in log,
          f"the log says why the schema tool is not offered: {log!r}")
    check_equal(winetest.run(setup, "/x", "/qn", timeout=300).exit_code, 0, "the second removal")
    wait_for_self_delete(main_folder)
    os.chmod(shared, 0o755)
    shutil.rmtree(shared)


def test():
    test_a_new_package_folder_has_its_own_protected_access_list()
    test_a_planted_package_folder_is_not_trusted()
    test_what_the_launcher_starts_lies_where_only_administrators_may_write()
    test_links_in_a_package_folder_are_not_followed()
    test_a_base_folder_that_is_a_link_is_refused()
    test_trailing_dot_package_codes_name_no_folder()


winetest.main(test)
