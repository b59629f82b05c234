#include "CbzCover.h"

#include <algorithm>
#include <cctype>

namespace marrowleaf::platform {
namespace {

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         std::equal(tail.rbegin(), tail.rend(), text.rbegin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

bool IsPicture(const std::string& name) {
  // Archives made on some systems carry hidden copies of the pages' metadata beside them.
  if (name.rfind("__MACOSX/", 0) == 0 || name.find("/.") != std::string::npos || name[0] == '.')
    return false;
  return EndsWithNoCase(name, ".jpg") || EndsWithNoCase(name, ".jpeg") ||
         EndsWithNoCase(name, ".png");
}

}  // namespace

std::string CbzCover::FirstPictureName(const ZipReader& zip) {
  std::string first;
  for (const std::string& name : zip.Names()) {
    if (IsPicture(name) && (first.empty() || name < first))
      first = name;
  }
  return first;
}

bool CbzCover::Extract(ZipReader& zip, const CoverDeadline& deadline, std::string* image) {
  const std::string name = FirstPictureName(zip);
  return !name.empty() && zip.Read(name, CoverLimits::kMaxImageBytes, deadline, image);
}

}  // namespace marrowleaf::platform
