#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

#include "CoverLimits.h"
#include "ZipReader.h"

namespace marrowleaf::platform {

// The package document of an EPUB (2 or 3): its manifest, spine, title and author, and the places
// where a cover picture may be declared.
class EpubPackage {
 public:
  // Reads META-INF/container.xml and the package document it names. False when either is missing
  // or broken.
  bool Load(ZipReader& zip, const CoverDeadline& deadline);

  // The archive name of the declared cover picture: the manifest item with the "cover-image"
  // property (EPUB 3), else the item named by <meta name="cover"> (EPUB 2), else a picture that the
  // guide's "cover" reference points at. "" when none is declared.
  std::string DeclaredCoverImage() const;
  // The archive name of the first picture of a chapter: the guide's cover page, or the first item
  // of the spine. "" when it has none.
  std::string FirstImageOf(ZipReader& zip, const std::string& chapter,
                           const CoverDeadline& deadline) const;
  std::string CoverPage() const { return cover_page_; }
  std::string FirstSpineItem() const;

  const std::string& Title() const { return title_; }
  const std::string& Author() const { return author_; }

  // An href of a document in folder `base` as an archive name: fragment dropped, %-escapes
  // decoded, "." and ".." resolved. "" when it leaves the archive or is absolute.
  static std::string Resolve(const std::string& base, const std::string& href);

 private:
  struct Item {
    std::string href;  // archive name
    std::string media_type;
    std::string properties;
  };
  static bool IsImage(const Item& item);
  void ReadManifest(const pugi::xml_node& package);
  void ReadMetadata(const pugi::xml_node& package);
  void ReadGuide(const pugi::xml_node& package);

  std::string base_;
  std::map<std::string, Item> items_;
  std::vector<std::string> spine_;
  std::string cover_meta_;
  std::string cover_page_;
  std::string guide_image_;
  std::string title_;
  std::string author_;
};

}  // namespace marrowleaf::platform
