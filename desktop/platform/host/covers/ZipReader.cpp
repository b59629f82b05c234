#include "ZipReader.h"

#include <zip.h>

#include <sys/stat.h>
#include <algorithm>

namespace marrowleaf::platform {

ZipReader::ZipReader(zip* archive) : archive_(archive) {}

ZipReader::~ZipReader() {
  zip_discard(archive_);
}

std::unique_ptr<ZipReader> ZipReader::Adopt(zip* archive, std::unique_ptr<std::string> bytes) {
  if (archive == nullptr)
    return nullptr;
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  if (count < 0 || static_cast<size_t>(count) > CoverLimits::kMaxArchiveEntries) {
    zip_discard(archive);
    return nullptr;
  }
  std::unique_ptr<ZipReader> reader(new ZipReader(archive));
  reader->bytes_ = std::move(bytes);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
    if (name != nullptr && *name != '\0' && name[std::char_traits<char>::length(name) - 1] != '/')
      reader->names_.emplace_back(name);
  }
  return reader;
}

std::unique_ptr<ZipReader> ZipReader::OpenFile(const std::string& host_path) {
  struct stat info;
  if (stat(host_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<unsigned long long>(info.st_size) > CoverLimits::kMaxDocumentBytes) {
    return nullptr;
  }
  int error = 0;
  return Adopt(zip_open(host_path.c_str(), ZIP_RDONLY, &error), nullptr);
}

std::unique_ptr<ZipReader> ZipReader::OpenBytes(std::string bytes) {
  auto owned = std::make_unique<std::string>(std::move(bytes));
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(owned->data(), owned->size(), 0, &error);
  zip_error_fini(&error);
  if (source == nullptr)
    return nullptr;
  zip_error_init(&error);
  zip* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  zip_error_fini(&error);
  if (archive == nullptr) {
    zip_source_free(source);
    return nullptr;
  }
  return Adopt(archive, std::move(owned));
}

bool ZipReader::Has(const std::string& name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

bool ZipReader::Read(const std::string& name, size_t max_bytes, const CoverDeadline& deadline,
                     std::string* content) {
  content->clear();
  zip_stat_t info;
  zip_stat_init(&info);
  if (deadline.Passed() || zip_stat(archive_, name.c_str(), 0, &info) != 0)
    return false;
  if ((info.valid & ZIP_STAT_ENCRYPTION_METHOD) && info.encryption_method != ZIP_EM_NONE)
    return false;
  if (unpacked_ >= CoverLimits::kMaxArchiveUnpackedBytes)
    return false;
  const size_t allowed = std::min(max_bytes, CoverLimits::kMaxArchiveUnpackedBytes - unpacked_);
  if ((info.valid & ZIP_STAT_SIZE) && info.size > allowed)
    return false;
  zip_file_t* file = zip_fopen_index(archive_, info.index, 0);
  if (file == nullptr)
    return false;
  // The header's size is not trusted: reading stops at the cap, whatever the entry really holds.
  char buffer[64 * 1024];
  bool ok = true;
  for (;;) {
    const zip_int64_t got = zip_fread(file, buffer, sizeof buffer);
    if (got < 0) {
      ok = false;
      break;
    }
    if (got == 0)
      break;
    unpacked_ += static_cast<size_t>(got);
    if (content->size() + static_cast<size_t>(got) > allowed || deadline.Passed()) {
      ok = false;
      break;
    }
    content->append(buffer, static_cast<size_t>(got));
  }
  zip_fclose(file);
  if (!ok)
    content->clear();
  return ok;
}

}  // namespace marrowleaf::platform
