#pragma once

namespace marrowleaf::desktop {

// The cover cache as the controller uses it.
class CoverCache {
 public:
  virtual ~CoverCache() = default;
  // A cover became ready on the worker thread: take the finished results on the event loop.
  virtual void OnCoverReady() = 0;
  // Writes the cover cache index ("desktop").
  virtual void SaveCache() = 0;
};

}  // namespace marrowleaf::desktop
