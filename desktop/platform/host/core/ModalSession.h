#pragma once

namespace marrowleaf::platform {

// Something that holds the application until it is answered (a modal dialog). While it runs, the
// event loop gives it the input, keeps the application's events and timers for later and lets the
// script go on (EventLoop::RunModal).
class ModalSession {
 public:
  virtual ~ModalSession() = default;

  // An event on its way to the application. True when the session took it; false keeps it for
  // the application, which receives it once the session has ended.
  virtual bool Offer(int type, int par1, int par2) = 0;
  // True once answered (the session may also look for an answer queued meanwhile).
  virtual bool Finished() = 0;
  // Nobody will answer (the script ended, the program must close): take the default.
  virtual void EndUnanswered() = 0;
};

}  // namespace marrowleaf::platform
