#pragma once

// The controller's states, the ways of opening them and the command identifiers that windows and
// the main frame raise.
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

enum CommandId : int {
  CMD_INIT = 1,
  CMD_EXIT = 2,
  CMD_CLOSE_APP = 3,
  CMD_RESTART = 4,
  CMD_CLOSE = 5,
  CMD_REBUILD = 6,
  CMD_WIFI_CONNECT = 7,
  CMD_OPEN_BOOK_ITEM = 10,
  CMD_HOLD_BOOK_ITEM = 11,
  CMD_OPEN_DETAILED_BOOK_ITEM = 12,
  CMD_OPEN_PARTNER_ACCOUNTS = 13,
  CMD_OPEN_APPLICATION = 20,
  CMD_HOLD_APPLICATION = 21,
  CMD_OPEN_STORE_BLOCK = 30,
  CMD_SWIPE = 100,
  CMD_PAGE_PREVIOUS = 101,
  CMD_PAGE_NEXT = 102,
  CMD_STORE_BLOCK_PREVIOUS = 111,
  CMD_STORE_BLOCK_NEXT = 112,
  CMD_ACTIVATE_RECOMMENDATIONS = 150,
  CMD_USER_EVENT = 300,
  CMD_SYSTEM_EVENT = 301,
  CMD_OPEN_ITEM = 400,
  CMD_CONFIRM_DELETE = 501,
  CMD_CONFIRM_CLOUD_DELETE = 502,
  CMD_HOME = 10000,
  CMD_OPEN_CONTROL_PANEL = 10001,
};

// The parameters of command 300 that the program's own threads send through SDK event 212.
constexpr int kDataManagerNotification = 14322;
constexpr int kCoverReadyNotification = 46122;

}  // namespace marrowleaf::desktop
