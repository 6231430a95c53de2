"""Command-line transforms merged with the real Windows Installer into a copy of a sample
package: one changes a property and adds another, one adds an uncompressed file that is copied
from the current folder beside the package. The result is read back through the launcher's
database classes and, independently, with msiinfo; a failing later entry keeps the earlier one.
A language transform of a setup: a German run over an installed product, whose package folder
already holds its MSI, hands the German transform to the installer."""
import shutil
import subprocess

import winetest
from winetest import check, check_equal

SAMPLE = "quibrix-2024-x64.msi"
PROPERTY_TRANSFORM = "quibrix-2024-x64_admin-property.mst"
FILE_TRANSFORM = "quibrix-2024-x64_admin-file.mst"
NOTES = b"Notes of the administrator"


def probe(*args, cwd=None):
    result = winetest.run(winetest.helper_program("transform-probe.exe"), *args, cwd=cwd, timeout=120)
    check_equal(result.exit_code, 0, f"exit code of transform-probe {args} (output {result.stdout!r})")
    values = {}
    for line in result.stdout.splitlines():
        name, _, value = line.partition("=")
        values[name] = value
    return values


def log_lines(*lines):
    return "".join(line + "\r\n" for line in lines)


def exported_properties(package):
    """The Property table as msiinfo reads the committed file, name to value."""
    exported = subprocess.run(["msiinfo", "export", str(package), "Property"], capture_output=True, text=True,
                              check=True).stdout
    return dict(line.split("\t", 1) for line in exported.splitlines()[3:] if "\t" in line)


def prepare(name):
    """A package folder holding a copy of the sample, and a current folder holding the
    transforms and the file one of them adds."""
    work = winetest.work_dir() / name
    package_folder, current = work / "package", work / "current"
    package_folder.mkdir(parents=True)
    current.mkdir()
    shutil.copy(winetest.samples_dir() / SAMPLE, package_folder / "Quibrix.msi")
    for transform in (PROPERTY_TRANSFORM, FILE_TRANSFORM):
        shutil.copy(winetest.samples_dir() / transform, current / transform)
    (current / "admin-notes.txt").write_bytes(NOTES)
    return work, package_folder / "Quibrix.msi", current


def test_both_transforms_merge_and_the_added_file_is_copied():
    work, package, current = prepare("merge")
    log = work / "setup.log"
    transforms = f"{PROPERTY_TRANSFORM};@{FILE_TRANSFORM};"
    probe("merge", winetest.windows_path(package), transforms, winetest.windows_path(log), cwd=current)
    check_equal(winetest.read_log(log), log_lines(f"TSL (c): Applying transformations: {transforms}",
                                                  "TSL (c): Transformations successfully applied"), "setup log")
    check_equal((package.parent / "admin-notes.txt").read_bytes(), NOTES, "the added file beside the package")

    values = probe("read", winetest.windows_path(package), "INSTALLER_LANGUAGE", "ADMIN_NOTE", "ProductID")
    check_equal(values.get("INSTALLER_LANGUAGE"), "it", f"changed property (all values: {values})")
    check_equal(values.get("ADMIN_NOTE"), "Set by the administrator", "added property")
    check_equal(values.get("ProductID"), "QB::P", "a property no transform touches")
    check_equal(values.get("file:AdminNotes"), "admin-notes.txt|8192", "the added File row")
    check_equal(values.get("file:ApplicationFile"), "Quibrix.exe|512", "the package's own File row")

    if shutil.which("msiinfo"):
        properties = exported_properties(package)
        check_equal(properties.get("INSTALLER_LANGUAGE"), "it", "msiinfo: changed property")
        check_equal(properties.get("ADMIN_NOTE"), "Set by the administrator", "msiinfo: added property")


def test_a_missing_second_transform_keeps_the_first_merged():
    work, package, current = prepare("missing")
    log = work / "setup.log"
    transforms = f"{PROPERTY_TRANSFORM};missing.mst;{FILE_TRANSFORM}"
    probe("merge", winetest.windows_path(package), transforms, winetest.windows_path(log), cwd=current)
    check_equal(winetest.read_log(log), log_lines(f"TSL (c): Applying transformations: {transforms}",
                                                  "TSL (c): Transformations failed"), "setup log")
    values = probe("read", winetest.windows_path(package), "INSTALLER_LANGUAGE", "ADMIN_NOTE")
    check_equal(values.get("INSTALLER_LANGUAGE"), "it", f"the first transform is committed (all values: {values})")
    check("file:AdminNotes" not in values, f"the third transform is not merged: {values}")
    check(not (package.parent / "admin-notes.txt").exists(), "no file is copied")


def test_a_german_maintenance_run_passes_the_german_transform():
    """Installed in English, then run again in German: the package is not unpacked again, and
    its German transform still reaches the installer, which applies it."""
    setup = winetest.pack("multi-language.json", name="Languages.exe")
    # An earlier removal of the same package keeps its folder (a removal leaves the folders of
    # MSI packages), which the English run would then use as it stands.
    package_code = winetest.load_description("multi-language.json")["packages"][0]["packageCode"]
    shutil.rmtree(winetest.unix_path(f"C:\\ProgramData\\Tarquel\\{package_code}"), ignore_errors=True)
    work = winetest.work_dir()
    logs = {}
    for name, language in (("install", "English"), ("modify", "German")):
        log = work / f"{name}-{language}.log"
        result = winetest.run(setup, f"lang={language}", "/qn", "/L*v", winetest.windows_path(log), timeout=300)
        logs[name] = winetest.read_log(log)
        check_equal(result.exit_code, 0, f"exit code of the {language} {name} run: {logs[name]!r}")
    check("TSL (c): Extracting resource: PACKAGE_0\r\n" in logs["install"], "the English run unpacks the package")
    modify = logs["modify"]
    check("TSL (c): Extracting resource: " not in modify, "the German run finds the package unpacked")
    # The installer's half of the log follows the launcher's line; the transform's own values
    # show that it was applied, not only named.
    start = modify.find("TSL (c): Modifying product ")
    check(start != -1, f"the German run modifies the installed product: {modify!r}")
    installer = modify[start:]
    for line in ("Property(S): TRANSFORMS = Transform_de.mst", "Property(S): ProductLanguage = 1031",
                 "Property(S): SAMPLE_TRANSFORM = Deutsch"):
        check(line in installer, f"the German run's installer log holds {line!r}: {modify!r}")
    removal = winetest.run(setup, "/x", "/qn", timeout=300)
    check_equal(removal.exit_code, 0, "the silent removal afterwards")


def test():
    test_a_german_maintenance_run_passes_the_german_transform()
    test_both_transforms_merge_and_the_added_file_is_copied()
    test_a_missing_second_transform_keeps_the_first_merged()


winetest.main(test)
