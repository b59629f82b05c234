// Reads arbitrary bytes as a layout file and builds every window tree it declares: whatever the
// file holds, loading ends, stays within the window cap and leaves a tree that can be searched and
// torn down.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/mw/Layout.h"
#include "platform/mw/LayoutManager.h"
#include "platform/mw/MWWindow.h"

namespace {

constexpr size_t kMaxInput = 1 << 20;

int CountWindows(const MWWindow& window) {
  int count = 1;
  for (const MWWindow* child : window.Children()) count += CountWindows(*child);
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput)
    return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Layout layout = Layout::FromText(text, "fuzz");
  const LayoutManager manager(layout);
  for (const std::string& name : layout.LayoutNames()) {
    MWWindow root;
    root.Create(nullptr, 0, 0, 600, 800, MWS_VISIBLE);
    manager.LoadLayout(name, &root);
    if (CountWindows(root) > LayoutManager::kMaxWindows + 1)
      std::abort();
    root.GetNonDirectChildByName("no such window");
  }
  return 0;
}
