"""The sample products keep the package contract when Windows Installer installs them: the
installation "Setup" key in the right registry view, the product properties, the application
file, the custom-installation marker, and the language transforms."""
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
        return winetest.reg_query("HKLM\\Software\\Tarquel", "CurrentInstallationType", view)
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

    for iso in ("de", "fr"):
        transform = winetest.windows_path(winetest.samples_dir() / f"quibrix-2024-x64_{iso}.mst")
        check_product("quibrix-2024-x64.msi", "Quib Rix", 2024, "QB::P", "2024.00.01.02", True, language=iso,
                      properties=(f"TRANSFORMS={transform}",))


winetest.main(test)
