#include "system_init/Md5Digest.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/sdk/files.h"

namespace marrowleaf::desktop {
namespace {

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

// Feeds the whole file into the digest; false on a read error.
bool DigestFile(int fd, EVP_MD_CTX* context) {
  unsigned char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return false;
    if (got == 0)
      return true;
    if (EVP_DigestUpdate(context, buffer, static_cast<size_t>(got)) != 1)
      return false;
  }
}

std::string ToHex(const unsigned char* bytes, unsigned int size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (unsigned int index = 0; index < size; ++index) {
    hex.push_back(kDigits[bytes[index] >> 4]);
    hex.push_back(kDigits[bytes[index] & 0x0f]);
  }
  return hex;
}

}  // namespace

std::string Md5HexOfFile(const std::string& device_path) {
  const int fd = open(HostPath(device_path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return "";
  DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digest_size = 0;
  const bool ok = context && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) == 1 &&
                  DigestFile(fd, context.get()) &&
                  EVP_DigestFinal_ex(context.get(), digest, &digest_size) == 1;
  close(fd);
  return ok ? ToHex(digest, digest_size) : "";
}

}  // namespace marrowleaf::desktop
