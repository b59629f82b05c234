#pragma once

#include "views/CommandIds.h"

// The controller's states and the ways of opening them. The command identifiers that windows and
// the main frame raise are in views/CommandIds.h, shared with the windows that raise them.
namespace marrowleaf::desktop {

enum State : int {
  STATE_MAIN_WINDOW = 0,
  STATE_ADD_BOOKS_VIEW = 1,
  STATE_POPUP_MENU = 2,
  STATE_APP_LIST = 3,
  STATE_WIFI_DIALOG = 4,
};

enum StateOpeningType : int {
  STATE_OPEN_PUSH = 0,
  STATE_OPEN_SWITCH = 1,
  STATE_OPEN_RETURN = 2,
};

// The parameters of command 300 that the program's own threads send through SDK event 212.
constexpr int kDataManagerNotification = 14322;
constexpr int kCoverReadyNotification = 46122;

}  // namespace marrowleaf::desktop
