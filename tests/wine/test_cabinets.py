"""Package cabinets written by setuppack expand through Windows' Cabinet.dll (FDI): a sample
package, a package of many 32 KB blocks, and a truncated one that FDI must reject."""
import json
import random
import subprocess

import winetest
from winetest import check, check_equal


def cabinet_of(setup, name="PACKAGE_0"):
    """The cabinet held in a package resource, without its 32-bit length prefix."""
    resource = subprocess.run(["wrestool", "-x", "--raw", "--type=40", f"--name={name}", str(setup)],
                              capture_output=True, check=True, timeout=60).stdout
    length = int.from_bytes(resource[:4], "little")
    check_equal(length, len(resource) - 4, f"length prefix of {name}")
    return resource[4:]


def expand(cabinet_bytes, label):
    work = winetest.work_dir()
    cabinet = work / f"{label}.cab"
    cabinet.write_bytes(cabinet_bytes)
    target = work / label
    target.mkdir()
    result = winetest.run(winetest.helper_program("cabinet-extract.exe"), winetest.windows_path(cabinet),
                          winetest.windows_path(target), timeout=120)
    return result, target


def test():
    setup = winetest.pack("quibrix-2024-x64.json")
    result, target = expand(cabinet_of(setup), "sample")
    check_equal(result.exit_code, 0, f"FDI expands the sample package: {result.stdout!r}")
    expanded = target / "quibrix-2024-x64.msi"
    check(expanded.is_file() and expanded.read_bytes() == (winetest.samples_dir() / "quibrix-2024-x64.msi").read_bytes(),
          "the expanded MSI equals the sample")

    large = winetest.work_dir() / "large.msi"
    generator = random.Random(7)
    large.write_bytes(b"".join(generator.randbytes(3000) + b"table row " * 700 for _ in range(100)))
    large_setup = winetest.pack("quibrix-2024-x64.json", name="Large.exe",
                                packages=[dict(_sample_package(), msi=str(large))])
    result, target = expand(cabinet_of(large_setup), "large")
    check_equal(result.exit_code, 0, f"FDI expands a package of many blocks: {result.stdout!r}")
    check((target / "large.msi").read_bytes() == large.read_bytes(), "the expanded large package is unchanged")

    cut_setup = winetest.pack("quibrix-2024-x64.json", name="Cut.exe", resources={"PACKAGE_0": {"truncate": 200}},
                              packages=[dict(_sample_package(), msi=str(large))])
    cut = cabinet_of(cut_setup)
    check_equal(len(cut), 200, "a truncated package keeps the announced length")
    result, _ = expand(cut, "cut")
    check(result.exit_code != 0 and "FDICopy failed" in result.stdout, f"FDI rejects a truncated cabinet: {result.stdout!r}")


def _sample_package():
    return json.loads((winetest.samples_dir() / "quibrix-2024-x64.json").read_text())["packages"][0]


winetest.main(test)
