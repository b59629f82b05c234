#include "controllers/AppMenus.h"

#include "controllers/AppMenuBuilder.h"
#include "controllers/Controller.h"
#include "platform/mw/MWWindow.h"
#include "platform/sdk/device.h"

namespace marrowleaf::desktop {

void AppMenus::HoldAppItem(MWWindow* sender) {
  controller_.held_app_item_ = dynamic_cast<Highlightable*>(sender);
  if (controller_.held_app_item_)
    controller_.held_app_item_->SetHighlighted(true);
}

void AppMenus::ReleaseHeldAppItem() {
  if (controller_.held_app_item_)
    controller_.held_app_item_->SetHighlighted(false);
  controller_.held_app_item_ = nullptr;
}

bool AppMenus::OpenAppMenu(const MWCommand& command) {
  return controller_.OpenBuiltMenu(MWRect{command.x, command.y, command.width, command.height});
}

void AppMenus::BuildAppMenu(int slot) {
  controller_.app_menu_slot_ = slot;
  if (controller_.parts_.apps)
    AppMenuBuilder::BuildSlotMenu(*controller_.parts_.apps, slot, *controller_.menu_items_);
}

void AppMenus::BuildAppListMenu(const std::string& id) {
  controller_.app_menu_slot_ = -1;
  if (controller_.parts_.apps)
    AppMenuBuilder::BuildAppListMenu(*controller_.parts_.apps, id, *controller_.menu_items_);
}

void AppMenus::AppMenuAction(const std::shared_ptr<PopupMenuItemData>& entry) {
  ReleaseHeldAppItem();
  UserAppList* apps = controller_.parts_.apps;
  const int slot = controller_.app_menu_slot_;
  if (entry && apps && controller_.frame_) {
    switch (entry->action) {
      case AppMenuBuilder::kActionSetApplication:
        apps->SetApplication(slot, entry->data);
        ReturnToMainView();
        controller_.frame_->ReDrawFrame();
        break;
      case AppMenuBuilder::kActionMoveLeft:
        apps->MoveApplication(slot, -1);
        RedrawMainView();
        break;
      case AppMenuBuilder::kActionMoveRight:
        apps->MoveApplication(slot, +1);
        RedrawMainView();
        break;
      case AppMenuBuilder::kActionRemove:
        apps->RemoveApplication(slot);
        RedrawMainView();
        break;
      case AppMenuBuilder::kActionAppend:
        apps->InsertApplication(entry->data, apps->GetApplicationsCount(), true);
        ReturnToMainView();
        break;
      default:
        break;
    }
  }
  controller_.app_menu_slot_ = -1;
}

void AppMenus::ReturnToMainView() {
  controller_.frame_->ApplicationsView().Hide();
  controller_.OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
}

void AppMenus::RedrawMainView() {
  controller_.frame_->MainView().Refresh();
  controller_.frame_->ReDrawFrame();
}

}  // namespace marrowleaf::desktop
