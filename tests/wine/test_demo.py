"""The README's demo command on a brand-new Wine prefix, as on a fresh machine: no prefix and no
wineserver of it yet, its own display. It must pass on that first run."""
import os
import pathlib
import shutil
import subprocess

import winetest
from winetest import check, check_equal

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[2]


def test():
    work = winetest.work_dir()
    prefix = work / "prefix"
    shutil.rmtree(prefix, ignore_errors=True)
    env = dict(os.environ, WINEPREFIX=str(prefix), SETUP_DEMO_DIR=str(work / "demo"))
    for variable in ("DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(variable, None)
    try:
        demo = subprocess.run([str(SOURCE_DIR / "scripts" / "demo")], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, errors="replace", timeout=900)
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
    output = demo.stdout
    check_equal(demo.returncode, 0, f"exit code of scripts/demo (output: {output!r}, errors: {demo.stderr!r})")
    check(f"Creating the Wine prefix {prefix}" in output, f"the demo made a new prefix: {output!r}")
    check(output.count("== exit code: 0") >= 4, f"help, validation, installation and removal succeed: {output!r}")
    check("All resources have been detected." in output, f"validation report: {output!r}")
    check("=== SetupLauncher started" in output and "=== SetupLauncher stopped" in output,
          f"the silent run's setup log: {output!r}")
    installed = output.split("== installed products:")[1].split("== Setup.exe")[0]
    check("Tarquel Quibrix 2024" in installed and "Tarquel Brammel Server 2024" in installed,
          f"both products installed: {installed!r}")
    after = output.split("== installed products after the removal:")[1]
    check("none of the sample's products" in after, f"both products removed: {after!r}")


winetest.main(test)
