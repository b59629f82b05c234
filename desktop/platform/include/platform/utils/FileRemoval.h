#pragma once

#include <string>

namespace marrowleaf::utilities {

// Deletes a book file by device path together with the files the device keeps beside it for that
// book: the reading-state folder "<path>.sdr" and the cover "<path>.cover" (when present). Returns
// 1 when the book file was deleted, 0 otherwise.
int unlink_file_with_af(const std::string& device_path);

}  // namespace marrowleaf::utilities
