"""Cabinets written byte by byte for the tests that need entries no packer writes (a name that
leaves the destination, a file that goes on in a next cabinet) and the entries' stored dates
and times: one folder, no compression."""
import struct

BLOCK = 32768


def stored_cabinet(entries, date=0x5A8C, time=0x6B2E):
    """A cabinet of (stored name, bytes) entries, each with the given MS-DOS date and time."""
    names = [name.encode("latin-1") + b"\0" for name, _ in entries]
    data = b"".join(content for _, content in entries)
    blocks = [data[i:i + BLOCK] for i in range(0, len(data), BLOCK)] or [b""]
    files_offset = 36 + 8
    data_offset = files_offset + sum(16 + len(name) for name in names)
    size = data_offset + sum(8 + len(block) for block in blocks)
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, size, 0, files_offset, 0, 3, 1, 1, len(entries), 0, 0, 0)
    folder = struct.pack("<IHH", data_offset, len(blocks), 0)
    table, offset = b"", 0
    for name, (_, content) in zip(names, entries):
        table += struct.pack("<IIHHHH", len(content), offset, 0, date, time, 0x20) + name
        offset += len(content)
    body = b"".join(struct.pack("<IHH", 0, len(block), len(block)) + block for block in blocks)
    return header + folder + table + body


def first_part_of_a_set(complete, continued):
    """The first cabinet of a two-cabinet set: the stored file `complete` (name, bytes) and the
    first half of `continued`, whose rest lies in the next cabinet ("part2.cab") of the set."""
    (name, content), (next_name, next_content) = complete, continued
    names = [name.encode("latin-1") + b"\0", next_name.encode("latin-1") + b"\0"]
    here = next_content[:len(next_content) // 2]
    next_set = b"part2.cab\0" + b"Disk 2\0"
    files_offset = 36 + len(next_set) + 8
    data_offset = files_offset + sum(16 + len(n) for n in names)
    # The whole file in one block, then the half block that goes on in the next cabinet (an
    # uncompressed size of 0 marks a block split between cabinets).
    blocks = [(content, len(content)), (here, 0)]
    size = data_offset + sum(8 + len(block) for block, _ in blocks)
    cfhdr_next_cabinet = 0x0002
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, size, 0, files_offset, 0, 3, 1, 1, 2,
                                   cfhdr_next_cabinet, 0, 0) + next_set
    folder = struct.pack("<IHH", data_offset, len(blocks), 0)
    continued_to_next = 0xFFFE
    table = (struct.pack("<IIHHHH", len(content), 0, 0, 0x5A8C, 0x6B2E, 0x20) + names[0] +
             struct.pack("<IIHHHH", len(next_content), len(content), continued_to_next, 0x5A8C, 0x6B2E, 0x20) + names[1])
    body = b"".join(struct.pack("<IHH", 0, len(block), uncompressed) + block for block, uncompressed in blocks)
    return header + folder + table + body


def entry_stamps(cabinet):
    """(name, date, time) of every entry of a cabinet's file table."""
    files_offset, = struct.unpack_from("<I", cabinet, 16)
    count, = struct.unpack_from("<H", cabinet, 28)
    stamps, at = [], files_offset
    for _ in range(count):
        date, time = struct.unpack_from("<HH", cabinet, at + 10)
        end = cabinet.index(b"\0", at + 16)
        stamps.append((cabinet[at + 16:end].decode("latin-1"), date, time))
        at = end + 1
    return stamps
