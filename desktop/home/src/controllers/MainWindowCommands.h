#pragma once

#include <memory>

#include "data/Item.h"
#include "platform/mw/MWCommand.h"

namespace marrowleaf::desktop {

class Controller;

// What the home screen's taps and long presses open: a tile's book, group, the library or a store
// offer; a shortcut's application or the applications screen; a shortcut's menu; the store block's
// whole promotion; the partner's accounts. Works through the controller's screens and state.
// Event-loop thread only.
class MainWindowCommands {
 public:
  explicit MainWindowCommands(Controller& controller) : controller_(controller) {}

  // The tile of a block at an index (command 10; 12 names the store block's detailed tile).
  void OpenItem(int block, int index);
  void OpenPartnerAccounts();
  void OpenShortcut(int index);
  void HoldShortcut(const MWCommand& command);
  void OpenStoreBlock();

 private:
  void OpenGroup(const std::shared_ptr<Item>& group);
  void OpenStoreItem(const Item& item);
  void OpenApplicationsScreen();

  Controller& controller_;
};

}  // namespace marrowleaf::desktop
