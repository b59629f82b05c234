// Feeds arbitrary bytes to the firmware update-file reader. Each input is written twice into a
// private device root, once as it is (the reader takes plain data and gzip streams alike) and once
// gzip-compressed, so mutations reach the header and section parsing behind the decompressor too.
// The reader may delete the file; it is written anew for each call.
#include <stdlib.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "system_init/SwUpdateFile.h"

namespace {

constexpr const char* kUpdatePath = "/mnt/ext1/update.bin";

void RemoveRoot();

// A temporary device root for the whole run, removed when the process ends. The name is never
// freed, so the exit handler that removes the folder can still read it.
const std::string& FuzzRoot() {
  static const std::string& root = *new std::string([] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "swupdate-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      std::abort();
    setenv("MARROWLEAF_ROOT", pattern.c_str(), 1);
    ReloadDeviceRoot();
    std::filesystem::create_directories(pattern + "/.sim");
    std::filesystem::create_directories(pattern + "/mnt/ext1");
    // The version the seeds carry, so the comparison is reached with equal and unequal texts.
    if (FILE* profile = std::fopen((pattern + "/.sim/device.cfg").c_str(), "w")) {
      std::fputs("software_version=6.8.1234\n", profile);
      std::fclose(profile);
    }
    ReloadDeviceProfile();
    std::atexit(RemoveRoot);
    return pattern;
  }());
  return root;
}

void RemoveRoot() {
  std::error_code ignored;
  std::filesystem::remove_all(FuzzRoot(), ignored);
}

void WritePlain(const std::string& host_path, const uint8_t* data, size_t size) {
  FILE* file = std::fopen(host_path.c_str(), "wb");
  if (file == nullptr)
    std::abort();
  if (size > 0)
    std::fwrite(data, 1, size, file);
  std::fclose(file);
}

void WriteCompressed(const std::string& host_path, const uint8_t* data, size_t size) {
  gzFile file = gzopen(host_path.c_str(), "wb");
  if (file == nullptr)
    std::abort();
  if (size > 0)
    gzwrite(file, data, static_cast<unsigned>(size));
  gzclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string host_path = FuzzRoot() + kUpdatePath;
  WritePlain(host_path, data, size);
  marrowleaf::desktop::check_swupdate_file(kUpdatePath);
  WriteCompressed(host_path, data, size);
  marrowleaf::desktop::check_swupdate_file(kUpdatePath);
  return 0;
}
