#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class MWWindow;

// Makes windows by class name for the layout loader. The framework's own controls ("MWWindow",
// "MWDialog", "MWLabel", "MWBitmap", "MWBitmapButton", "MWScrollView", "MWScrollGrid",
// "BindScrollGrid", "MWScrollList", "BindScrollList", "MWGradientWindow") are always known; an
// application registers its view classes at start-up. Event-loop thread only.
class WindowFactory {
 public:
  using Creator = std::function<std::unique_ptr<MWWindow>()>;

  // Registers (or replaces) the creator of a class name. Returns true, so a static registration can
  // be written as `static bool registered = WindowFactory::Register(...);`.
  static bool Register(const std::string& class_name, Creator creator);
  // A new window of the class, not yet created; nullptr for an unknown class.
  static std::unique_ptr<MWWindow> Create(const std::string& class_name);
  static bool IsRegistered(const std::string& class_name);
  static std::vector<std::string> RegisteredClasses();
};
