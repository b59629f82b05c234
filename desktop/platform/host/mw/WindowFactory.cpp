#include "platform/mw/WindowFactory.h"

#include <map>

#include "platform/mw/BindScrollGrid.h"
#include "platform/mw/BindScrollList.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWDialog.h"
#include "platform/mw/MWGradientWindow.h"
#include "platform/mw/MWLabel.h"
#include "platform/mw/MWScrollGrid.h"
#include "platform/mw/MWScrollList.h"
#include "platform/mw/MWScrollView.h"
#include "platform/mw/MWWindow.h"

namespace {

template <typename T>
WindowFactory::Creator CreatorOf() {
  return [] { return std::unique_ptr<MWWindow>(std::make_unique<T>()); };
}

// The registry starts with the framework's own controls; they are listed here rather than
// registered by static objects, which a static library may leave out of the program.
std::map<std::string, WindowFactory::Creator>& Registry() {
  static auto* registry = new std::map<std::string, WindowFactory::Creator>{
      {"MWWindow", CreatorOf<MWWindow>()},
      {"MWDialog", CreatorOf<MWDialog>()},
      {"MWLabel", CreatorOf<MWLabel>()},
      {"MWBitmap", CreatorOf<MWBitmap>()},
      {"MWBitmapButton", CreatorOf<MWBitmapButton>()},
      {"MWScrollView", CreatorOf<MWScrollView>()},
      {"MWScrollGrid", CreatorOf<MWScrollGrid>()},
      {"BindScrollGrid", CreatorOf<BindScrollGrid>()},
      {"MWScrollList", CreatorOf<MWScrollList>()},
      {"BindScrollList", CreatorOf<BindScrollList>()},
      {"MWGradientWindow", CreatorOf<MWGradientWindow>()},
  };
  return *registry;
}

}  // namespace

bool WindowFactory::Register(const std::string& class_name, Creator creator) {
  Registry()[class_name] = std::move(creator);
  return true;
}

std::unique_ptr<MWWindow> WindowFactory::Create(const std::string& class_name) {
  auto found = Registry().find(class_name);
  if (found == Registry().end() || !found->second)
    return nullptr;
  return found->second();
}

bool WindowFactory::IsRegistered(const std::string& class_name) {
  return Registry().count(class_name) != 0;
}

std::vector<std::string> WindowFactory::RegisteredClasses() {
  std::vector<std::string> names;
  for (const auto& entry : Registry()) names.push_back(entry.first);
  return names;
}
