#pragma once

// The commands that the home screen's windows and the main frame raise, by the numbers the
// controller knows them by. The main view takes the page and store-block commands itself; every
// other one travels up the window tree to the frame and the controller.
namespace marrowleaf::desktop {

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
  CMD_PAGE_NEXT = 101,
  CMD_PAGE_PREVIOUS = 102,
  CMD_STORE_BLOCK_NEXT = 111,
  CMD_STORE_BLOCK_PREVIOUS = 112,
  CMD_ACTIVATE_RECOMMENDATIONS = 150,
  CMD_USER_EVENT = 300,
  CMD_SYSTEM_EVENT = 301,
  CMD_OPEN_ITEM = 400,
  CMD_CONFIRM_DELETE = 501,
  CMD_CONFIRM_CLOUD_DELETE = 502,
  CMD_HOME = 10000,
  CMD_OPEN_CONTROL_PANEL = 10001,
};

}  // namespace marrowleaf::desktop
