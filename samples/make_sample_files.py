#!/usr/bin/env python3
"""Writes the small payload files of the sample products into a folder: the Add/Remove Programs
icon, the placeholder application file, and the taxonomy package (a zip of schema files)."""
import pathlib
import struct
import sys
import zipfile


def icon() -> bytes:
    """A 16x16 32-bit icon of one colour."""
    size = 16
    pixels = struct.pack("<BBBB", 0xC0, 0x60, 0x30, 0xFF) * (size * size)
    mask = bytes(4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22) + image


def taxonomy(path: pathlib.Path) -> None:
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("META-INF/taxonomyPackage.xml",
                         '<?xml version="1.0" encoding="utf-8"?>\n'
                         '<taxonomyPackage><name>Sample XBRL Taxonomy 2024</name></taxonomyPackage>\n')
        archive.writestr("sample-2024/entry.xsd",
                         '<?xml version="1.0" encoding="utf-8"?>\n'
                         '<schema xmlns="http://www.w3.org/2001/XMLSchema"/>\n')


def main() -> None:
    folder = pathlib.Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "product.ico").write_bytes(icon())
    (folder / "application.txt").write_text("Placeholder application of a sample product.\n")
    taxonomy(folder / "taxonomy-xbrl-2024.zip")


main()
