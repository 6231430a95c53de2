"""A setup is signed after packing, as a release engineer does it: packed from a signed template
(whose certificate table setuppack leaves out, saying so), signed with osslsigncode and a
throw-away certificate, verified, and the signed setup still validates itself (/v), installs
silently and removes itself under Wine."""
import subprocess

import winetest
from winetest import check, check_equal

UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
PRODUCTS = ("{5C1F2402-7C55-4E3B-9C6B-0A1A2B3C4D01}", "{5C1FB524-7C55-4E3B-9C6B-0A1A2B3C4D01}")


def tool(*args):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=120)


def sign(certificate, key, source, target):
    signed = tool("osslsigncode", "sign", "-certs", str(certificate), "-key", str(key), "-n", "Tarquel test setup",
                  "-in", str(source), "-out", str(target))
    check_equal(signed.returncode, 0, f"osslsigncode sign {source.name}: {signed.stderr}")


def verified(certificate, path):
    return tool("osslsigncode", "verify", "-CAfile", str(certificate), "-in", str(path)).returncode == 0


def installed(product):
    return winetest.reg_query(f"{UNINSTALL}\\{product}", None, 64) is not None


def test():
    work = winetest.work_dir()
    key, certificate = work / "signer.key", work / "signer.pem"
    made = tool("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", str(key), "-out", str(certificate),
                "-days", "2", "-subj", "/CN=Throw-away test signer")
    check_equal(made.returncode, 0, f"openssl makes the throw-away certificate: {made.stderr}")

    signed_template = work / "signed-template.exe"
    sign(certificate, key, winetest.launcher(), signed_template)
    check(verified(certificate, signed_template), "the signed template verifies")
    winetest.pack("two-packages.json", name="Setup.exe")  # writes the description beside it
    setup = work / "Setup.exe"
    packed = tool(str(winetest.setuppack()), "--template", str(signed_template), "--setup", str(work / "Setup.json"),
                  "--out", str(setup))
    check_equal(packed.returncode, 0, f"setuppack with a signed template: {packed.stderr}")
    check("is signed: its certificate table is left out" in packed.stderr, f"setuppack says so: {packed.stderr!r}")
    check(not verified(certificate, setup), "the packed setup carries no signature of the template")

    signed_setup = work / "SignedSetup.exe"
    sign(certificate, key, setup, signed_setup)
    check(verified(certificate, signed_setup), "the signed setup verifies")
    tampered = work / "Tampered.exe"
    data = bytearray(signed_setup.read_bytes())
    data[len(data) // 2] ^= 0x01
    tampered.write_bytes(data)
    check(not verified(certificate, tampered), "a changed byte breaks the signature")

    check_equal(winetest.run(signed_setup, "/v", timeout=120).exit_code, 0, "the signed setup validates itself")
    result = winetest.run(signed_setup, "/qn", timeout=300)
    check_equal(result.exit_code, 0, "silent installation from the signed setup")
    for product in PRODUCTS:
        check(installed(product), f"{product} is installed")
    result = winetest.run(signed_setup, "/x", "/qn", timeout=300)
    check_equal(result.exit_code, 0, "silent removal")
    for product in PRODUCTS:
        check(not installed(product), f"{product} is removed")


winetest.main(test)
