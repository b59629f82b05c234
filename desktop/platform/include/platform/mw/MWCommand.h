#pragma once

#include <string>

class MWWindow;

// A command raised by a window or made from a device event: an id and integer parameters. The third
// and fourth parameters are -1 when not used. Lists and grids also report the touched element's
// rectangle and, on the applications screen, the application id.
struct MWCommand {
  MWCommand() = default;
  MWCommand(int command_id, int first = 0, int second = 0)
      : id(command_id), param(first), param2(second) {}

  int id = 0;
  int param = 0;
  int param2 = 0;
  int param3 = -1;
  int param4 = -1;
  MWWindow* sender = nullptr;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::string text;
};
