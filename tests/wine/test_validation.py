"""Resource validation (/v) of packed setups: complete ones, and ones with resources missing."""
import winetest
from winetest import check_equal

HEADER = "\r\nValidation if all necessary resources have been compiled into setup.\r\n"
COMPLETE = HEADER + "All resources have been detected.\r\n"


def validate(setup, *args):
    result = winetest.run(setup, "/v", *args, timeout=60)
    return result.exit_code, result.stdout


def failed(*names):
    return "".join(f"    Test for resource {name} failed!" for name in names)


def test():
    check_equal(validate(winetest.pack("quibrix-2024-x64.json")), (0, COMPLETE), "complete single-package setup")
    check_equal(validate(winetest.pack("three-packages.json")), (0, COMPLETE), "complete three-package setup")

    single = winetest.pack("quibrix-2024-x64.json", resources={"PACKAGE_0": None}, name="NoPackage.exe")
    check_equal(validate(single), (1, HEADER + failed("PACKAGE_0") + "Some resources are missing.\r\n"),
                "single-package setup without PACKAGE_0")

    # Every missing resource is reported, in check order, on one line.
    two = winetest.pack("two-packages.json", resources={"OS": None, "PRODUCT_NAME_1": None, "PACKAGE_1": None},
                        name="TwoMissing.exe")
    check_equal(validate(two), (1, HEADER + failed("OS", "PRODUCT_NAME_1", "PACKAGE_1") + "Some resources are missing.\r\n"),
                "two-package setup without OS, PRODUCT_NAME_1 and PACKAGE_1")

    # The multi-language sample carries German and French transforms; each language's
    # transform is checked in its own resource language.
    multi = winetest.pack("multi-language.json", name="MultiLanguage.exe")
    check_equal(validate(multi),
                (1, HEADER + failed("PACKAGE_0_1034 [1034]", "PACKAGE_0_1041 [1041]", "PACKAGE_0_2052 [2052]")
                 + "Some resources are missing.\r\n"),
                "multi-language setup with German and French transforms")
    spanish_in_english = winetest.pack("multi-language.json", name="SpanishInEnglish.exe", resources={
        "PACKAGE_0_1034": {"file": str(winetest.samples_dir() / "quibrix-2024-x64_de.mst"), "language": 1033}})
    check_equal(validate(spanish_in_english)[1].count("PACKAGE_0_1034 [1034]"), 1,
                "a transform in the wrong resource language counts as missing")


winetest.main(test)
