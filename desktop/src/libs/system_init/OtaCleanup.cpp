#include "system_init/OtaCleanup.h"

#include <strings.h>
#include <sys/stat.h>

#include <cstdio>

#include "platform/sdk/files.h"
#include "platform/utils/Md5Digest.h"
#include "system_init/SwUpdateFile.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kFlagPath = "/mnt/secure/ota_flag";
// Where the updater keeps the images it downloads. The flag is outside input: an image named
// anywhere else (a book, say) is never checked, since a file that is no update would be deleted.
constexpr const char* kUpdateFolder = "/mnt/ext1/system/ota/";
constexpr size_t kFlagReadCap = 1023;
constexpr size_t kDigestLength = 32;

// The text after key up to the first of terminators (or the end), searching from position from.
// Sets *end to where the value stops; returns false when the key is absent.
bool ValueAfter(const std::string& text, const char* key, size_t from, std::string* value,
                size_t* end) {
  const size_t found = text.find(key, from);
  if (found == std::string::npos)
    return false;
  const size_t start = found + std::char_traits<char>::length(key);
  size_t stop = text.find_first_of(" \n", start);
  if (stop == std::string::npos)
    stop = text.size();
  *value = text.substr(start, stop - start);
  *end = stop;
  return true;
}

bool DigestMatches(const std::string& image, const std::string& expected) {
  const std::string actual = utilities::Md5Digest::HexOfFile(image);
  return actual.size() == kDigestLength &&
         strncasecmp(actual.c_str(), expected.c_str(), kDigestLength) == 0;
}

// Why the image named by the flag must be left alone, or "" when it is an update image.
std::string WhyNotAnUpdateImage(const std::string& image) {
  // The path as the device resolves it: "..", "." and doubled slashes are gone.
  const std::string resolved = DevicePath(HostPath(image));
  const std::string folder = kUpdateFolder;
  if (resolved.empty() || resolved.compare(0, folder.size(), folder) != 0)
    return "it is not in " + folder;
  struct stat info {};
  if (lstat(HostPath(resolved).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return "it is not a regular file";
  if (!ResolvesInside(resolved, folder))
    return "a link leads out of " + folder;
  return "";
}

void RemoveInstalledImage(const OtaFlagContents& flag) {
  if (flag.image.empty())
    return;
  const std::string refusal = WhyNotAnUpdateImage(flag.image);
  if (!refusal.empty()) {
    std::fprintf(stderr, "image %s left alone: %s\n", flag.image.c_str(), refusal.c_str());
    return;
  }
  if (check_swupdate_file(flag.image.c_str()) != 1)
    return;
  if (DigestMatches(flag.image, flag.md5)) {
    std::fprintf(stderr, "md5sum matches, can remove %s\n", flag.image.c_str());
    pk_unlink(flag.image.c_str());
  } else {
    std::fprintf(stderr, "md5sum NOT matches, canT remove %s\n", flag.image.c_str());
  }
}

}  // namespace

OtaFlagContents ParseOtaFlag(const std::string& raw_text) {
  // The flag is text: whatever follows a NUL is not part of it.
  const std::string text(raw_text.c_str());
  OtaFlagContents flag;
  size_t image_end = 0;
  if (!ValueAfter(text, "image=", 0, &flag.image, &image_end))
    return flag;
  size_t md5_end = 0;
  ValueAfter(text, "md5=", image_end, &flag.md5, &md5_end);
  return flag;
}

void ClearFinishedOtaUpdate() {
  std::string text;
  if (!ReadFileCapped(kFlagPath, kFlagReadCap, &text))
    return;
  std::fprintf(stderr, "%s found\n", kFlagPath);
  const OtaFlagContents flag = ParseOtaFlag(text);
  std::fprintf(stderr, "found ota_flag with image=%s and md5=%s\n", flag.image.c_str(),
               flag.md5.c_str());
  RemoveInstalledImage(flag);
  std::fprintf(stderr, "remove %s\n", kFlagPath);
  pk_unlink(kFlagPath);
}

}  // namespace marrowleaf::desktop
