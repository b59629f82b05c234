#include "Fb2Cover.h"

#include "Base64.h"
#include "CoverLimits.h"
#include "XmlDocument.h"

namespace marrowleaf::platform {
namespace {

std::string AuthorName(const pugi::xml_node& author) {
  std::string name;
  for (const char* part : {"first-name", "middle-name", "last-name"}) {
    const std::string text = XmlDocument::Child(author, part).text().get();
    if (!text.empty())
      name += (name.empty() ? "" : " ") + text;
  }
  return name;
}

}  // namespace

bool Fb2Cover::Extract(const std::string& book, std::string* image, std::string* title,
                       std::string* author) {
  XmlDocument document;
  if (!document.Parse(book, CoverLimits::kMaxBookBytes) ||
      !XmlDocument::NameIs(document.Root(), "FictionBook")) {
    return false;
  }
  const pugi::xml_node info =
      XmlDocument::Child(XmlDocument::Child(document.Root(), "description"), "title-info");
  if (title != nullptr)
    *title = XmlDocument::Child(info, "book-title").text().get();
  if (author != nullptr)
    *author = AuthorName(XmlDocument::Child(info, "author"));
  const pugi::xml_node picture = XmlDocument::Child(XmlDocument::Child(info, "coverpage"), "image");
  const std::string href = XmlDocument::Attribute(picture, "href");
  if (href.size() < 2 || href[0] != '#')
    return false;
  const std::string id = href.substr(1);
  for (pugi::xml_node node : document.Root().children()) {
    if (XmlDocument::NameIs(node, "binary") && XmlDocument::Attribute(node, "id") == id) {
      const char* text = node.text().get();
      return Base64::Decode(text, std::char_traits<char>::length(text), CoverLimits::kMaxImageBytes,
                            image) &&
             !image->empty();
    }
  }
  return false;
}

}  // namespace marrowleaf::platform
