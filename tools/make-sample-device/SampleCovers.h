#pragma once

#include <string>

namespace marrowleaf::tools {

// Gives the sample library real book files with real covers: every local book row of the library
// database gets a file of its kind at its path (FB2 with a drawn cover, PDF with a drawn first
// page; one FB2 and the text files stay without a picture), books only in the cloud get pictures
// in the library's cover store, the store blocks get their cover pictures, and a shelf of further
// books shows every kind of cover source ("/mnt/ext1/Books/Covers": EPUB 2 and 3, an EPUB whose
// first chapter holds the picture, an EPUB without any picture, CBZ, MOBI, a DjVu when the
// DjVuLibre tool c44 is installed). Run after the library database is written.
bool WriteSampleBookFiles(const std::string& host_root, std::string* error);

}  // namespace marrowleaf::tools
