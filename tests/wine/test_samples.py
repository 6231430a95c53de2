"""The sample products keep the package contract when Windows Installer installs them: the
installation "Setup" key in the right registry view, the product properties, the application
file, the custom-installation marker (in the 32-bit view the launcher reads), the language
transforms, the record of the launcher properties they received, and the refusal on request."""
import winetest
from winetest import check, check_equal


def msiexec(*args):
    result = winetest.run("msiexec", *args, "/qn", timeout=120)
    check_equal(result.exit_code, 0, f"msiexec {' '.join(args)}")


def setup_key(registry_name, key_version, suffix):
    return f"HKLM\\SOFTWARE\\Tarquel\\{registry_name}\\Installation_v{key_version}{suffix}\\Setup"


def check_product(msi, registry_name, key_version, product_id, version, is_64bit, language="en", properties=()):
    package = winetest.windows_path(winetest.samples_dir() / msi)
    key = setup_key(registry_name, key_version, "_x64" if is_64bit else "")
    view, other_view = (64, 32) if is_64bit else (32, 64)
    msiexec("/i", package, *properties)
    try:
        check_equal(winetest.reg_query(key, "Version", view), version, f"{msi}: Version")
        check_equal(winetest.reg_query(key, "ProductId", view), product_id, f"{msi}: ProductId")
        check_equal(winetest.reg_query(key, "Language", view), language, f"{msi}: Language")
        check_equal(winetest.reg_query(key, "InstalledFromFendral", view), "0x0", f"{msi}: InstalledFromFendral")
        application = winetest.reg_query(key, "ApplicationPath", view)
        check(application is not None and winetest.unix_path(application).is_file(),
              f"{msi}: ApplicationPath {application!r} names an installed file")
        check_equal(winetest.reg_query(key, "Version", other_view), None, f"{msi}: nothing in the other view")
        return winetest.reg_query("HKLM\\Software\\Tarquel", "CurrentInstallationType", 32)
    finally:
        msiexec("/x", package)
        check_equal(winetest.reg_query(key, "Version", view), None, f"{msi}: the key goes with the product")


def test():
    check_equal(check_product("quibrix-2024-x64.msi", "Quib Rix", 2024, "QB::P", "2024.00.01.02", True), None,
                "a default installation is not reported as custom")
    check_product("quibrix-2023-x86.msi", "Quib Rix", 2023, "QB::P", "2023.00.01.03", False)
    check_product("brammel-server-2024-x64.msi", "BrammelServer", 2024, "BS::Z", "2024.00.01.01", True)
    check_equal(check_product("wendrak-7.2-x64.msi", "Wendrak", 7, "WK::N", "7.2.1.4", True,
                              properties=("INSTALLLEVEL=2",)), "Custom", "a custom installation is reported")

    # What a package received is recorded under its own key; what it did not receive stays empty.
    package = winetest.windows_path(winetest.samples_dir() / "brammel-server-2024-x64.msi")
    received = "HKLM\\SOFTWARE\\Tarquel\\Samples\\brammel-server-2024-x64"
    msiexec("/i", package, "INSTALLEDFROMLAUNCHER=Yes", "SAMPLE_VALUE=given")
    try:
        check_equal(winetest.reg_query(received, "INSTALLEDFROMLAUNCHER", 64), "Yes", "recorded property")
        check_equal(winetest.reg_query(received, "SAMPLE_VALUE", 64), "given", "recorded command-line value")
        check_equal(winetest.reg_query(received, "HAS_SUB_PACKAGES", 64), "", "a property not given")
    finally:
        msiexec("/x", package)
    check_equal(winetest.reg_query(received, "INSTALLEDFROMLAUNCHER", 64), None, "the record goes with the product")

    # A sample named by SAMPLE_REFUSE fails its launch condition (1603, cut to 67 by Wine).
    refused = winetest.run("msiexec", "/i", package, "SAMPLE_REFUSE=brammel-server-2024-x64", "/qn", timeout=120)
    check_equal(refused.exit_code, 1603 & 0xFF, "a refusing sample fails with 1603")
    check_equal(winetest.reg_query(setup_key("BrammelServer", 2024, "_x64"), "Version", 64), None,
                "a refused sample installs nothing")

    for iso in ("de", "fr"):
        transform = winetest.windows_path(winetest.samples_dir() / f"quibrix-2024-x64_{iso}.mst")
        check_product("quibrix-2024-x64.msi", "Quib Rix", 2024, "QB::P", "2024.00.01.02", True, language=iso,
                      properties=(f"TRANSFORMS={transform}",))


winetest.main(test)
