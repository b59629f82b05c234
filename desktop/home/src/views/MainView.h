#pragma once

#include <vector>

#include "controllers/MainScreen.h"
#include "platform/mw/MWDialog.h"

class MWBitmapButton;
class MWLabel;

namespace marrowleaf::desktop {

class ApplicationContainer;
class DesktopContainer;
class PointsContainer;

// The home screen. It loads the layout "MainView" and binds the windows the layout names: pages of
// book tiles ("DeviceBlockPage1", 2, ...) over the device block, the store block with its header
// (title, previous and next block, "more"), the recommendations' activation panel, the page marks
// ("Points") and the shortcut row ("ApplicationModule"). Every named window is optional.
//
// The layout has two variants: "View", and "View_BSWidget" with the store block, chosen by the
// store-widget mode. When the mode changes later the view raises command 6 and the controller
// starts the program again, so that the other variant is loaded.
//
// It turns pages on swipes (101, 102 from its pages or the page marks) and on the page keys, steps
// the store blocks (111, 112), and moves the key focus on devices without a touch panel.
class MainView : public MWDialog, public MainScreen {
 public:
  MainView() { SetClassName("MainView"); }

  // MainScreen
  void Show() override { MWWindow::Show(); }
  void Hide() override { MWWindow::Hide(); }
  bool IsVisible() const override { return MWWindow::IsVisible(); }
  void MarkAsChanged() override { MWWindow::MarkAsChanged(); }
  // Gives the view the key focus: its first tile where the focus is what the reader sees (no
  // touch panel, or the screen reader's focus).
  void SetFocus() override;
  void Refresh() override;
  void ResetToFirstPage() override;
  int GetBookSlotCount() const override;
  bool UpdateStoreWidgetMode(bool advance) override;

  void UpdateStoreBlock();
  void LayoutStoreHeader();
  // Turns `step` pages (wrapping around).
  void ChangePage(int step);
  int GetCurrentPage() const { return current_page_; }
  int GetPageCount() const { return static_cast<int>(pages_.size()); }
  int GetStoreWidgetMode() const { return store_widget_mode_; }
  DesktopContainer* GetPage(int index) const;
  DesktopContainer* GetStoreBlock() const { return store_block_; }
  ApplicationContainer* GetApplicationContainer() const { return applications_; }
  PointsContainer* GetPoints() const { return points_; }

  int MainHandler(int type, int par1, int par2) override;
  int OnCreate() override;
  int OnCommand(MWCommand& command) override;
  int OnFocusSet(MWWindow* from, int key) override;
  void OnShow() override;

 private:
  void BindViewWindows(MWWindow& view);
  void BindActivationPanel();
  void FillStoreBlock(bool mark);
  void CollectPages(MWWindow& view);
  void SetStoreVisibility(bool shown, size_t blocks);
  int HandleFocusedKey(int type, int key);
  bool HasFocusInside() const;
  bool FocusIsOnTouchlessDevice() const;
  void FocusPanel();

  std::vector<DesktopContainer*> pages_;
  DesktopContainer* store_block_ = nullptr;
  MWWindow* store_header_ = nullptr;
  MWWindow* prev_block_button_ = nullptr;
  MWWindow* next_block_button_ = nullptr;
  MWLabel* header_label_ = nullptr;
  // The header's title takes the width its text needs, up to the width the layout gave it.
  int header_label_width_ = 0;
  MWBitmapButton* more_button_ = nullptr;
  MWWindow* activate_block_ = nullptr;
  int current_page_ = 0;
  PointsContainer* points_ = nullptr;
  ApplicationContainer* applications_ = nullptr;
  int store_widget_mode_ = -1;
};

}  // namespace marrowleaf::desktop
