"""The help text (/? and invalid switches) of packed setups: commands, options and the
property groups that the first product's name selects."""
import winetest
from winetest import check, check_equal

START = "\r\nSetup.exe - command line syntax\r\n\r\nSetup.exe /h\n    Display this message.\r\n\r\n"
SUB_PACKAGES = "    SubPackages=all|none|<PackageNamePart>{,<PackageNamePart>}\n"
LANGUAGE = "    lang=<LanguageName>\n"
PORT = ("        BR_WebServer_Port=<port number>\n"
        "            Defines the port which must be used to access the Web Server.\r\n\r\n")
BRAMMEL_GROUPS = [
    "    Properties to configure the BrammelWeb Web server:\r\n",
    "    Properties to configure the BrammelWeb service:\r\n",
    "    Properties to configure the Brammel Web server:\r\n",
    "    Properties to configure the Brammel service:\r\n",
    "    Properties to specify an SSL certificate for Brammel and Brammel Web",
    "    Properties to configure the Wendrak Web server:\r\n",
    "    Properties to configure the Wendrak service:\r\n",
    "    Properties to configure the Yarrick Web server:\r\n",
    "    Properties to configure the Yarrick service:\r\n",
]


def help_of(setup, switch="/?"):
    result = winetest.run(setup, switch, timeout=60)
    # Help asked for succeeds; help shown for an invalid switch exits with 1639 (cut to 8 bits).
    check_equal(result.exit_code, 0 if switch in ("/?", "/h") else 1639 % 256, f"exit code of {switch}")
    return result.stdout


def test():
    server = help_of(winetest.pack("server-with-sub-package.json"))
    check(server.startswith(START), f"help begins with the syntax line and /h: {server[:200]!r}")
    check("Additional options available with above commands:\r\n" in server, "options heading")
    check(SUB_PACKAGES in server, "a two-package setup offers SubPackages=")
    check(LANGUAGE not in server, "a single-language setup offers no lang=")
    check(PORT in server, "the Brammel port property with its placeholder and description")
    positions = [server.find(title) for title in BRAMMEL_GROUPS]
    check(all(p >= 0 for p in positions), f"every Brammel group title is listed: {positions}")
    check(positions == sorted(positions), f"the groups are in catalogue order: {positions}")
    check("Pellomar" not in server and "Sorvik" not in server, "no groups of other servers")
    check_equal(help_of(winetest.pack("server-with-sub-package.json"), "/zz"), server, "help of an invalid switch")

    desktop = help_of(winetest.pack("quibrix-2024-x64.json", name="Setup.exe"))
    check(desktop.startswith(START), "desktop help begins like the server help")
    check("Properties to configure" not in desktop, "a desktop product lists no property groups")
    check(SUB_PACKAGES not in desktop, "a single-package setup offers no SubPackages=")
    check(desktop.endswith("or get a default value\nat first installation. \r\n\r\n"),
          f"the property list text ends a help without groups: {desktop[-120:]!r}")


winetest.main(test)
