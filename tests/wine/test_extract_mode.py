"""Setup.exe /u under Wine: every package's MSI lands in the current folder unchanged, with one
"extracting .\\<file>..." line per file on the redirected standard output; a damaged package in
the middle still lets the others through and ends with exit code 2."""
import winetest
from winetest import check, check_equal

MSI_FILES = ["quibrix-2024-x64.msi", "brammel-server-2024-x64.msi", "wendrak-7.2-x64.msi"]


def extract(setup, folder_name):
    folder = winetest.work_dir() / folder_name
    folder.mkdir()
    result = winetest.run(setup, "/u", cwd=folder, timeout=120)
    return result, folder


def test_every_package_is_extracted_unchanged():
    result, folder = extract(winetest.pack("three-packages.json"), "all")
    check_equal(result.exit_code, 0, f"exit code of /u: {result.stdout!r}")
    check_equal(result.stdout, "".join(f"extracting .\\{name}...\r\n" for name in MSI_FILES),
                "console lines name each file in the current folder")
    check_equal(sorted(path.name for path in folder.iterdir()), sorted(MSI_FILES), "files of the folder")
    for name in MSI_FILES:
        check((folder / name).read_bytes() == (winetest.samples_dir() / name).read_bytes(), f"{name} is unchanged")


def test_a_damaged_package_does_not_stop_the_others():
    setup = winetest.pack("three-packages.json", name="Damaged.exe", resources={"PACKAGE_1": {"truncate": 300}})
    result, folder = extract(setup, "damaged")
    check_equal(result.exit_code, 2, f"exit code with a damaged second package: {result.stdout!r}")
    check_equal(sorted(path.name for path in folder.iterdir()), sorted([MSI_FILES[0], MSI_FILES[2]]),
                "the first and third packages are extracted, nothing of the second stays")


def test():
    test_every_package_is_extracted_unchanged()
    test_a_damaged_package_does_not_stop_the_others()


winetest.main(test)
