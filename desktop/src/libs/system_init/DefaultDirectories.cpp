#include "system_init/DefaultDirectories.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "platform/sdk/files.h"
#include "system_init/MakeHidden.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kSystemFolder = "/mnt/ext1/system";
// In creation order; the system folder is hidden right after it is made.
constexpr const char* kOtherFolders[] = {
    "/mnt/ext1/system/cache",
    "/mnt/ext1/system/fonts",
    "/mnt/ext1/system/themes",
    "/mnt/ext1/system/language",
    "/mnt/ext1/system/language/keyboard",
    "/mnt/ext1/applications",
    "/mnt/ext1/system/bin",
    "/mnt/ext1/system/logo",
    "/mnt/ext1/system/logo/bootlogo",
    "/mnt/ext1/system/logo/offlogo",
    "/mnt/ext1/system/dictionaries",
};
constexpr const char* kMarkerPath = "/mnt/ext1/system/.marrowleaf";
constexpr const char* kStylePath = "/mnt/ext1/system/config/styles.xml";
constexpr const char* kDefaultStylePath = "/ebrmain/share/FBReader/default/styles.xml";
constexpr const char* kStyleClosingTag = "</DefaultStyles>";
constexpr size_t kStyleReadCap = 65535;

void MakeFolder(const char* path) {
  mkdir(HostPath(path).c_str(), 0777);
}

bool ContainsIgnoringCase(const std::string& text, const std::string& needle) {
  const auto same = [](char left, char right) {
    return std::tolower(static_cast<unsigned char>(left)) ==
           std::tolower(static_cast<unsigned char>(right));
  };
  return std::search(text.begin(), text.end(), needle.begin(), needle.end(), same) != text.end();
}

// A style file cut short (a full storage, a pulled cable) makes the reader fail; a file whose
// closing tag is missing from its readable part is replaced by the default.
void RepairStyleFile() {
  std::string text;
  if (ReadFileCapped(kStylePath, kStyleReadCap, &text) &&
      !ContainsIgnoringCase(text, kStyleClosingTag)) {
    pk_unlink(kStylePath);
    sync();
  }
  if (pk_access(kStylePath, F_OK) != 0)
    copy_file(kDefaultStylePath, kStylePath);
}

}  // namespace

void CreateDefaultDirectories() {
  std::fprintf(stderr, "creating default directories...");
  MakeFolder(kSystemFolder);
  make_hidden(kSystemFolder);
  for (const char* folder : kOtherFolders) MakeFolder(folder);
  if (pk_access(kMarkerPath, F_OK) != 0)
    WriteFileAtomically(kMarkerPath, "");
  RepairStyleFile();
  std::fprintf(stderr, " ok\n");
}

}  // namespace marrowleaf::desktop
