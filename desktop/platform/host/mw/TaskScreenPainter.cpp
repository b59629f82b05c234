#include "TaskScreenPainter.h"

#include <optional>
#include <string>

#include "TaskManager.h"
#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::platform {
namespace {

std::string FileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Joined(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) text += (text.empty() ? "" : " ") + argument;
  return text;
}

std::optional<TaskRecord> TaskHoldingScreen() {
  const DeviceSharedState* shared = GetDeviceSharedState();
  if (shared == nullptr || shared->foreign_task_in_front == 0)
    return std::nullopt;
  return TaskManager::Get().Table().Get(shared->active_task);
}

MWFont FontOf(int size, bool bold) {
  MWFont font;
  font.size = size;
  font.bold = bold;
  return font;
}

}  // namespace

bool TaskScreenPainter::TaskInFront() {
  const DeviceSharedState* shared = GetDeviceSharedState();
  return shared != nullptr && shared->foreign_task_in_front != 0;
}

bool TaskScreenPainter::PaintTaskInFront() {
  const std::optional<TaskRecord> task = TaskHoldingScreen();
  if (!task)
    return false;
  const MWRect screen{0, 0, ScreenWidth(), ScreenHeight()};
  MWGraphics graphics(screen);
  graphics.FillRect(screen, MW_COLOR_WHITE);
  const int margin = screen.w / 12;
  const int width = screen.w - 2 * margin;
  int y = margin;
  graphics.SetFont(FontOf(9, false));
  y += graphics.DrawText(MWRect{margin, y, width, screen.h / 10}, task->app_name,
                         MW_TEXT_LEFT | MW_TEXT_ELLIPSIS);
  graphics.DrawLine(margin, y + margin / 4, margin + width, y + margin / 4, MW_COLOR_BLACK,
                    GetDefaultFrameCertifiedThickness(-1));
  y = screen.h / 3;
  const bool book = !task->book_path.empty();
  const std::string headline = book ? WithoutExtension(FileName(task->book_path)) : task->app_name;
  graphics.SetFont(FontOf(20, true));
  y += graphics.DrawText(MWRect{margin, y, width, screen.h / 4}, headline,
                         MW_TEXT_HCENTER | MW_TEXT_WRAP | MW_TEXT_ELLIPSIS);
  graphics.SetFont(FontOf(9, false));
  graphics.DrawText(MWRect{margin, y + margin / 2, width, screen.h / 4},
                    book ? task->book_path : Joined(task->arguments),
                    MW_TEXT_HCENTER | MW_TEXT_WRAP | MW_TEXT_ELLIPSIS);
  MWGraphics::MarkDirty(screen, MW_UPDATE_FULL);
  MWGraphics::FlushUpdates();
  return true;
}

}  // namespace marrowleaf::platform
