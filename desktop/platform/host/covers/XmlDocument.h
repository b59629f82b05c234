#pragma once

#include <pugixml.hpp>

#include <string>

namespace marrowleaf::platform {

// An XML document of a book, parsed with limits: a size cap and a nesting depth cap (the parser
// itself does not recurse, but the code that walks a document should not meet a million levels).
// Element and attribute names are compared without their namespace prefix, since books write
// "opf:item", "item" and "dc:title" interchangeably.
class XmlDocument {
 public:
  // False for text above max_bytes, broken XML or nesting deeper than the cap.
  bool Parse(const std::string& text, size_t max_bytes);
  pugi::xml_node Root() const { return document_.document_element(); }

  // The name without its namespace prefix.
  static const char* LocalName(const char* name);
  static bool NameIs(const pugi::xml_node& node, const char* local_name);
  // The first child element with that local name (empty node when none).
  static pugi::xml_node Child(const pugi::xml_node& node, const char* local_name);
  // The first element with that local name anywhere below node, in document order.
  static pugi::xml_node Descendant(const pugi::xml_node& node, const char* local_name);
  // The value of the attribute with that local name ("" when none).
  static std::string Attribute(const pugi::xml_node& node, const char* local_name);

 private:
  static int Depth(const pugi::xml_node& root);
  pugi::xml_document document_;
};

}  // namespace marrowleaf::platform
