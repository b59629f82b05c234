#!/usr/bin/env python3
"""Writes the seed corpus of the update-file fuzz target into swupdate/ beside this script.

Each seed is the bytes of an update file as it lies on the storage: gzip-compressed (.gz) or
plain (.raw), which the reader takes as well. Run it again after changing the file layout.
"""
import gzip
import pathlib
import struct

MAGIC = b"MarrowleafUpdate"
VERSION = b"6.8.1234"  # the fuzz target's device runs this version


def update_file(version=VERSION, sections=(), magic=MAGIC):
    """A header with the section table, and each section's data at offset + 1024.

    sections: (name, data) or (name, data, offset, length); data of placed sections follows
    the previous one.
    """
    body = bytearray(1024)
    body[0:len(magic)] = magic
    body[36:36 + len(version)] = version
    next_offset = 0
    for index, section in enumerate(sections):
        name, data = section[0], section[1]
        offset = section[2] if len(section) > 2 else next_offset
        length = section[3] if len(section) > 3 else len(data)
        entry = 256 + index * 16
        body[entry:entry + len(name)] = name
        body[entry + 8:entry + 16] = struct.pack("<II", offset, length)
        if len(section) <= 2:
            end = 1024 + offset + len(data)
            if len(body) < end:
                body.extend(bytes(end - len(body)))
            body[1024 + offset:end] = data
            next_offset = offset + len(data)
    return bytes(body)


def seeds():
    text = b"NAME=firmware\nVERSION=6.8.1234\n\0"
    yield "valid_no_a_section.gz", update_file(sections=[(b"kernel", b"\x7fELF" * 64)]), True
    yield "valid_no_a_section.raw", update_file(sections=[(b"kernel", b"\x7fELF" * 64)]), False
    yield "two_a_sections.gz", update_file(b"1.0", [(b"app", b"VERSION=2.0\n\0"),
                                                     (b"rootfs", b"\0" * 200),
                                                     (b"app2", text)]), True
    yield "a_section_without_version.gz", update_file(sections=[(b"a", b"KEY=1\n\0")]), True
    yield "a_section_binary.raw", update_file(sections=[(b"a", b"VERSION=6.8.1234")]), False
    yield "version_fills_field.gz", update_file(b"123456789012", [(b"a", text)]), True
    yield "long_version_value.raw", update_file(sections=[(b"a", b"VERSION=" + b"9" * 60 + b"\0")]), False
    yield "sixteen_sections.gz", update_file(sections=[(b"a%d" % i, text) for i in range(16)]), True
    yield "truncated_511.gz", update_file()[:511], True
    yield "truncated_header.raw", update_file()[:40], False
    yield "wrong_magic.gz", update_file(magic=b"MarrowleafUpdatX"), True
    yield "huge_offset.gz", update_file(sections=[(b"a", b"", 0xFFFFFFF0, 64)]), True
    yield "huge_length.raw", update_file(sections=[(b"a", text, 0, 0xFFFFFFFF)]), False
    yield "section_cut_short.raw", update_file(sections=[(b"a", b"VERSION=6", 0, 900)]), False
    yield "damaged_gzip.gz", gzip.compress(update_file(), mtime=0)[:60] + b"\xff" * 40, False
    yield "empty.raw", b"", False


def main():
    folder = pathlib.Path(__file__).resolve().parent / "swupdate"
    folder.mkdir(exist_ok=True)
    for name, data, compress in seeds():
        (folder / name).write_bytes(gzip.compress(data, mtime=0) if compress else data)


if __name__ == "__main__":
    main()
