"""Package cabinets written by setuppack expand through Windows' Cabinet.dll (FDI): a sample
package, packages of many 32 KB blocks (compressed on several threads), one that ends exactly on
a block boundary, an empty one, one of incompressible blocks, and a truncated one that FDI must
reject. The launcher's own extractor over Cabinet.dll: files and folders, a truncated cabinet
that leaves no cut-short file, and an entry named to leave the destination."""
import json
import random
import subprocess

import cabinet_files
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


def extract_with_launcher(cabinet_bytes, label):
    """Runs the launcher's extractor on the cabinet; its printed values and the target folder."""
    work = winetest.work_dir()
    cabinet = work / f"{label}.cab"
    cabinet.write_bytes(cabinet_bytes)
    target = work / f"launcher-{label}" / "dest"
    target.parent.mkdir()
    result = winetest.run(winetest.helper_program("cabinet-probe.exe"), winetest.windows_path(cabinet),
                          winetest.windows_path(target), timeout=120)
    check_equal(result.exit_code, 0, f"cabinet-probe ran: {result.stdout!r}")
    values = {}
    for line in result.stdout.splitlines():
        name, _, value = line.partition("=")
        values.setdefault(name, []).append(value)
    return values, target


def files_below(folder):
    return sorted(str(path.relative_to(folder)) for path in folder.rglob("*") if path.is_file())


def test_launcher_extractor(sample_cabinet, cut_cabinet):
    values, target = extract_with_launcher(sample_cabinet, "sample")
    check_equal(values.get("extract"), ["1"], f"the launcher's extractor expands the sample: {values}")
    check((target / "quibrix-2024-x64.msi").read_bytes() == (winetest.samples_dir() / "quibrix-2024-x64.msi").read_bytes(),
          "the launcher's extractor writes the sample MSI unchanged")

    stored = cabinet_files.stored_cabinet([("first.txt", b"first"), ("sub\\second.bin", bytes(70000)), ("empty", b"")])
    values, target = extract_with_launcher(stored, "stamps")
    check_equal(values.get("extract"), ["1"], f"a cabinet with a subfolder and an empty file: {values}")
    check_equal(files_below(target), ["empty", "first.txt", "sub/second.bin"], "files of the stored cabinet")
    # Wine 8 keeps no creation time of its own (SetFileTime succeeds, and the time read back is
    # that of the last change), so the entries' stamps are compared by the host tests only.
    check_equal(len(values.get("created", [])), 3, f"every file is closed and readable: {values}")

    values, target = extract_with_launcher(cut_cabinet, "cut")
    check_equal(values.get("extract"), ["0"], f"a truncated cabinet fails: {values}")
    check_equal(values.get("disk_full"), ["0"], "a truncated cabinet is no full disk")
    check(values.get("start"), f"the truncated cabinet's file was started: {values}")
    check_equal(files_below(target) if target.exists() else [], [], "no cut-short file is left")

    escaping = cabinet_files.stored_cabinet([("first.txt", b"first"), ("..\\escaped.txt", b"out")])
    values, target = extract_with_launcher(escaping, "escaping")
    check_equal(values.get("extract"), ["0"], f"an entry leaving the destination fails the cabinet: {values}")
    check(not (target.parent / "escaped.txt").exists(), "nothing is written beside the destination")
    check_equal(files_below(target) if target.exists() else [], [], "nothing of the refused cabinet stays")


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

    exact = winetest.work_dir() / "exact.msi"
    exact.write_bytes(b"".join(generator.randbytes(4096) + b"feature row " * 2389 + b"abcd" for _ in range(64)))
    check_equal(exact.stat().st_size, 64 * 32768, "the exact package is 64 blocks long")
    empty = winetest.work_dir() / "empty.msi"
    empty.write_bytes(b"")
    stored = winetest.work_dir() / "stored.msi"  # random bytes: stored, not deflated
    stored.write_bytes(generator.randbytes(10 * 32768 + 1000))
    for package in (exact, empty, stored):
        packed = winetest.pack("quibrix-2024-x64.json", name=f"{package.stem}.exe",
                               packages=[dict(_sample_package(), msi=str(package))])
        result, target = expand(cabinet_of(packed), package.stem)
        check_equal(result.exit_code, 0, f"FDI expands {package.name}: {result.stdout!r}")
        expanded = target / package.name
        check(expanded.is_file() and expanded.read_bytes() == package.read_bytes(), f"{package.name} expands unchanged")

    cut_setup = winetest.pack("quibrix-2024-x64.json", name="Cut.exe", resources={"PACKAGE_0": {"truncate": 200}},
                              packages=[dict(_sample_package(), msi=str(large))])
    cut = cabinet_of(cut_setup)
    check_equal(len(cut), 200, "a truncated package keeps the announced length")
    result, _ = expand(cut, "cut")
    check(result.exit_code != 0 and "FDICopy failed" in result.stdout, f"FDI rejects a truncated cabinet: {result.stdout!r}")

    test_launcher_extractor(cabinet_of(setup), cabinet_of(large_setup)[:60000])


def _sample_package():
    return json.loads((winetest.samples_dir() / "quibrix-2024-x64.json").read_text())["packages"][0]


winetest.main(test)
