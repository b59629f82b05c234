#include "ModalDialog.h"

#include <algorithm>

#include "DialogAnswerQueue.h"
#include "DialogLayer.h"
#include "platform/sdk/events.h"

namespace marrowleaf::platform {

int ModalDialog::ValidAnswer(int queued, size_t buttons) {
  if (queued < 0 || static_cast<size_t>(queued) > buttons)
    return kDefaultAnswer;
  return queued;
}

bool ModalDialog::Finished() {
  if (answer_ >= 0)
    return true;
  if (const std::optional<int> queued = DialogAnswerQueue::Get().Pop())
    answer_ = ValidAnswer(*queued, buttons_);
  return answer_ >= 0;
}

bool ModalDialog::Offer(int type, int par1, int par2) {
  switch (type) {
    case EVT_KEYPRESS:
    case EVT_KEYREPEAT:
    case EVT_KEYRELEASE:
      return OfferKey(type, par1);
    case EVT_POINTERDOWN:
    case EVT_POINTERMOVE:
    case EVT_POINTERLONG:
    case EVT_POINTERUP:
      return OfferPen(type, par1, par2);
    case EVT_EXIT:
      // The device closes the program: the dialog goes with its default, the program then
      // receives the exit event.
      EndUnanswered();
      return false;
    default:
      return false;
  }
}

void ModalDialog::MoveFocus(int step) {
  const int last = static_cast<int>(buttons_) - 1;
  focused_ = std::clamp(focused_ + step, 0, std::max(last, 0));
  DialogLayer::Get().SetFocused(box_id_, focused_);
}

bool ModalDialog::OfferKey(int type, int key) {
  if (type == EVT_KEYRELEASE) {
    if (key != key_down_)
      return false;
    key_down_ = -1;
    if (key == KEY_OK)
      answer_ = focused_ + 1;
    else if (key == KEY_BACK)
      answer_ = 0;
    return true;
  }
  if (type == EVT_KEYPRESS)
    key_down_ = key;
  else if (key != key_down_)
    return false;
  if (key == KEY_LEFT || key == KEY_UP || key == KEY_PREV || key == KEY_PREV2)
    MoveFocus(-1);
  else if (key == KEY_RIGHT || key == KEY_DOWN || key == KEY_NEXT || key == KEY_NEXT2)
    MoveFocus(1);
  return true;
}

bool ModalDialog::OfferPen(int type, int x, int y) {
  if (type == EVT_POINTERDOWN) {
    pen_down_ = true;
    pressed_ = DialogLayer::Get().ButtonAt(box_id_, x, y);
    DialogLayer::Get().SetPressed(box_id_, pressed_);
    return true;
  }
  if (!pen_down_)
    return false;
  const int under = DialogLayer::Get().ButtonAt(box_id_, x, y);
  if (type == EVT_POINTERUP) {
    pen_down_ = false;
    if (pressed_ >= 0 && under == pressed_)
      answer_ = pressed_ + 1;
    else
      DialogLayer::Get().SetPressed(box_id_, -1);
    pressed_ = -1;
    return true;
  }
  // A finger that slides off the button lets it go; coming back does not press it again.
  if (type == EVT_POINTERMOVE && under != pressed_ && pressed_ >= 0) {
    pressed_ = -1;
    DialogLayer::Get().SetPressed(box_id_, -1);
  }
  return true;
}

}  // namespace marrowleaf::platform
