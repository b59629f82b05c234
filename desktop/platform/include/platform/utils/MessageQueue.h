#pragma once

#include <pthread.h>
#include <time.h>

#include <deque>
#include <utility>

#include "platform/sdk/log.h"
#include "platform/utils/MWResult.h"

namespace marrowleaf::utilities {

// A queue shared by two threads. Every operation holds the mutex only for the queue operation
// itself, so a thread that pushes is never held up by the work of the one that pops. Pop never
// waits; WaitPop waits on the condition variable for a bounded time.
template <typename T>
class MessageQueue {
 public:
  MessageQueue() = default;
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  virtual ~MessageQueue() {
    if (!is_inited_)
      return;
    queue_.clear();
    pthread_cond_destroy(&condition_);
    pthread_mutex_destroy(&mutex_);
  }

  int Init() {
    if (is_inited_)
      return Refuse("false == is_inited_", "\"MW_WRONG_STATE\"", MW_WRONG_STATE);
    int err = pthread_mutex_init(&mutex_, nullptr);
    if (err != 0)
      return Refuse("0 == err", "\"MW_FAILED\"", MW_FAILED);
    pthread_condattr_t attributes;
    pthread_condattr_init(&attributes);
    // Waits are measured on the monotonic clock, so a change of the wall clock can't stretch them.
    pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
    err = pthread_cond_init(&condition_, &attributes);
    pthread_condattr_destroy(&attributes);
    if (err != 0) {
      MW_LOG(MW_LOG_ERROR, "pthread_cond_init failed with [%d]", err);
      pthread_mutex_destroy(&mutex_);
      return Refuse("0 == err", "\"MW_FAILED\"", MW_FAILED);
    }
    is_inited_ = true;
    return MW_OK;
  }

  bool IsInited() const { return is_inited_; }

  virtual int Push(const T& element) { return Insert(element, false); }
  virtual int PushFront(const T& element) { return Insert(element, true); }

  int Pop(T* out) {
    if (!is_inited_)
      return NotInited();
    Lock lock(&mutex_);
    return TakeFront(out);
  }

  // Pops the front element, waiting up to timeout_ms for one to arrive. -1 when none came.
  int WaitPop(T* out, int timeout_ms) {
    if (!is_inited_)
      return NotInited();
    timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += timeout_ms / 1000;
    deadline.tv_nsec += static_cast<long>(timeout_ms % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
      deadline.tv_sec += 1;
      deadline.tv_nsec -= 1000000000L;
    }
    Lock lock(&mutex_);
    while (queue_.empty()) {
      if (pthread_cond_timedwait(&condition_, &mutex_, &deadline) != 0)
        break;
    }
    return TakeFront(out);
  }

  // Wakes every thread waiting in WaitPop (they find the queue as it is).
  void WakeAll() {
    if (!is_inited_)
      return;
    Lock lock(&mutex_);
    pthread_cond_broadcast(&condition_);
  }

  bool IsEmpty() {
    if (!is_inited_) {
      mw_log_guard(nullptr, __FILE__, __LINE__, __func__, "is_inited_", "\"MW_NOT_IMPEMENTED\"",
                   "empty");
      return true;
    }
    Lock lock(&mutex_);
    return queue_.empty();
  }

  // Drops every queued element; returns how many there were.
  size_t Clear() {
    if (!is_inited_)
      return 0;
    std::deque<T> dropped;
    {
      Lock lock(&mutex_);
      dropped.swap(queue_);
    }
    // Elements are released outside the lock: their destructors may be arbitrary code.
    return dropped.size();
  }

 private:
  class Lock {
   public:
    explicit Lock(pthread_mutex_t* mutex) : mutex_(mutex) { pthread_mutex_lock(mutex_); }
    ~Lock() { pthread_mutex_unlock(mutex_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    pthread_mutex_t* mutex_;
  };

  // The guard line of a refused operation, in the form every guard clause leaves behind.
  static int Refuse(const char* expression, const char* value, int result) {
    mw_log_guard(nullptr, __FILE__, __LINE__, "MessageQueue", expression, value, "%s", "");
    return result;
  }
  static int NotInited() {
    return Refuse("is_inited_", "\"MW_NOT_IMPEMENTED\"", MW_NOT_IMPEMENTED);
  }

  int Insert(const T& element, bool front) {
    if (!is_inited_)
      return NotInited();
    Lock lock(&mutex_);
    if (front) {
      queue_.push_front(element);
    } else {
      queue_.push_back(element);
    }
    pthread_cond_signal(&condition_);
    return MW_OK;
  }

  int TakeFront(T* out) {
    if (queue_.empty())
      return MW_FAILED;
    *out = std::move(queue_.front());
    queue_.pop_front();
    return MW_OK;
  }

  std::deque<T> queue_;
  pthread_mutex_t mutex_;
  pthread_cond_t condition_;
  bool is_inited_ = false;
};

}  // namespace marrowleaf::utilities
