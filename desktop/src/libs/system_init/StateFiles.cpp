#include "system_init/StateFiles.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kSavedPath = "/mnt/ext1/system/state/.bsstate";
constexpr const char* kCurrentBookPath = "/tmp/.current";
constexpr const char* kReaderStatePath = "/tmp/.bsstate";
constexpr size_t kSavedCap = 16384;
constexpr size_t kCountSize = 4;
constexpr uid_t kReaderUser = 101;
constexpr gid_t kReaderGroup = 101;

int32_t ReadCount(const std::string& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const uint32_t value = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                         static_cast<uint32_t>(data[2]) << 16 |
                         static_cast<uint32_t>(data[3]) << 24;
  int32_t count = 0;
  std::memcpy(&count, &value, sizeof count);
  return count;
}

std::string EncodeCount(uint32_t count) {
  std::string bytes(kCountSize, '\0');
  for (size_t index = 0; index < kCountSize; ++index) {
    bytes[index] = static_cast<char>((count >> (8 * index)) & 0xff);
  }
  return bytes;
}

// Writes a temporary file for the readers and hands it to their user. Without root the owner can't
// change; the readers then share this program's user, so that is no failure.
void WriteReaderFile(const char* path, const std::string& content) {
  if (WriteFileAtomically(path, content) != 0) {
    MW_LOG(MW_LOG_WARNING, "can't write %s, errno=%i", path, errno);
    return;
  }
  if (chown(HostPath(path).c_str(), kReaderUser, kReaderGroup) != 0 && errno != EPERM) {
    MW_LOG(MW_LOG_WARNING, "can't give %s to the reader user, errno=%i", path, errno);
  }
}

void RestoreFrom(const std::string& saved) {
  if (saved.size() < kCountSize)
    return;
  const int32_t count = ReadCount(saved);
  // A count below 4 or beyond the data means a damaged file: nothing in it can be trusted.
  if (count < static_cast<int32_t>(kCountSize) || static_cast<size_t>(count) > saved.size())
    return;
  const size_t split = static_cast<size_t>(count);
  if (split > kCountSize) {
    WriteReaderFile(kCurrentBookPath, saved.substr(kCountSize, split - kCountSize));
  }
  WriteReaderFile(kReaderStatePath, saved.substr(split));
}

}  // namespace

void RestoreStateFiles() {
  std::string saved;
  if (ReadFileCapped(kSavedPath, kSavedCap, &saved))
    RestoreFrom(saved);
  pk_unlink(kSavedPath);
  sync();
}

void SaveStateFiles() {
  std::string current_book;
  if (!ReadFileCapped(kCurrentBookPath, kSavedCap - kCountSize, &current_book))
    current_book.clear();
  const size_t count = kCountSize + current_book.size();
  std::string reader_state;
  if (!ReadFileCapped(kReaderStatePath, kSavedCap - count, &reader_state))
    reader_state.clear();
  const std::string saved = EncodeCount(static_cast<uint32_t>(count)) + current_book + reader_state;
  if (WriteFileAtomically(kSavedPath, saved) != 0) {
    const int error = errno;
    std::fprintf(stderr, "error opening '%s', errno=%i\n", kSavedPath, error);
    pk_unlink(kSavedPath);
  }
  sync();
}

}  // namespace marrowleaf::desktop
