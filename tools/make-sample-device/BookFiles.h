// Real book files made in memory: EPUB 2 and 3, FB2, MOBI, CBZ and PDF, each with the cover
// picture given. The sample device and the cover tests use them. Header-only, so tests can use it
// without linking the generator.
#pragma once

#include <jpeglib.h>
#include <zip.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "PlainBookFiles.h"

namespace marrowleaf::tools {

class BookFiles : public PlainBookFiles {
 public:
  using Entries = std::vector<std::pair<std::string, std::string>>;

  // JPEG bytes of 32-bit 0x??RRGGBB pixels (rows of width pixels).
  static std::string Jpeg(const uint32_t* pixels, int width, int height, int quality = 85) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
      const uint32_t* source = pixels + static_cast<size_t>(info.next_scanline) * width;
      for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<unsigned char>(source[x] >> 16);
        row[x * 3 + 1] = static_cast<unsigned char>(source[x] >> 8);
        row[x * 3 + 2] = static_cast<unsigned char>(source[x]);
      }
      JSAMPROW rows[1] = {row.data()};
      jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
  }

  // A ZIP archive of the entries, in their order; `stored` entries are kept uncompressed.
  static std::string Zip(const Entries& entries, const std::vector<std::string>& stored = {}) {
    char name[] = "/tmp/bookfiles-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
      return std::string();
    close(fd);
    int error = 0;
    zip_t* archive = zip_open(name, ZIP_TRUNCATE, &error);
    std::string bytes;
    if (archive != nullptr) {
      for (const auto& [path, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, path.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
          zip_source_free(source);
          continue;
        }
        for (const std::string& plain : stored) {
          if (plain == path)
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        }
      }
      if (zip_close(archive) == 0)
        bytes = ReadAll(name);
      else
        zip_discard(archive);
    }
    std::remove(name);
    return bytes;
  }

  static std::string Container(const std::string& package = "OEBPS/content.opf") {
    return "<?xml version=\"1.0\"?>\n<container version=\"1.0\" "
           "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile "
           "full-path=\"" +
           package +
           "\" media-type=\"application/oebps-package+xml\"/>"
           "</rootfiles></container>\n";
  }

  static std::string Chapter(const std::string& title, const std::string& image_href = "") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<html "
           "xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>" +
           Escape(title) + "</title></head><body>" +
           (image_href.empty() ? "" : "<div><img src=\"" + image_href + "\" alt=\"\"/></div>") +
           "<h1>" + Escape(title) + "</h1><p>The first page of the book.</p></body></html>\n";
  }

  // An EPUB. version 2 declares the cover with <meta name="cover">, version 3 with the
  // "cover-image" property. With an empty cover the book has no picture at all; with
  // cover_in_first_chapter the picture is only shown by the first chapter, not declared.
  static std::string Epub(int version, const std::string& title, const std::string& author,
                          const std::string& cover, const std::string& cover_type = "image/jpeg",
                          bool cover_in_first_chapter = false) {
    const std::string cover_name = cover_type == "image/png" ? "cover.png" : "cover.jpg";
    const bool declared = !cover.empty() && !cover_in_first_chapter;
    std::string opf =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<package "
        "xmlns=\"http://www.idpf.org/2007/opf\" "
        "version=\"" +
        std::string(version == 3 ? "3.0" : "2.0") +
        "\" unique-identifier=\"id\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
        "<dc:identifier id=\"id\">urn:sample:" +
        Escape(title) + "</dc:identifier><dc:title>" + Escape(title) + "</dc:title><dc:creator>" +
        Escape(author) + "</dc:creator><dc:language>en</dc:language>";
    if (declared && version == 2)
      opf += "<meta name=\"cover\" content=\"cover-image\"/>";
    opf += "</metadata><manifest>";
    if (!cover.empty()) {
      opf += "<item id=\"cover-image\" href=\"images/" + cover_name + "\" media-type=\"" +
             cover_type + "\"" + (declared && version == 3 ? " properties=\"cover-image\"" : "") +
             "/>";
    }
    opf +=
        "<item id=\"c1\" href=\"text/chapter1.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"c2\" href=\"text/chapter2.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "</manifest><spine><itemref idref=\"c1\"/><itemref idref=\"c2\"/></spine></package>\n";
    Entries entries = {{"mimetype", "application/epub+zip"},
                       {"META-INF/container.xml", Container()},
                       {"OEBPS/content.opf", opf},
                       {"OEBPS/text/chapter1.xhtml",
                        Chapter(title, cover_in_first_chapter ? "../images/" + cover_name : "")},
                       {"OEBPS/text/chapter2.xhtml", Chapter("Chapter two")}};
    if (!cover.empty())
      entries.emplace_back("OEBPS/images/" + cover_name, cover);
    return Zip(entries, {"mimetype"});
  }

  // A MOBI file: PalmDB header, record 0 with the PalmDOC and MOBI headers and an EXTH block whose
  // record 201 points at the cover, one text record and the picture record.
  static std::string Mobi(const std::string& title, const std::string& cover) {
    std::string exth = "EXTH";
    std::string records;
    Put32(&records, 201);
    Put32(&records, 12);
    Put32(&records, 0);
    Put32(&exth, static_cast<uint32_t>(12 + records.size()));
    Put32(&exth, 1);
    exth += records;
    std::string record0(16, '\0');  // PalmDOC header
    std::string mobi = "MOBI";
    const uint32_t header_length = 232;
    Put32(&mobi, header_length);
    mobi.resize(header_length, '\0');
    const uint32_t name_offset = 16 + header_length + static_cast<uint32_t>(exth.size());
    Set32(&mobi, 84 - 16, name_offset);
    Set32(&mobi, 88 - 16, static_cast<uint32_t>(title.size()));
    Set32(&mobi, 108 - 16, 2);     // first picture record
    Set32(&mobi, 128 - 16, 0x40);  // EXTH present
    record0 += mobi + exth + title;
    const std::string text = "The first page of the book.";
    std::string palm(78, '\0');
    palm.replace(0, std::min<size_t>(title.size(), 31), title.substr(0, 31));
    palm.replace(60, 8, "BOOKMOBI");
    palm[76] = 0;
    palm[77] = 3;
    const uint32_t first = 78 + 3 * 8 + 2;
    const uint32_t offsets[3] = {first, first + static_cast<uint32_t>(record0.size()),
                                 first + static_cast<uint32_t>(record0.size() + text.size())};
    for (int i = 0; i < 3; ++i) {
      Put32(&palm, offsets[i]);
      Put32(&palm, static_cast<uint32_t>(i));
    }
    palm += std::string(2, '\0');
    return palm + record0 + text + cover;
  }

 private:
  static void Put32(std::string* out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
      out->push_back(static_cast<char>((value >> shift) & 0xff));
  }

  static void Set32(std::string* out, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
      (*out)[offset + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
  }

  static std::string ReadAll(const char* path) {
    std::string bytes;
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
      return bytes;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
  }
};

}  // namespace marrowleaf::tools
