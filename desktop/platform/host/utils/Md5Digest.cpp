#include "platform/utils/Md5Digest.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/sdk/files.h"
#include "platform/utils/SerializationUtils.h"

namespace marrowleaf::utilities {
namespace {

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

DigestContext NewMd5Context() {
  DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  if (context && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) context.reset();
  return context;
}

std::string Finish(EVP_MD_CTX* context) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context, digest, &length) != 1) return "";
  return SerializationUtils::ToHex(std::string(reinterpret_cast<const char*>(digest), length));
}

// Feeds the whole file into the digest; false on a read error.
bool DigestFile(int fd, EVP_MD_CTX* context) {
  unsigned char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (EVP_DigestUpdate(context, buffer, static_cast<size_t>(got)) != 1) return false;
  }
}

}  // namespace

std::string Md5Digest::HexOf(const std::string& bytes) {
  DigestContext context = NewMd5Context();
  if (!context || EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1) return "";
  return Finish(context.get());
}

std::string Md5Digest::HexOfFile(const std::string& device_path) {
  const int fd = open(HostPath(device_path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "";
  DigestContext context = NewMd5Context();
  const bool read_all = context && DigestFile(fd, context.get());
  close(fd);
  return read_all ? Finish(context.get()) : "";
}

}  // namespace marrowleaf::utilities
