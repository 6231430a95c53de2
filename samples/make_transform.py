#!/usr/bin/env python3
"""Writes a Windows Installer transform (.mst) that changes and adds rows of a package's
Property table and adds rows to its File table, for the language transforms of the sample
products and the transforms an administrator passes with TRANSFORMS=.

usage: make_transform.py OUT.mst --language LCID --platform x64|Intel --product-code GUID
                         --upgrade-code GUID --version VERSION
                         [--set NAME=VALUE ...] [--add NAME=VALUE ...]
                         [--add-file KEY:COMPONENT:FILENAME:SIZE:ATTRIBUTES:SEQUENCE ...]

--set changes the value of an existing property, --add inserts a new one, --add-file inserts a
File row (attributes 8192 marks a file that is not compressed: it lies beside the package). The
file is a structured storage (compound file, version 3) with the transform class id: a summary
information stream, the transform's own string pool and the changed rows of each table. Each row
starts with a 16-bit mask: an insert has bit 0 set and the number of columns in its high byte and
carries every column; an update carries the primary key and the columns whose bits are set.
Strings are 2-byte references into the transform's pool; integers are stored with their sign bit
flipped, in the width of the package's column (2 bytes for i2, 4 for i4), 0 standing for null.
"""
import argparse
import pathlib
import struct

SECTOR = 512
MINI_SECTOR = 64
MINI_CUTOFF = 4096
FREE, END_OF_CHAIN, FAT_SECTOR, NO_STREAM = 0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFF
TRANSFORM_CLSID = bytes.fromhex("82100c00000000 00c0000000000000 46".replace(" ", ""))
SUMMARY_FMTID = bytes.fromhex("e0859ff2f94f6810ab9108002b27b3d9")
CODEPAGE = 1252


# ---- stream names of installer tables ---------------------------------------------------------

def _mime(c: str) -> int:
    if "0" <= c <= "9":
        return ord(c) - ord("0")
    if "A" <= c <= "Z":
        return ord(c) - ord("A") + 10
    if "a" <= c <= "z":
        return ord(c) - ord("a") + 36
    return {".": 62, "_": 63}.get(c, -1)


def table_stream_name(table: str) -> str:
    """Table streams get a marker character and pack two name characters into one."""
    out = [chr(0x4840)]
    i = 0
    while i < len(table):
        first = _mime(table[i])
        if first < 0:
            out.append(table[i])
            i += 1
            continue
        second = _mime(table[i + 1]) if i + 1 < len(table) else -1
        if second >= 0:
            out.append(chr(0x3800 + (second << 6) + first))
            i += 2
        else:
            out.append(chr(0x4800 + first))
            i += 1
    return "".join(out)


# ---- transform content ----------------------------------------------------------------------

class StringPool:
    """The transform's own strings; id 0 means null."""

    def __init__(self):
        self.strings: list[bytes] = []
        self.refs: list[int] = []

    def ref(self, text: str) -> int:
        data = text.encode("cp1252")
        if data not in self.strings:
            self.strings.append(data)
            self.refs.append(0)
        index = self.strings.index(data)
        self.refs[index] += 1
        return index + 1

    def streams(self) -> tuple[bytes, bytes]:
        pool = struct.pack("<HH", CODEPAGE, 0)  # codepage, 2-byte string references
        for data, refs in zip(self.strings, self.refs):
            pool += struct.pack("<HH", len(data), refs)
        return pool, b"".join(self.strings)


def property_rows(pool: StringPool, updates: dict[str, str], inserts: dict[str, str]) -> bytes:
    rows = b""
    for name, value in updates.items():
        rows += struct.pack("<HHH", 0x0002, pool.ref(name), pool.ref(value))  # key, then column 1
    for name, value in inserts.items():
        rows += struct.pack("<HHH", 0x0201, pool.ref(name), pool.ref(value))  # insert of 2 columns
    return rows


# The package's File table: File s72, Component_ s72, FileName l255, FileSize i4, Version S72,
# Language S20, Attributes I2, Sequence i4.
FILE_COLUMNS = 8


def file_rows(pool: StringPool, files: list[str]) -> bytes:
    rows = b""
    for item in files:
        key, component, name, size, attributes, sequence = item.split(":")
        rows += struct.pack("<HHHHI", (FILE_COLUMNS << 8) | 0x0001, pool.ref(key), pool.ref(component), pool.ref(name),
                            int(size) ^ 0x80000000)
        rows += struct.pack("<HHHI", 0, 0, int(attributes) ^ 0x8000, int(sequence) ^ 0x80000000)  # no version, language
    return rows


def summary_information(platform: str, language: int, product_code: str, upgrade_code: str, version: str) -> bytes:
    def text(value: str) -> bytes:
        data = value.encode("cp1252") + b"\0"
        data += b"\0" * (-len(data) % 4)
        return struct.pack("<II", 30, len(value) + 1) + data

    properties = [
        (1, struct.pack("<IhH", 2, CODEPAGE, 0)),                       # codepage
        (2, text("Transform")),                                          # title
        (7, text(f"{platform};1033")),                                   # target platform and language
        (8, text(f"{platform};{language}")),                             # transformed platform and language
        (9, text(f"{product_code}{version};{product_code}{version};{upgrade_code}")),
        (14, struct.pack("<Ii", 3, 200)),                                # installer version
        (16, struct.pack("<Ii", 3, 0)),                                  # no validation, no error suppression
    ]
    offset = 8 + 8 * len(properties)
    index, values = b"", b""
    for pid, value in properties:
        index += struct.pack("<II", pid, offset + len(values))
        values += value
    section = struct.pack("<II", offset + len(values), len(properties)) + index + values
    header = struct.pack("<HHI", 0xFFFE, 0, 0x00020006) + bytes(16) + struct.pack("<I", 1)
    return header + SUMMARY_FMTID + struct.pack("<I", 48) + section


# ---- compound file --------------------------------------------------------------------------

def _entry(name: str, kind: int, child=NO_STREAM, left=NO_STREAM, right=NO_STREAM, start=END_OF_CHAIN,
           size=0, clsid=bytes(16)) -> bytes:
    encoded = name.encode("utf-16-le") + b"\0\0"
    return (encoded.ljust(64, b"\0") + struct.pack("<HBB", len(encoded), kind, 1)
            + struct.pack("<III", left, right, child) + clsid + bytes(4 + 16)
            + struct.pack("<IQ", start, size))


def _sort_key(name: str):
    return (len(name), name.upper())


def compound_file(streams: dict[str, bytes], clsid: bytes) -> bytes:
    names = sorted(streams, key=_sort_key)
    # Small streams live in the mini stream, in 64-byte sectors.
    mini_stream, mini_fat, starts = b"", [], {}
    big_streams = []
    for name in names:
        data = streams[name]
        if len(data) >= MINI_CUTOFF:
            big_streams.append(name)
            continue
        count = -(-len(data) // MINI_SECTOR)
        starts[name] = len(mini_fat) if count else END_OF_CHAIN
        for k in range(count):
            mini_fat.append(len(mini_fat) + 1 if k < count - 1 else END_OF_CHAIN)
        mini_stream += data.ljust(count * MINI_SECTOR, b"\0")

    # Regular sectors: big streams, mini stream, mini FAT, directory; then the FAT itself.
    sectors: list[bytes] = []
    fat: list[int] = []

    def place(data: bytes) -> int:
        if not data:
            return END_OF_CHAIN
        first = len(sectors)
        count = -(-len(data) // SECTOR)
        for k in range(count):
            sectors.append(data[k * SECTOR:(k + 1) * SECTOR].ljust(SECTOR, b"\0"))
            fat.append(first + k + 1 if k < count - 1 else END_OF_CHAIN)
        return first

    for name in big_streams:
        starts[name] = place(streams[name])
    mini_stream_start = place(mini_stream)
    mini_fat_start = place(b"".join(struct.pack("<I", v) for v in mini_fat))
    mini_fat_sectors = -(-len(mini_fat) * 4 // SECTOR)

    # Directory: root, then the streams as a balanced binary tree in name order.
    ids = {name: i + 1 for i, name in enumerate(names)}
    links = {}

    def build(part: list[str]) -> int:
        if not part:
            return NO_STREAM
        middle = len(part) // 2
        links[part[middle]] = (build(part[:middle]), build(part[middle + 1:]))
        return ids[part[middle]]

    root_child = build(names)
    directory = _entry("Root Entry", 5, child=root_child, start=mini_stream_start, size=len(mini_stream), clsid=clsid)
    for name in names:
        left, right = links[name]
        directory += _entry(name, 2, left=left, right=right, start=starts[name], size=len(streams[name]))
    directory += bytes(-len(directory) % SECTOR)
    directory_start = place(directory)

    fat_count = 1
    while (len(sectors) + fat_count) * 4 > fat_count * SECTOR:
        fat_count += 1
    fat_start = len(sectors)
    fat += [FAT_SECTOR] * fat_count
    fat += [FREE] * (fat_count * SECTOR // 4 - len(fat))
    fat_bytes = b"".join(struct.pack("<I", v) for v in fat)
    if fat_count > 109:
        raise ValueError("transform too large for a header-only sector allocation table")
    difat = [fat_start + k for k in range(fat_count)] + [FREE] * (109 - fat_count)

    header = (bytes.fromhex("d0cf11e0a1b11ae1") + bytes(16) + struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6)
              + bytes(6) + struct.pack("<IIIIIIIII", 0, fat_count, directory_start, 0, MINI_CUTOFF,
                                      mini_fat_start if mini_fat else END_OF_CHAIN, mini_fat_sectors,
                                      END_OF_CHAIN, 0)
              + b"".join(struct.pack("<I", v) for v in difat))
    return header + b"".join(sectors) + fat_bytes


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", type=pathlib.Path)
    parser.add_argument("--language", type=int, required=True)
    parser.add_argument("--platform", required=True)
    parser.add_argument("--product-code", required=True)
    parser.add_argument("--upgrade-code", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--set", action="append", default=[], metavar="NAME=VALUE")
    parser.add_argument("--add", action="append", default=[], metavar="NAME=VALUE")
    parser.add_argument("--add-file", action="append", default=[],
                        metavar="KEY:COMPONENT:FILENAME:SIZE:ATTRIBUTES:SEQUENCE")
    options = parser.parse_args()
    updates = dict(item.split("=", 1) for item in options.set)
    inserts = dict(item.split("=", 1) for item in options.add)

    pool = StringPool()
    tables = {"Property": property_rows(pool, updates, inserts), "File": file_rows(pool, options.add_file)}
    string_pool, string_data = pool.streams()
    streams = {
        "\x05SummaryInformation": summary_information(options.platform, options.language, options.product_code,
                                                      options.upgrade_code, options.version),
        table_stream_name("_StringPool"): string_pool,
        table_stream_name("_StringData"): string_data,
    }
    streams.update({table_stream_name(name): rows for name, rows in tables.items() if rows})
    options.output.write_bytes(compound_file(streams, TRANSFORM_CLSID))


main()
