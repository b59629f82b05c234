#pragma once

#include <zip.h>

namespace marrowleaf::platform {

// The archive library's functions, opened the first time a book's archive must be read (see
// SharedLibrary): a start whose covers are all cached never loads it, nor the crypto library it
// pulls in.
struct ZipLibrary {
  decltype(&::zip_open) Open = nullptr;
  decltype(&::zip_open_from_source) OpenFromSource = nullptr;
  decltype(&::zip_discard) Discard = nullptr;
  decltype(&::zip_get_num_entries) GetNumEntries = nullptr;
  decltype(&::zip_get_name) GetName = nullptr;
  decltype(&::zip_error_init) ErrorInit = nullptr;
  decltype(&::zip_error_fini) ErrorFini = nullptr;
  decltype(&::zip_source_buffer_create) SourceBufferCreate = nullptr;
  decltype(&::zip_source_free) SourceFree = nullptr;
  decltype(&::zip_stat_init) StatInit = nullptr;
  decltype(&::zip_stat) Stat = nullptr;
  decltype(&::zip_fopen_index) FopenIndex = nullptr;
  decltype(&::zip_fread) Fread = nullptr;
  decltype(&::zip_fclose) Fclose = nullptr;

  // The library with every function found, opened once; nullptr (logged once) when it is missing
  // or lacks one of them.
  static const ZipLibrary* Get();
};

}  // namespace marrowleaf::platform
