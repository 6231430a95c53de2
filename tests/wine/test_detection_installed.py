"""Detection of a product installed from a sample MSI through the real Windows Installer: its
MSI product code, its installations and the package installation state, for this build of the
package and for another one; then its removal with "REMOVE=ALL ". Skipped (exit code 77) when
the sample products have not been built."""
import subprocess
import sys

import winetest
from winetest import check, check_equal

SAMPLE = "quibrix-2023-x64.msi"
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


def test():
    msi = winetest.samples_dir() / SAMPLE
    if not msi.exists():
        print(f"SKIPPED: the sample product {msi} has not been built")
        sys.exit(77)
    package = package_code(msi)
    check_equal(values("msicode", "QB::P", "2023.00.01.03", "x64"), [""], "no product code before installing")

    check_equal(values("install", winetest.windows_path(msi), "INSTALLEDFROMLAUNCHER=Yes "), ["0"], "install result")
    try:
        code = values("msicode", "QB::P", "2023.00.01.03", "x64")[0]
        check(len(code) == 38 and code.startswith("{"), f"product code of the 64-bit product: {code!r}")
        check_equal(values("msicode", "QB::P", "2023.00.01.03", "x86"), [""], "no 32-bit product")
        check_equal(values("msicode", "QB::P", "2023.00.01.04", "x64"), [""], "no product of another build number")
        check_equal(values("installations", "QB::P", "2024.00.00.00", "x64"), ["QB::P 2023.00.01.03 x64 alone en"],
                    "installation key written by the package")
        check_equal(values("exact", "QB::P", "2023.0.1.0", "x64"), ["1"], "exact version")
        check_equal(probe("state", code, package.lower(), "msi"),
                    [("registered", "1"), ("other_installer", "0"), ("installed", "1")], "state of this build")
        check_equal(probe("state", code, OTHER_PACKAGE_CODE, "msi"),
                    [("registered", "1"), ("other_installer", "1"), ("installed", "0")], "state of another build")
    finally:
        removal = values("install", winetest.windows_path(msi), "REMOVE=ALL ")
    check_equal(removal, ["0"], "removal result")
    check_equal(probe("state", code, package, "msi"),
                [("registered", "0"), ("other_installer", "0"), ("installed", "0")], "state after the removal")
    check_equal(values("installations", "QB::P", "2024.00.00.00", "x64"), [], "no installation after the removal")


winetest.main(test)
