#include "platform/utils/SerializationUtils.h"

namespace marrowleaf::utilities {
namespace {

int DigitValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}

}  // namespace

std::string SerializationUtils::ToHex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (unsigned char byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0f]);
  }
  return text;
}

bool SerializationUtils::FromHex(const std::string& text, std::string* bytes) {
  bytes->clear();
  if (text.size() % 2 != 0) return false;
  std::string result;
  result.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = DigitValue(text[i]);
    const int low = DigitValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    result.push_back(static_cast<char>(high << 4 | low));
  }
  *bytes = std::move(result);
  return true;
}

std::string SerializationUtils::FromHex(const std::string& text) {
  std::string bytes;
  FromHex(text, &bytes);
  return bytes;
}

}  // namespace marrowleaf::utilities
