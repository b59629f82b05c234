#pragma once

#include "platform/mw/MWDialog.h"

namespace marrowleaf::desktop {

// The store block's news entry: a picture, a title, a subtitle, a description and, for an entry
// that leads to the settings, a button (command 13).
//
// Children (each optional): "Cover" (with the bitmap "cover"), the labels "title_label",
// "subtitle_label", "description_label", "button_label", the window "offset_block" and the
// bitmap button "button".
class NewsItem : public MWDialog {
 public:
  NewsItem() { SetClassName("NewsItem"); }

  void Bind(int block);
  void Refresh() { Bind(block_); }

  void AccessibilityPlayGroup() override;

 private:
  void FillButton(const std::string& text, const std::string& action);

  int block_ = 0;
  int index_ = 0;
};

}  // namespace marrowleaf::desktop
