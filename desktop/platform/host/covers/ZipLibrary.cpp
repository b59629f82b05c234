#include "ZipLibrary.h"

#include "SharedLibrary.h"

namespace marrowleaf::platform {
namespace {

bool FindAll(SharedLibrary& library, ZipLibrary& zip) {
  return library.Find("zip_open", &zip.Open) &&
         library.Find("zip_open_from_source", &zip.OpenFromSource) &&
         library.Find("zip_discard", &zip.Discard) &&
         library.Find("zip_get_num_entries", &zip.GetNumEntries) &&
         library.Find("zip_get_name", &zip.GetName) &&
         library.Find("zip_error_init", &zip.ErrorInit) &&
         library.Find("zip_error_fini", &zip.ErrorFini) &&
         library.Find("zip_source_buffer_create", &zip.SourceBufferCreate) &&
         library.Find("zip_source_free", &zip.SourceFree) &&
         library.Find("zip_stat_init", &zip.StatInit) && library.Find("zip_stat", &zip.Stat) &&
         library.Find("zip_fopen_index", &zip.FopenIndex) &&
         library.Find("zip_fread", &zip.Fread) && library.Find("zip_fclose", &zip.Fclose);
}

}  // namespace

const ZipLibrary* ZipLibrary::Get() {
  return SharedLibrary::OpenTable<ZipLibrary>(MARROWLEAF_LIBZIP_LIBRARY, "archive", FindAll);
}

}  // namespace marrowleaf::platform
