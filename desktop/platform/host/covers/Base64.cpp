#include "Base64.h"

#include <algorithm>

namespace marrowleaf::platform {
namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Value(char c) {
  if (c >= 'A' && c <= 'Z')
    return c - 'A';
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 26;
  if (c >= '0' && c <= '9')
    return c - '0' + 52;
  if (c == '+')
    return 62;
  if (c == '/')
    return 63;
  return -1;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

}  // namespace

bool Base64::Decode(const char* text, size_t length, size_t max_bytes, std::string* bytes) {
  bytes->clear();
  bytes->reserve(std::min(max_bytes, length / 4 * 3));
  unsigned accumulator = 0;
  int bits = 0;
  bool padding = false;
  for (size_t i = 0; i < length; ++i) {
    const char c = text[i];
    if (IsSpace(c))
      continue;
    if (c == '=') {
      padding = true;
      continue;
    }
    const int value = Value(c);
    if (value < 0 || padding)
      return false;
    accumulator = (accumulator << 6) | static_cast<unsigned>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      if (bytes->size() >= max_bytes)
        return false;
      bytes->push_back(static_cast<char>((accumulator >> bits) & 0xff));
    }
  }
  return true;
}

std::string Base64::Encode(const std::string& bytes) {
  std::string text;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    text += kAlphabet[(v >> 18) & 63];
    text += kAlphabet[(v >> 12) & 63];
    text += kAlphabet[(v >> 6) & 63];
    text += kAlphabet[v & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2)
      v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    text += kAlphabet[(v >> 18) & 63];
    text += kAlphabet[(v >> 12) & 63];
    text += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

}  // namespace marrowleaf::platform
