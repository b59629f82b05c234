#include "views/MainViewHelper.h"

#include "platform/mw/Layout.h"
#include "platform/mw/LayoutManager.h"
#include "platform/sdk/log.h"
#include "platform/sdk/theme.h"

namespace marrowleaf::desktop {

int MainViewHelper::LoadAttributes(const AttributeLoader& loader) {
  content_ = loader.GetString("content", "");
  return MWDialog::LoadAttributes(loader);
}

int MainViewHelper::cloneFromPrototype(const MWWindow* prototype) {
  const auto* helper = dynamic_cast<const MainViewHelper*>(prototype);
  MW_RETURN_IF(helper == nullptr, -1, "Wrong prototype!!!");
  MWDialog::cloneFromPrototype(prototype);
  content_ = helper->content_;
  return 0;
}

void MainViewHelper::OnShow() {
  if (!content_.empty() && !content_loaded_) {
    content_loaded_ = true;
    LayoutManager manager(Layout::fromKey(std::string("desktop") +
                                          GetThemeString("layouts_suffix", "")));
    manager.LoadLayout(content_, this);
  }
  MWDialog::OnShow();
}

int MainViewHelper::OnFocusSet(MWWindow* from, int key) {
  if (GetParent() == nullptr)
    return MWDialog::OnFocusSet(from, key);
  return GetParent()->OnFocusSet(from, key);
}

}  // namespace marrowleaf::desktop
