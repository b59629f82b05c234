#pragma once

#include <string>

namespace marrowleaf::tools {

// Writes the sample device's library: the library database "/mnt/ext1/system/explorer-3/
// explorer-3.db" (schema from desktop/res/db/explorer-3.sql), a small book file for every local
// book row, and "/mnt/ext1/system/config/desktop_data.cfg" with three store blocks (a row of
// offers, a single detailed offer, a news block). The first 60 books cover every kind of
// home-screen tile: opened books with progress and favourites, single added books, groups of 2, 4
// and 30 books added at one moment, a book only in the cloud, a sample with store data and prices,
// a loan with an expiry, an acsm download, a DRM book, a hidden book and books on the card. A
// larger `books` adds generated books (in folders of 500) in one transaction; 100 000 take a few
// seconds. host_root is the device root folder on the host. False with a message on failure; the
// old database then stays in place.
bool WriteSampleLibrary(const std::string& host_root, int books, std::string* error);

}  // namespace marrowleaf::tools
