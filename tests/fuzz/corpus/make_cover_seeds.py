#!/usr/bin/env python3
"""Writes the seed corpora of the book cover readers (epub, fb2, mobi, cbz): small valid books and
damaged variants that reach the readers' checks."""
import base64
import io
import os
import struct
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
PICTURE = b"\xff\xd8\xff\xe0" + b"\x00" * 60 + b"\xff\xd9"
PNG = b"\x89PNG\r\n\x1a\n" + b"\x00" * 40


def write(folder, name, data):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    with open(os.path.join(HERE, folder, name), "wb") as out:
        out.write(data)


def zip_bytes(entries):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries:
            archive.writestr(name, data)
    return buffer.getvalue()


CONTAINER = (b'<?xml version="1.0"?><container xmlns="urn:oasis:names:tc:opendocument:xmlns:container">'
             b'<rootfiles><rootfile full-path="OEBPS/content.opf"/></rootfiles></container>')


def opf(meta, item_props, guide=b""):
    return (b'<package xmlns="http://www.idpf.org/2007/opf" version="3.0"><metadata '
            b'xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>T</dc:title><dc:creator>A'
            b'</dc:creator>' + meta + b'</metadata><manifest><item id="img" href="images/c.jpg" '
            b'media-type="image/jpeg"' + item_props + b'/><item id="c1" href="text/c1.xhtml" '
            b'media-type="application/xhtml+xml"/></manifest><spine><itemref idref="c1"/></spine>'
            + guide + b'</package>')


CHAPTER = b'<html xmlns="http://www.w3.org/1999/xhtml"><body><img src="../images/c.jpg"/></body></html>'


def epub(package, chapter=CHAPTER):
    return zip_bytes([("mimetype", b"application/epub+zip"), ("META-INF/container.xml", CONTAINER),
                      ("OEBPS/content.opf", package), ("OEBPS/text/c1.xhtml", chapter),
                      ("OEBPS/images/c.jpg", PICTURE)])


write("epub", "epub2_meta", epub(opf(b'<meta name="cover" content="img"/>', b"")))
write("epub", "epub3_property", epub(opf(b"", b' properties="cover-image"')))
write("epub", "first_chapter", epub(opf(b"", b"")))
write("epub", "guide", epub(opf(b"", b"", b'<guide><reference type="cover" href="images/c.jpg"/></guide>')))
write("epub", "escaping_href", epub(opf(b"", b' properties="cover-image"').replace(b"images/c.jpg", b"../../x.jpg")))
write("epub", "truncated", epub(opf(b"", b""))[:300])
write("epub", "deep", zip_bytes([("META-INF/container.xml", CONTAINER),
                                 ("OEBPS/content.opf", b"<package>" + b"<a>" * 400)]))

FB2 = (b'<?xml version="1.0"?><FictionBook xmlns:l="http://www.w3.org/1999/xlink"><description>'
       b'<title-info><author><first-name>A</first-name><last-name>B</last-name></author>'
       b'<book-title>T</book-title><coverpage><image l:href="#c"/></coverpage></title-info>'
       b'</description><body/><binary id="c">%s</binary></FictionBook>')
write("fb2", "cover", FB2 % base64.b64encode(PNG))
write("fb2", "bad_base64", FB2 % b"@@@@")
write("fb2", "no_binary", FB2.replace(b'<binary id="c">%s</binary>', b""))
write("fb2", "truncated", (FB2 % base64.b64encode(PNG))[:200])


def mobi(cover_offset=0, first_image=2, exth_length=None):
    exth_records = struct.pack(">III", 201, 12, cover_offset)
    exth = b"EXTH" + struct.pack(">II", exth_length or 12 + len(exth_records), 1) + exth_records
    header = bytearray(b"MOBI" + struct.pack(">I", 232) + b"\x00" * 224)
    struct.pack_into(">I", header, 108 - 16, first_image)
    struct.pack_into(">I", header, 128 - 16, 0x40)
    record0 = b"\x00" * 16 + bytes(header) + exth
    text = b"text"
    first = 78 + 3 * 8 + 2
    offsets = [first, first + len(record0), first + len(record0) + len(text)]
    palm = bytearray(b"T".ljust(60, b"\x00") + b"BOOKMOBI" + b"\x00" * 8 + struct.pack(">H", 3))
    for index, offset in enumerate(offsets):
        palm += struct.pack(">II", offset, index)
    return bytes(palm) + b"\x00\x00" + record0 + text + PICTURE


write("mobi", "cover", mobi())
write("mobi", "cover_past_end", mobi(cover_offset=0x7fffffff))
write("mobi", "bad_exth_length", mobi(exth_length=0xffffffff))
write("mobi", "first_image_none", mobi(first_image=0xffffffff))
write("mobi", "truncated", mobi()[:120])

write("cbz", "pages", zip_bytes([("b.png", PNG), ("a.jpg", PICTURE), ("__MACOSX/._a.jpg", b"x")]))
write("cbz", "no_pictures", zip_bytes([("readme.txt", b"none")]))
write("cbz", "truncated", zip_bytes([("a.jpg", PICTURE)])[:50])
