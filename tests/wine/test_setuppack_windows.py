"""The Windows build of setuppack packs the same setups as the Linux build, byte for byte, and
rejects bad input the same way."""
import subprocess

import winetest
from winetest import check, check_equal


def test():
    windows_tool = winetest.helper_program("setuppack.exe")
    template = winetest.launcher()
    work = winetest.work_dir()
    for sample in ("three-packages.json", "multi-language.json", "taxonomy.json"):
        description = winetest.samples_dir() / sample
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
