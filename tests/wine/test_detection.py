"""Detection of installed products against the real registry (both views) and Windows
Installer: the same answers as the host stand-ins give for the same installations."""
import winetest
from winetest import check, check_equal

BASE = "HKLM\\SOFTWARE\\Tarquel"


def probe(*args):
    result = winetest.run(winetest.helper_program("detection-probe.exe"), *args, timeout=60)
    check_equal(result.exit_code, 0, f"exit code of detection-probe {args}")
    return [line.partition("=")[::2] for line in result.stdout.splitlines() if "=" in line]


def values(*args):
    return [value for _, value in probe(*args)]


def add_installation(product, key, view, version, product_id, from_suite=0, language="en"):
    setup = f"{BASE}\\{product}\\{key}\\Setup"
    for name, kind, data in (("Version", "REG_SZ", version), ("ProductId", "REG_SZ", product_id),
                             ("InstalledFromFendral", "REG_DWORD", str(from_suite)),
                             ("Language", "REG_SZ", language)):
        if data == "":
            continue
        result = winetest.run("reg", "add", setup, "/v", name, "/t", kind, "/d", data, "/f", f"/reg:{view}", timeout=30)
        check_equal(result.exit_code, 0, f"reg add {setup} {name}")


def remove_products():
    for view in (32, 64):
        winetest.run("reg", "delete", BASE, "/f", f"/reg:{view}", timeout=30)


def test_installations_in_both_views():
    add_installation("Quib Rix", "Installation_v2023", 32, "2023.00.01.00", "QB::P")
    add_installation("Quib Rix", "Installation_v2024_x64", 64, "2024.00.00.00", "QB::E", from_suite=1, language="de")
    add_installation("Quib Rix", "Installation_v2022", 32, "2022.00.00.00", "")
    check_equal(values("installations", "QB::P", "2024.00.00.00", "x86"),
                ["QB::P 2022.00.00.00 x86 alone en", "QB::P 2023.00.01.00 x86 alone en", "QB::E 2024.00.00.00 x64 suite de"],
                "installations of Quibrix in both views")
    check_equal(values("newest", "QB::E", "2025.00.00.00", "x64", "1"), ["QB::E 2024.00.00.00 x64 suite de"],
                "newest 64-bit suite installation")
    check_equal(values("newest", "QB::E", "2025.00.00.00", "x86", "1"), ["none"],
                "no 32-bit suite installation")
    check_equal(values("newest", "QB::P", "2023.00.00.00", "x86"), ["QB::P 2022.00.00.00 x86 alone en"],
                "the 2023 sp1 installation is newer than a 2023 package")
    check_equal(values("exact", "QB::P", "2023.0.1.7", "x86"), ["1"], "exact version, build ignored")
    check_equal(values("exact", "QB::P", "2023.0.1.7", "x64"), ["0"], "exact version in the other view")


def test_add_in_twins():
    add_installation("NistaAddInForExcel", "Installation_v2023", 32, "2023.00.00.00", "YX::I")
    add_installation("NistaAddInForExcel", "Installation_v2023_x64", 64, "2023.00.00.00", "YX::I")
    check_equal(values("installations", "YX::I", "2023.00.00.00", "x86"), ["YX::I 2023.00.00.00 x64 alone en"],
                "the 64-bit add-in hides its 32-bit twin")


def test_windows_installer_without_the_product():
    check_equal(values("msicode", "QB::P", "2023.00.01.03", "x86"), [""], "no MSI product code")
    check_equal(probe("state", "{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D01}", "{5C1F2301-7C55-4E3B-9C6B-0A1A2B3C4D02}", "msi"),
                [("registered", "0"), ("other_installer", "0"), ("installed", "0")], "package state")


def test():
    remove_products()
    try:
        test_installations_in_both_views()
        test_add_in_twins()
        test_windows_installer_without_the_product()
    finally:
        remove_products()


winetest.main(test)
