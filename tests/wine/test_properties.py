"""Command-line properties checked at start-up: numeric ports and properties no group lists."""
import winetest
from winetest import check, check_equal

# A malformed property value exits with 1639, which reaches Linux cut to its low 8 bits.
INVALID = 1639 % 256
NOT_NUMERIC = "\r\nError: Parameter BR_WebServer_Port must be numeric\n\r\n\r\n"
UNKNOWN = ("Warning: the property 'FOO' specified on the command line is not directly supported by this "
           "installer but will be passed on neverthless.\r\n")


def test():
    setup = winetest.pack("brammel-server-2024.json")
    result = winetest.run(setup, "BR_WebServer_Port=80a", timeout=60)
    check_equal((result.exit_code, result.stdout), (INVALID, NOT_NUMERIC), "a port that is not numeric")

    # The unknown property warns first; the bad port then ends the run before the wizard.
    result = winetest.run(setup, "FOO=1", "BR_WebServer_Port=80a", timeout=60)
    check_equal((result.exit_code, result.stdout), (INVALID, UNKNOWN + NOT_NUMERIC), "an unknown property and a bad port")

    # Every failing port is named, each on its own line.
    result = winetest.run(setup, "BR_SSLWebServer_Port=x", "BRWeb_WebServer_Port=12 ", "WK_WebServer_Port=9z", timeout=60)
    check_equal(result.exit_code, INVALID, "exit code with two bad ports")
    check_equal(result.stdout, "\r\nError: Parameter BR_SSLWebServer_Port must be numeric\n"
                               "Error: Parameter WK_WebServer_Port must be numeric\n\r\n\r\n", "two bad ports")


winetest.main(test)
