#pragma once

#include <string>

#include "controllers/Highlightable.h"
#include "platform/mw/MWBitmapButton.h"

namespace marrowleaf::desktop {

// One application: its icon with its title below. On the home screen's shortcut row the item
// draws as a button; in the applications list (button style off) icon and title are centred
// together in the item. A marked item (the slot being edited) is framed by a dashed line.
// Tapping raises command 20, holding 21, with the application id as the command's text.
class AppItem : public MWBitmapButton, public Highlightable {
 public:
  AppItem() { SetClassName("AppItem"); }

  // Shows the application of that id ("SYS_Null": an empty slot without a picture). With
  // badge_on_apps the applications entry carries the new-audiobooks count too (when the
  // audiobooks application is not on the row itself). False for an unknown application.
  bool SetApplication(const std::string& id, bool badge_on_apps);
  const std::string& GetApplicationId() const { return application_id_; }
  void SetMarked(bool marked);
  bool IsMarked() const { return marked_; }
  void SetButtonStyle(bool button_style);
  // The height the item needs at a width: its title's lines and its picture.
  int ContentHeight(int width) const;
  // The width of the title's widest part (titles break at " -").
  int TitleWidth() const;

  // Highlightable
  void SetHighlighted(bool highlighted) override { SetMarked(highlighted); }

  int OnDraw(MWGraphics& graphics) override;
  int MainHandler(int type, int par1, int par2) override;
  void SendCommand(int id) override;
  int cloneFromPrototype(const MWWindow* prototype) override;

 protected:
  MWRect TextRect(int image_height) const override;

 private:
  void DrawStacked(MWGraphics& graphics);
  void DrawMarkedFrame(MWGraphics& graphics) const;
  std::string ShownTitle() const;

  std::string application_id_;
  std::string icon_name_;
  std::string focused_icon_name_;
  bool marked_ = false;
  bool button_style_ = true;
};

}  // namespace marrowleaf::desktop
