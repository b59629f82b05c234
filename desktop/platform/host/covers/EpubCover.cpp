#include "EpubCover.h"

#include "EpubPackage.h"

namespace marrowleaf::platform {
namespace {

bool ReadFirstPageImage(ZipReader& zip, const EpubPackage& package, const CoverDeadline& deadline,
                        std::string* image) {
  for (const std::string& page : {package.CoverPage(), package.FirstSpineItem()}) {
    const std::string name = package.FirstImageOf(zip, page, deadline);
    if (!name.empty() && zip.Read(name, CoverLimits::kMaxImageBytes, deadline, image))
      return true;
  }
  return false;
}

bool LoadPackage(ZipReader& zip, const CoverDeadline& deadline, EpubPackage* package,
                 std::string* title, std::string* author) {
  if (!package->Load(zip, deadline))
    return false;
  if (title != nullptr)
    *title = package->Title();
  if (author != nullptr)
    *author = package->Author();
  return true;
}

}  // namespace

bool EpubCover::Extract(ZipReader& zip, const CoverDeadline& deadline, std::string* image,
                        std::string* title, std::string* author) {
  EpubPackage package;
  if (!LoadPackage(zip, deadline, &package, title, author))
    return false;
  const std::string declared = package.DeclaredCoverImage();
  if (!declared.empty() && zip.Read(declared, CoverLimits::kMaxImageBytes, deadline, image))
    return true;
  return ReadFirstPageImage(zip, package, deadline, image);
}

bool EpubCover::ExtractFirstPage(ZipReader& zip, const CoverDeadline& deadline, std::string* image,
                                 std::string* title, std::string* author) {
  EpubPackage package;
  return LoadPackage(zip, deadline, &package, title, author) &&
         ReadFirstPageImage(zip, package, deadline, image);
}

}  // namespace marrowleaf::platform
