#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "DialogBox.h"

namespace marrowleaf::platform {

// The boxes the system shows over the application, bottom first: at most one message (a new one
// replaces it) and the modal dialog. The layer keeps what they say; the display places and paints
// them (the presenter), and the application frame draws again what a closed box leaves uncovered.
// Both hooks run on the event-loop thread, which is the only one that opens, changes and closes
// boxes; reading them is safe from any thread.
class DialogLayer {
 public:
  // Sets the box's rectangles for the screen.
  using PlaceHook = void (*)(DialogBox* box);
  // Shows a screen area whose boxes changed (an MWUpdateKind).
  using ShowHook = void (*)(const MWRect& area, int update_kind);
  // Draws the application again in an area a box no longer covers.
  using UncoverHook = void (*)(const MWRect& area);

  static DialogLayer& Get();

  // Installs the display's presenter (nullptr: none) and places and shows the open boxes with it.
  void SetPresenter(PlaceHook place, ShowHook show);
  void SetUncoverHook(UncoverHook uncover);

  // Opens a box on top of the others and returns its id. A message closes the open message.
  int Open(DialogBox box);
  void Close(int id);
  // Moves the key focus, or the finger's press (-1: none), to a button of a dialog.
  void SetFocused(int id, int button);
  void SetPressed(int id, int button);

  std::vector<DialogBox> Boxes() const;
  std::optional<DialogBox> Find(int id) const;
  // The button (0-based) of the box at a screen point, or -1.
  int ButtonAt(int id, int x, int y) const;
  // Forgets every box without drawing (tests start from an empty screen).
  void Reset();

 private:
  DialogLayer() = default;
  DialogBox* Lookup(int id);
  const DialogBox* Lookup(int id) const;
  void Show(const MWRect& area, int update_kind) const;
  void Uncover(const MWRect& area) const;
  // Changes a field of a box and shows it again when it changed.
  void Change(int id, int DialogBox::*field, int value, int update_kind);

  mutable std::mutex mutex_;
  std::vector<DialogBox> boxes_;
  int last_id_ = 0;
  PlaceHook place_ = nullptr;
  ShowHook show_ = nullptr;
  UncoverHook uncover_ = nullptr;
};

}  // namespace marrowleaf::platform
