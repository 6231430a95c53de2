"""Detection of a product installed from a sample MSI through the real Windows Installer: its
MSI product code, its installations and the package installation state, for this build of the
package and for another one, beside the 32-bit edition in the other registry view; then its
removal from the install source, which fails while the source folder holds a second MSI file.
Skipped (exit code 77) when the sample products have not been built."""
import pathlib
import shutil
import subprocess
import sys

import winetest
from winetest import check, check_equal

SAMPLE = "quibrix-2023-x64.msi"
SAMPLE_32BIT = "quibrix-2023-x86.msi"
OTHER_PACKAGE_CODE = "{00000000-0000-0000-0000-000000000000}"


def probe(*args):
    result = winetest.run(winetest.helper_program("detection-probe.exe"), *args, timeout=120)
    check_equal(result.exit_code, 0, f"exit code of detection-probe {args}")
    return [tuple(line.partition("=")[::2]) for line in result.stdout.splitlines() if "=" in line]


def values(*args):
    return [value for _, value in probe(*args)]


def package_code(msi):
    """The package code of the MSI: the revision number of its summary information."""
    text = subprocess.run(["msiinfo", "suminfo", str(msi)], capture_output=True, text=True, check=True).stdout
    for line in text.splitlines():
        if line.lower().startswith("revision number"):
            return line.split()[-1]
    raise winetest.HarnessError(f"no package code in the summary of {msi}")


def install_source(sample):
    """A folder of its own that holds only the sample MSI, so that the test can add files to the
    product's install source."""
    folder = winetest.work_dir() / "source"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir()
    return pathlib.Path(shutil.copy(sample, folder))


def check_installed(code, package):
    check(len(code) == 38 and code.startswith("{"), f"product code of the 64-bit product: {code!r}")
    check_equal(values("msicode", "QB::P", "2023.00.01.04", "x64"), [""], "no product of another build number")
    check_equal(values("exact", "QB::P", "2023.0.1.0", "x64"), ["1"], "exact version")
    check_equal(probe("state", code, package.lower(), "msi"),
                [("registered", "1"), ("other_installer", "0"), ("installed", "1")], "state of this build")
    check_equal(probe("state", code, OTHER_PACKAGE_CODE, "msi"),
                [("registered", "1"), ("other_installer", "1"), ("installed", "0")], "state of another build")


def check_both_views(code):
    """With the 32-bit edition installed as well, each view holds one installation."""
    code_32bit = values("msicode", "QB::P", "2023.00.01.03", "x86")[0]
    check(code_32bit not in ("", code), f"product code of the 32-bit product: {code_32bit!r}")
    check_equal(values("installations", "QB::P", "2024.00.00.00", "x64"),
                ["QB::P 2023.00.01.03 x86 alone en", "QB::P 2023.00.01.03 x64 alone en"],
                "installation keys written by the packages, 32-bit view first")
    check_equal(values("newest", "QB::P", "2024.00.00.00", "x86"), ["QB::P 2023.00.01.03 x86 alone en"],
                "newest installation in the 32-bit view")
    check_equal(values("newest", "QB::P", "2023.00.00.00", "x64"), ["none"],
                "an installation newer than the package is not its previous installation")


def check_uninstall_from_cache(msi):
    """Two MSI files in the install source leave the product alone (kind 9); with one it goes."""
    second = msi.with_name("second.msi")
    shutil.copy(msi, second)
    check_equal(values("uninstall", "QB::P", "2023.00.01.03", "x64"), ["9", "0"], "removal with two MSI files")
    check(values("msicode", "QB::P", "2023.00.01.03", "x64")[0] != "", "the product stays installed")
    second.unlink()
    check_equal(values("uninstall", "QB::P", "2023.00.01.03", "x64"), ["0", "0"], "removal from the install source")
    check_equal(values("msicode", "QB::P", "2023.00.01.03", "x64"), [""], "the product is gone")
    check_equal(values("uninstall", "QB::P", "2023.00.01.03", "x64"), ["9", "0"], "removal of a product not installed")


def test():
    sample = winetest.samples_dir() / SAMPLE
    if not sample.exists():
        print(f"SKIPPED: the sample product {sample} has not been built")
        sys.exit(77)
    package = package_code(sample)
    msi = install_source(sample)
    check_equal(values("msicode", "QB::P", "2023.00.01.03", "x64"), [""], "no product code before installing")

    check_equal(values("install", winetest.windows_path(msi), "INSTALLEDFROMLAUNCHER=Yes "), ["0"], "install result")
    code = values("msicode", "QB::P", "2023.00.01.03", "x64")[0]
    msi_32bit = winetest.windows_path(winetest.samples_dir() / SAMPLE_32BIT)
    try:
        check_installed(code, package)
        check_equal(values("install", msi_32bit, ""), ["0"], "install result of the 32-bit edition")
        check_both_views(code)
        check_uninstall_from_cache(msi)
    finally:
        # Removal whatever happened above; its own result is checked below, so that a failure
        # of the removal never hides the failure that ended the checks.
        for source in (msi_32bit, winetest.windows_path(msi)):
            winetest.run(winetest.helper_program("detection-probe.exe"), "install", source, "REMOVE=ALL ", timeout=120)
    check_equal(probe("state", code, package, "msi"),
                [("registered", "0"), ("other_installer", "0"), ("installed", "0")], "state after the removal")
    check_equal(values("installations", "QB::P", "2024.00.00.00", "x64"), [], "no installation after the removal")


winetest.main(test)
