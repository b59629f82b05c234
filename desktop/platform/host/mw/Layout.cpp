#include "platform/mw/Layout.h"

#include "LayoutDocument.h"

using marrowleaf::platform::LayoutDocument;

namespace {

// A key names a file in the layouts folder; anything that could leave the folder is refused.
bool IsSafeKey(const std::string& key) {
  if (key.empty() || key.size() > 128)
    return false;
  for (char c : key) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
    if (!allowed)
      return false;
  }
  return key.find("..") == std::string::npos;
}

}  // namespace

const char* Layout::Folder() {
  return "/ebrmain/layouts";
}

Layout Layout::fromKey(const std::string& key) {
  Layout layout;
  layout.key_ = key;
  if (IsSafeKey(key))
    layout.document_ = LayoutDocument::Load(layout.FilePath());
  return layout;
}

Layout Layout::FromText(const std::string& text, const std::string& source) {
  Layout layout;
  layout.key_ = source;
  layout.document_ = LayoutDocument::Parse(text, source);
  return layout;
}

std::string Layout::FilePath() const {
  return std::string(Folder()) + "/" + key_ + ".json";
}

bool Layout::HasLayout(const std::string& name) const {
  return document_ != nullptr && !document_->FindLayout(name).isNull();
}

std::vector<std::string> Layout::LayoutNames() const {
  if (document_ == nullptr)
    return {};
  return document_->Layouts().getMemberNames();
}
