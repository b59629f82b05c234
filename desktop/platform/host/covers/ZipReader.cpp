#include "ZipReader.h"

#include <sys/stat.h>

#include <algorithm>

#include "ZipLibrary.h"

namespace marrowleaf::platform {

ZipReader::ZipReader(zip* archive) : archive_(archive) {}

// A reader exists only for an archive the library opened: the library is there.
ZipReader::~ZipReader() {
  ZipLibrary::Get()->Discard(archive_);
}

std::unique_ptr<ZipReader> ZipReader::Adopt(zip* archive, std::unique_ptr<std::string> bytes) {
  if (archive == nullptr)
    return nullptr;
  const ZipLibrary* library = ZipLibrary::Get();
  const zip_int64_t count = library->GetNumEntries(archive, 0);
  if (count < 0 || static_cast<size_t>(count) > CoverLimits::kMaxArchiveEntries) {
    library->Discard(archive);
    return nullptr;
  }
  std::unique_ptr<ZipReader> reader(new ZipReader(archive));
  reader->bytes_ = std::move(bytes);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = library->GetName(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
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
  const ZipLibrary* library = ZipLibrary::Get();
  if (library == nullptr)
    return nullptr;
  int error = 0;
  return Adopt(library->Open(host_path.c_str(), ZIP_RDONLY, &error), nullptr);
}

std::unique_ptr<ZipReader> ZipReader::OpenBytes(std::string bytes) {
  const ZipLibrary* library = ZipLibrary::Get();
  if (library == nullptr)
    return nullptr;
  auto owned = std::make_unique<std::string>(std::move(bytes));
  zip_error_t error;
  library->ErrorInit(&error);
  zip_source_t* source = library->SourceBufferCreate(owned->data(), owned->size(), 0, &error);
  library->ErrorFini(&error);
  if (source == nullptr)
    return nullptr;
  library->ErrorInit(&error);
  zip* archive = library->OpenFromSource(source, ZIP_RDONLY, &error);
  library->ErrorFini(&error);
  if (archive == nullptr) {
    library->SourceFree(source);
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
  const ZipLibrary* library = ZipLibrary::Get();
  zip_stat_t info;
  library->StatInit(&info);
  if (deadline.Passed() || library->Stat(archive_, name.c_str(), 0, &info) != 0)
    return false;
  if ((info.valid & ZIP_STAT_ENCRYPTION_METHOD) && info.encryption_method != ZIP_EM_NONE)
    return false;
  if (unpacked_ >= CoverLimits::kMaxArchiveUnpackedBytes)
    return false;
  const size_t allowed = std::min(max_bytes, CoverLimits::kMaxArchiveUnpackedBytes - unpacked_);
  if ((info.valid & ZIP_STAT_SIZE) && info.size > allowed)
    return false;
  zip_file_t* file = library->FopenIndex(archive_, info.index, 0);
  if (file == nullptr)
    return false;
  // The header's size is not trusted: reading stops at the cap, whatever the entry really holds.
  char buffer[64 * 1024];
  bool ok = true;
  for (;;) {
    const zip_int64_t got = library->Fread(file, buffer, sizeof buffer);
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
  library->Fclose(file);
  if (!ok)
    content->clear();
  return ok;
}

}  // namespace marrowleaf::platform
