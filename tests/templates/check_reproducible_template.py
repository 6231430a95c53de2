"""A built launcher template carries nothing that changes from one build to the next: no link time
in the PE header or the resource and debug directories, no file date in the version resource, and
no source or build folder among its bytes. Two builds in two folders then give the same file.

usage: check_reproducible_template.py SOURCE_DIR TEMPLATE..."""
import pathlib
import struct
import sys


class Pe:
    def __init__(self, data: bytes):
        self.data = data
        nt = struct.unpack_from("<I", data, 0x3C)[0]
        if data[:2] != b"MZ" or data[nt:nt + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.file_header = nt + 4
        sections, optional_size = struct.unpack_from("<H", data, nt + 6)[0], struct.unpack_from("<H", data, nt + 20)[0]
        optional = nt + 24
        self.directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
        self.sections = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8) for i in range(sections)]

    def time_stamp(self) -> int:
        return struct.unpack_from("<I", self.data, self.file_header + 4)[0]

    def directory(self, index: int) -> tuple[int, int]:
        return struct.unpack_from("<II", self.data, self.directories + 8 * index)

    def offset(self, rva: int) -> int:
        for virtual_size, address, raw_size, raw_pointer in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw_pointer + rva - address
        raise ValueError(f"RVA {rva:#x} is in no section")


def resource_tables(pe: Pe):
    """File offsets of every table of the resource tree, and of every data entry."""
    root = pe.offset(pe.directory(2)[0])
    tables, leaves, pending = [], [], [root]
    while pending:
        table = pending.pop()
        tables.append(table)
        named, numbered = struct.unpack_from("<HH", pe.data, table + 12)
        for entry in range(named + numbered):
            target = struct.unpack_from("<I", pe.data, table + 16 + 8 * entry + 4)[0]
            (pending if target & 0x80000000 else leaves).append(root + (target & 0x7FFFFFFF))
    return tables, leaves


def problems(template: pathlib.Path, source_dir: str) -> list[str]:
    data = template.read_bytes()
    pe = Pe(data)
    found = []
    if pe.time_stamp() != 0:
        found.append(f"PE header time stamp {pe.time_stamp():#x}")
    tables, leaves = resource_tables(pe)
    found += [f"resource table time stamp at {t:#x}" for t in tables if struct.unpack_from("<I", data, t + 4)[0]]
    versions = 0
    for leaf in leaves:
        rva, size = struct.unpack_from("<II", data, leaf)
        content = data[pe.offset(rva):pe.offset(rva) + size]
        at = content.find(struct.pack("<I", 0xFEEF04BD))
        if content.startswith("VS_VERSION_INFO".encode("utf-16-le"), 6) and at >= 0:
            versions += 1
            if struct.unpack_from("<II", content, at + 44) != (0, 0):
                found.append("file date in the version resource")
    if versions != 1:
        found.append(f"{versions} version resources, not one")
    debug_rva, debug_size = pe.directory(6)
    for entry in range(debug_size // 28 if debug_rva else 0):
        if struct.unpack_from("<I", data, pe.offset(debug_rva) + 28 * entry + 4)[0]:
            found.append(f"time stamp in debug directory entry {entry}")
    folder = source_dir.rstrip("/")
    for encoding in ("utf-8", "utf-16-le"):
        if folder.encode(encoding) in data:
            found.append(f"the source or build folder {folder} ({encoding})")
    return found


def main() -> int:
    source_dir, *templates = sys.argv[1:]
    failed = False
    for template in map(pathlib.Path, templates):
        if not template.is_file():
            print(f"{template}: not built (scripts/build builds the win32 and win64 presets)")
            failed = True
            continue
        found = problems(template, source_dir)
        print(f"{template}: " + ("; ".join(found) if found else "reproducible"))
        failed |= bool(found)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
