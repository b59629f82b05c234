#include "EpubPackage.h"

#include <cctype>
#include <sstream>

#include "XmlDocument.h"

namespace marrowleaf::platform {
namespace {

const char kContainer[] = "META-INF/container.xml";

std::string Folder(const std::string& name) {
  const size_t slash = name.rfind('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool ContainsWord(const std::string& words, const std::string& word) {
  std::istringstream stream(words);
  std::string part;
  while (stream >> part) {
    if (part == word)
      return true;
  }
  return false;
}

std::string Trimmed(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

bool ReadXml(ZipReader& zip, const std::string& name, const CoverDeadline& deadline,
             XmlDocument* document) {
  std::string text;
  return zip.Read(name, CoverLimits::kMaxXmlBytes, deadline, &text) &&
         document->Parse(text, CoverLimits::kMaxXmlBytes);
}

}  // namespace

std::string EpubPackage::Resolve(const std::string& base, const std::string& href) {
  std::string path = PercentDecode(href.substr(0, href.find('#')));
  if (path.empty() || path[0] == '/' || path.find("://") != std::string::npos)
    return std::string();
  std::vector<std::string> parts;
  std::istringstream stream(base + path);
  std::string part;
  while (std::getline(stream, part, '/')) {
    if (part.empty() || part == ".")
      continue;
    if (part == "..") {
      if (parts.empty())
        return std::string();
      parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string name;
  for (const std::string& piece : parts) name += (name.empty() ? "" : "/") + piece;
  return name;
}

bool EpubPackage::Load(ZipReader& zip, const CoverDeadline& deadline) {
  XmlDocument container;
  if (!ReadXml(zip, kContainer, deadline, &container))
    return false;
  const pugi::xml_node rootfile = XmlDocument::Descendant(container.Root(), "rootfile");
  const std::string package_name = Resolve("", XmlDocument::Attribute(rootfile, "full-path"));
  XmlDocument package;
  if (package_name.empty() || !ReadXml(zip, package_name, deadline, &package))
    return false;
  base_ = Folder(package_name);
  const pugi::xml_node root = package.Root();
  if (!XmlDocument::NameIs(root, "package"))
    return false;
  ReadManifest(root);
  ReadMetadata(root);
  ReadGuide(root);
  return true;
}

void EpubPackage::ReadManifest(const pugi::xml_node& package) {
  for (pugi::xml_node node : XmlDocument::Child(package, "manifest").children()) {
    if (!XmlDocument::NameIs(node, "item"))
      continue;
    Item item{Resolve(base_, XmlDocument::Attribute(node, "href")),
              XmlDocument::Attribute(node, "media-type"),
              XmlDocument::Attribute(node, "properties")};
    const std::string id = XmlDocument::Attribute(node, "id");
    if (!id.empty() && !item.href.empty())
      items_.emplace(id, std::move(item));
  }
  for (pugi::xml_node node : XmlDocument::Child(package, "spine").children()) {
    if (XmlDocument::NameIs(node, "itemref"))
      spine_.push_back(XmlDocument::Attribute(node, "idref"));
  }
}

void EpubPackage::ReadMetadata(const pugi::xml_node& package) {
  const pugi::xml_node metadata = XmlDocument::Child(package, "metadata");
  for (pugi::xml_node node : metadata.children()) {
    if (XmlDocument::NameIs(node, "meta") && XmlDocument::Attribute(node, "name") == "cover")
      cover_meta_ = XmlDocument::Attribute(node, "content");
    if (XmlDocument::NameIs(node, "title") && title_.empty())
      title_ = Trimmed(node.text().get());
    if (XmlDocument::NameIs(node, "creator") && author_.empty())
      author_ = Trimmed(node.text().get());
  }
}

void EpubPackage::ReadGuide(const pugi::xml_node& package) {
  for (pugi::xml_node node : XmlDocument::Child(package, "guide").children()) {
    if (!XmlDocument::NameIs(node, "reference") || XmlDocument::Attribute(node, "type") != "cover")
      continue;
    const std::string target = Resolve(base_, XmlDocument::Attribute(node, "href"));
    for (const auto& entry : items_) {
      if (entry.second.href == target && IsImage(entry.second))
        guide_image_ = target;
    }
    if (guide_image_.empty())
      cover_page_ = target;
    return;
  }
}

bool EpubPackage::IsImage(const Item& item) {
  return item.media_type == "image/jpeg" || item.media_type == "image/png" ||
         item.media_type == "image/jpg";
}

std::string EpubPackage::DeclaredCoverImage() const {
  for (const auto& entry : items_) {
    if (ContainsWord(entry.second.properties, "cover-image") && IsImage(entry.second))
      return entry.second.href;
  }
  auto meta = items_.find(cover_meta_);
  if (meta != items_.end() && IsImage(meta->second))
    return meta->second.href;
  // Some books name the picture's path in the meta instead of its id.
  if (!cover_meta_.empty()) {
    const std::string by_path = Resolve(base_, cover_meta_);
    for (const auto& entry : items_) {
      if (entry.second.href == by_path && IsImage(entry.second))
        return by_path;
    }
  }
  return guide_image_;
}

std::string EpubPackage::FirstSpineItem() const {
  for (const std::string& idref : spine_) {
    auto item = items_.find(idref);
    if (item != items_.end())
      return item->second.href;
  }
  return std::string();
}

std::string EpubPackage::FirstImageOf(ZipReader& zip, const std::string& chapter,
                                      const CoverDeadline& deadline) const {
  XmlDocument document;
  if (chapter.empty() || !ReadXml(zip, chapter, deadline, &document))
    return std::string();
  // <img src> of XHTML or <image xlink:href> of an SVG cover page, whichever comes first.
  std::string found;
  struct Finder : pugi::xml_tree_walker {
    std::string* found = nullptr;
    bool for_each(pugi::xml_node& node) override {
      if (XmlDocument::NameIs(node, "img"))
        *found = XmlDocument::Attribute(node, "src");
      else if (XmlDocument::NameIs(node, "image"))
        *found = XmlDocument::Attribute(node, "href");
      return found->empty();
    }
  } finder;
  finder.found = &found;
  document.Root().traverse(finder);
  return found.empty() ? std::string() : Resolve(Folder(chapter), found);
}

}  // namespace marrowleaf::platform
