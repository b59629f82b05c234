#pragma once

namespace marrowleaf::utilities {

// A unit of work that one thread hands to another: a queued cover load, a finished result.
class IRunnable {
 public:
  virtual ~IRunnable() = default;
  virtual void Run() = 0;
};

}  // namespace marrowleaf::utilities
