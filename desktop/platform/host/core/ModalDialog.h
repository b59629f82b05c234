#pragma once

#include <cstddef>

#include "ModalSession.h"

namespace marrowleaf::platform {

// The input of an open dialog box of the DialogLayer, as the device handles it: a tap on a button
// answers it (the button shows pressed while the finger is on it), the arrow and page keys move the
// focus between the buttons, OK answers the focused one and Back dismisses the dialog (0). Taps
// outside the box do nothing, since the dialog is modal. Only input that begins while the dialog is
// open belongs to it: the release of a key or finger that went down before is kept for the
// application. An answer queued meanwhile ("answer N" of the script) is taken as well.
class ModalDialog : public ModalSession {
 public:
  ModalDialog(int box_id, size_t buttons) : box_id_(box_id), buttons_(buttons) {}

  bool Offer(int type, int par1, int par2) override;
  bool Finished() override;
  // The default button, as when nobody is there to answer.
  void EndUnanswered() override { answer_ = kDefaultAnswer; }

  // The answer: 1.. the button, 0 dismissed; -1 while open.
  int Answer() const { return answer_; }

  // The button a queued answer names: itself when it is a button or 0, else the default one.
  static int ValidAnswer(int queued, size_t buttons);
  static constexpr int kDefaultAnswer = 1;

 private:
  bool OfferKey(int type, int key);
  bool OfferPen(int type, int x, int y);
  void MoveFocus(int step);

  int box_id_;
  size_t buttons_;
  int answer_ = -1;
  int focused_ = 0;
  int key_down_ = -1;
  bool pen_down_ = false;
  int pressed_ = -1;
};

}  // namespace marrowleaf::platform
