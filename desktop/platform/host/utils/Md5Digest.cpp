#include "platform/utils/Md5Digest.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/sdk/files.h"
#include "platform/utils/SerializationUtils.h"

namespace marrowleaf::utilities {
namespace {

// MD5 (RFC 1321) written out here: it was the program's only use of the crypto library, whose
// loading and initialisation (its configuration file and providers) cost every start a few
// milliseconds before the first digest.
class Md5 {
 public:
  void Update(const unsigned char* bytes, size_t size) {
    length_ += size;
    if (buffered_ > 0) {
      const size_t take = std::min(size, sizeof block_ - buffered_);
      std::memcpy(block_ + buffered_, bytes, take);
      buffered_ += take;
      bytes += take;
      size -= take;
      if (buffered_ < sizeof block_)
        return;
      Transform(block_);
      buffered_ = 0;
    }
    for (; size >= sizeof block_; bytes += sizeof block_, size -= sizeof block_) Transform(bytes);
    std::memcpy(block_, bytes, size);
    buffered_ = size;
  }

  std::string Finish() {
    const uint64_t bits = static_cast<uint64_t>(length_) * 8;
    static const unsigned char kPadding[64] = {0x80};
    // The padding ends the message 8 bytes short of a block boundary, for the length.
    const size_t padding = buffered_ < 56 ? 56 - buffered_ : 120 - buffered_;
    Update(kPadding, padding);
    unsigned char tail[8];
    for (int i = 0; i < 8; ++i) tail[i] = static_cast<unsigned char>(bits >> (8 * i));
    Update(tail, sizeof tail);
    std::string digest(16, '\0');
    for (int word = 0; word < 4; ++word)
      for (int i = 0; i < 4; ++i)
        digest[static_cast<size_t>(word * 4 + i)] = static_cast<char>(state_[word] >> (8 * i));
    return digest;
  }

 private:
  static uint32_t Rotate(uint32_t x, int bits) { return (x << bits) | (x >> (32 - bits)); }

  void Transform(const unsigned char* block) {
    static const uint32_t kSine[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
        0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
        0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
        0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
        0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
        0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
        0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
        0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
        0xeb86d391};
    static const int kShift[16] = {7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21};
    uint32_t words[16];
    for (int i = 0; i < 16; ++i) {
      words[i] = static_cast<uint32_t>(block[i * 4]) |
                 static_cast<uint32_t>(block[i * 4 + 1]) << 8 |
                 static_cast<uint32_t>(block[i * 4 + 2]) << 16 |
                 static_cast<uint32_t>(block[i * 4 + 3]) << 24;
    }
    uint32_t a = state_[0];
    uint32_t b = state_[1];
    uint32_t c = state_[2];
    uint32_t d = state_[3];
    for (int step = 0; step < 64; ++step) {
      const int round = step / 16;
      uint32_t mixed = 0;
      int index = 0;
      if (round == 0) {
        mixed = (b & c) | (~b & d);
        index = step;
      } else if (round == 1) {
        mixed = (d & b) | (~d & c);
        index = (5 * step + 1) % 16;
      } else if (round == 2) {
        mixed = b ^ c ^ d;
        index = (3 * step + 5) % 16;
      } else {
        mixed = c ^ (b | ~d);
        index = (7 * step) % 16;
      }
      const uint32_t next = d;
      d = c;
      c = b;
      b += Rotate(a + mixed + kSine[step] + words[index], kShift[round * 4 + step % 4]);
      a = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
  }

  uint32_t state_[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  unsigned char block_[64] = {};
  size_t buffered_ = 0;
  uint64_t length_ = 0;
};

// Feeds the whole file into the digest; false on a read error.
bool DigestFile(int fd, Md5* digest) {
  unsigned char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return false;
    if (got == 0)
      return true;
    digest->Update(buffer, static_cast<size_t>(got));
  }
}

}  // namespace

std::string Md5Digest::HexOf(const std::string& bytes) {
  Md5 digest;
  digest.Update(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  return SerializationUtils::ToHex(digest.Finish());
}

std::string Md5Digest::HexOfFile(const std::string& device_path) {
  const int fd = open(HostPath(device_path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return "";
  Md5 digest;
  const bool read_all = DigestFile(fd, &digest);
  close(fd);
  return read_all ? SerializationUtils::ToHex(digest.Finish()) : "";
}

}  // namespace marrowleaf::utilities
