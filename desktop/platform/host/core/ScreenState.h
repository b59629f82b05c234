#pragma once

#include <mutex>
#include <string>

namespace marrowleaf::platform {

enum class UpdateKind { kFull, kPartial, kSoft, kDynamic };

// What the panel (status bar) shows.
struct PanelContent {
  int icon = 0;
  std::string text;
  std::string title;
  int percent = 0;
  // Filled in by Panel(): the key focus rests on the panel, notifications the reader has not seen,
  // and whether the network is up.
  bool focused = false;
  int notifications = 0;
  bool network = false;

  bool operator==(const PanelContent& other) const {
    return icon == other.icon && text == other.text && title == other.title &&
           percent == other.percent && focused == other.focused &&
           notifications == other.notifications && network == other.network;
  }
};

// The display back-end's entry: called for every screen update with the rectangle in screen
// coordinates, on the thread that asked for the update. It returns when the update is shown.
using ScreenUpdateHook = void (*)(UpdateKind kind, int x, int y, int width, int height);
// Installs the back-end (nullptr: updates are only recorded).
void SetScreenUpdateHook(ScreenUpdateHook hook);

// What the screen functions of the SDK remember: the panel, the orientation and the updates. Every
// update is written to the journal as event "update" and handed to the display back-end. Safe from
// any thread.
class ScreenState {
 public:
  static ScreenState& Get();

  static const char* KindName(UpdateKind kind);

  // Records an update of a rectangle already clipped to the screen and shows it.
  void Update(UpdateKind kind, int x, int y, int width, int height);
  // Returns when no update is being shown.
  void WaitForUpdates();
  int UpdateCount() const;
  void SetHook(ScreenUpdateHook hook);

  // Returns false when the value didn't change.
  bool SetPanelTransparency(int percent);
  int PanelTransparency() const;
  void SetPanelType(int type);
  int PanelType() const;
  void SetPanelFocused(bool focused);
  bool PanelFocused() const;
  void SetPanelContent(PanelContent content);
  PanelContent Panel() const;

  void SetOrientation(int orientation);
  int Orientation() const;
  void SetDefaultOrientation(int orientation);
  int DefaultOrientation() const;

 private:
  ScreenState() = default;

  mutable std::mutex mutex_;
  // Held while the back-end shows an update, so WaitForUpdates returns after it.
  std::mutex update_mutex_;
  ScreenUpdateHook hook_ = nullptr;
  int updates_ = 0;
  int panel_transparency_ = 0;
  int panel_type_ = 0;
  bool panel_focused_ = false;
  PanelContent panel_;
  int orientation_ = 0;
  int default_orientation_ = 0;
};

}  // namespace marrowleaf::platform
