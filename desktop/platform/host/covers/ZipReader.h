#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CoverLimits.h"

struct zip;

namespace marrowleaf::platform {

// Read-only access to a ZIP archive (EPUB, CBZ) that distrusts it: entries are read with a cap on
// their size whatever their header claims, the bytes decompressed from the whole archive have a
// common cap (zip bombs), encrypted entries are refused, and archives with too many entries are
// not opened.
class ZipReader {
 public:
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  // nullptr when the file is missing, too large or not a readable archive.
  static std::unique_ptr<ZipReader> OpenFile(const std::string& host_path);
  // The archive in memory; the reader keeps its own copy of the bytes.
  static std::unique_ptr<ZipReader> OpenBytes(std::string bytes);

  // Names of the file entries in the archive's own order (folders left out).
  const std::vector<std::string>& Names() const { return names_; }
  bool Has(const std::string& name) const;
  // Reads an entry whole. False when it is missing, encrypted, larger than max_bytes, damaged,
  // would pass the archive's cap of unpacked bytes, or the deadline passed.
  bool Read(const std::string& name, size_t max_bytes, const CoverDeadline& deadline,
            std::string* content);

 private:
  explicit ZipReader(zip* archive);
  static std::unique_ptr<ZipReader> Adopt(zip* archive, std::unique_ptr<std::string> bytes);

  std::unique_ptr<std::string> bytes_;
  zip* archive_;
  std::vector<std::string> names_;
  size_t unpacked_ = 0;
};

}  // namespace marrowleaf::platform
