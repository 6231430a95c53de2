"""Setup.exe /u under Wine: every package's MSI lands in the current folder unchanged, with one
"extracting .\\<file>..." line per file on the redirected standard output; a damaged package in
the middle (a cut cabinet, or the first cabinet of a split set) still lets the others through and
ends with exit code 2, at once."""
import time

import cabinet_files
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

    # A package that asks for the next cabinet of a set is damaged: a setup carries no other.
    split = winetest.work_dir() / "part1.cab"
    split.write_bytes(cabinet_files.first_part_of_a_set(("wendrak-7.2-x64.msi", b"whole" * 1000),
                                                        ("rest.bin", bytes(range(256)) * 40)))
    packages = winetest.load_description("three-packages.json")["packages"]
    for package in packages:
        package["msi"] = str(winetest.samples_dir() / package["msi"])
        package.pop("transforms", None)
    del packages[1]["msi"]
    packages[1]["cabinet"] = str(split)
    setup = winetest.pack("three-packages.json", name="Split.exe", packages=packages)
    started = time.monotonic()
    result, folder = extract(setup, "split")
    elapsed = time.monotonic() - started
    check_equal(result.exit_code, 2, f"exit code with a split cabinet as second package: {result.stdout!r}")
    check(elapsed <= 2.0, f"the split cabinet ends the extraction at once: {elapsed:.2f} s")
    check_equal(sorted(path.name for path in folder.iterdir()), sorted([MSI_FILES[0], MSI_FILES[2]]),
                "the packages beside the split cabinet are extracted, nothing of it stays")


def test():
    test_every_package_is_extracted_unchanged()
    test_a_damaged_package_does_not_stop_the_others()


winetest.main(test)
