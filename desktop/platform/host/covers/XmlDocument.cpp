#include "XmlDocument.h"

#include <cstring>

#include "CoverLimits.h"

namespace marrowleaf::platform {

bool XmlDocument::Parse(const std::string& text, size_t max_bytes) {
  if (text.size() > max_bytes)
    return false;
  // No DOCTYPE processing: entities other than the predefined ones are left alone, so an entity
  // expansion attack has nothing to expand.
  const unsigned options = pugi::parse_default & ~pugi::parse_doctype;
  if (!document_.load_buffer(text.data(), text.size(), options))
    return false;
  return Depth(document_.document_element()) <= CoverLimits::kMaxXmlDepth;
}

int XmlDocument::Depth(const pugi::xml_node& root) {
  // An explicit walk in document order: down to the first child, else to the next sibling, else
  // up until a parent has one.
  int depth = 0;
  int deepest = 0;
  pugi::xml_node node = root;
  while (node) {
    if (node.first_child()) {
      node = node.first_child();
      if (++depth > deepest)
        deepest = depth;
      if (deepest > CoverLimits::kMaxXmlDepth)
        return deepest;
      continue;
    }
    while (node && !node.next_sibling() && node != root) {
      node = node.parent();
      --depth;
    }
    if (!node || node == root)
      break;
    node = node.next_sibling();
  }
  return deepest;
}

const char* XmlDocument::LocalName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon != nullptr ? colon + 1 : name;
}

bool XmlDocument::NameIs(const pugi::xml_node& node, const char* local_name) {
  return node.type() == pugi::node_element && std::strcmp(LocalName(node.name()), local_name) == 0;
}

pugi::xml_node XmlDocument::Child(const pugi::xml_node& node, const char* local_name) {
  for (pugi::xml_node child : node.children()) {
    if (NameIs(child, local_name))
      return child;
  }
  return pugi::xml_node();
}

pugi::xml_node XmlDocument::Descendant(const pugi::xml_node& node, const char* local_name) {
  pugi::xml_node found;
  struct Finder : pugi::xml_tree_walker {
    const char* wanted = nullptr;
    pugi::xml_node* result = nullptr;
    bool for_each(pugi::xml_node& candidate) override {
      if (NameIs(candidate, wanted)) {
        *result = candidate;
        return false;
      }
      return true;
    }
  } finder;
  finder.wanted = local_name;
  finder.result = &found;
  pugi::xml_node start = node;
  start.traverse(finder);
  return found;
}

std::string XmlDocument::Attribute(const pugi::xml_node& node, const char* local_name) {
  for (pugi::xml_attribute attribute : node.attributes()) {
    if (std::strcmp(LocalName(attribute.name()), local_name) == 0)
      return attribute.value();
  }
  return std::string();
}

}  // namespace marrowleaf::platform
