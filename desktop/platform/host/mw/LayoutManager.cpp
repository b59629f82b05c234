#include "platform/mw/LayoutManager.h"

#include "LayoutDocument.h"
#include "LayoutReader.h"
#include "platform/mw/MWWindow.h"
#include "platform/sdk/log.h"

using marrowleaf::platform::LayoutReader;

int LayoutManager::LoadLayout(const std::string& name, MWWindow* window) const {
  MW_RETURN_IF(window == nullptr, -1, "no window for layout \"%s\"", name.c_str());
  MW_RETURN_IF(!layout_.IsValid(), -1, "layout file %s is not available",
               layout_.FilePath().c_str());
  const Json::Value& tree = layout_.Document()->FindLayout(name);
  MW_RETURN_IF(tree.isNull(), -1, "layout file %s has no layout \"%s\"", layout_.FilePath().c_str(),
               name.c_str());
  LayoutReader reader(*layout_.Document());
  reader.LoadInto(tree, window);
  window->MarkAsChanged();
  return 0;
}
