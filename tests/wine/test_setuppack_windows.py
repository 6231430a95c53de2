"""The Windows build of setuppack packs the same setups as the Linux build, byte for byte (also a
package of many blocks, compressed on several threads), and rejects bad input the same way."""
import json
import random
import subprocess

import winetest
from winetest import check, check_equal


def test():
    windows_tool = winetest.helper_program("setuppack.exe")
    template = winetest.launcher()
    work = winetest.work_dir()
    large = work / "large.msi"
    generator = random.Random(11)
    large.write_bytes(b"".join(generator.randbytes(5000) + b"component row " * 1500 for _ in range(120))
                      + generator.randbytes(200000))  # blocks that are stored, not deflated
    large_description = work / "large.json"
    large_description.write_text(json.dumps({"packages": [{
        "productName": "Tarquel Quibrix 2024", "productCode": "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D01}",
        "packageCode": "{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D02}", "productId": "QB::P", "productPlatform": "x64",
        "productVersion": "2024.00.01.02", "msi": large.name}]}))
    samples = [winetest.samples_dir() / sample for sample in ("three-packages.json", "multi-language.json", "taxonomy.json")]
    for description in [*samples, large_description]:
        sample = description.name
        host_output = work / f"host-{sample}.exe"
        windows_output = work / f"windows-{sample}.exe"
        subprocess.run([str(winetest.setuppack()), "--template", str(template), "--setup", str(description),
                        "--out", str(host_output)], check=True, timeout=300)
        result = winetest.run(windows_tool, "--template", winetest.windows_path(template),
                              "--setup", winetest.windows_path(description),
                              "--out", winetest.windows_path(windows_output), timeout=300)
        check_equal(result.exit_code, 0, f"exit code of setuppack.exe for {sample}")
        check(windows_output.read_bytes() == host_output.read_bytes(), f"{sample}: both builds write the same setup")

    broken = work / "broken.json"
    broken.write_text('{"packages": [}')
    result = winetest.run(windows_tool, "--template", winetest.windows_path(template), "--setup",
                          winetest.windows_path(broken), "--out", winetest.windows_path(work / "broken.exe"), timeout=60)
    check(result.exit_code != 0, "malformed description is rejected")
    check(not (work / "broken.exe").exists(), "no output for a malformed description")


winetest.main(test)
