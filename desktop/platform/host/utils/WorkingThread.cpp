#include "platform/utils/WorkingThread.h"

#include <system_error>

namespace marrowleaf::utilities {
namespace {

// How long the thread sleeps between looks at its stop flag when nothing is queued.
constexpr int kIdleWaitMs = 100;

}  // namespace

WorkingThread::WorkingThread() {
  tasks_.Init();
}

WorkingThread::~WorkingThread() {
  Stop();
}

int WorkingThread::Run() {
  if (thread_.joinable())
    return MW_WRONG_STATE;
  if (!tasks_.IsInited())
    return MW_FAILED;
  stop_ = false;
  try {
    thread_ = std::thread(&WorkingThread::Loop, this);
  } catch (const std::system_error& error) {
    MW_LOG(MW_LOG_ERROR, "can't start the worker thread: %s", error.what());
    return MW_FAILED;
  }
  return MW_OK;
}

int WorkingThread::EnqueueTask(const Task& task) {
  return Enqueue(task, false);
}

int WorkingThread::EnqueueTaskFront(const Task& task) {
  return Enqueue(task, true);
}

int WorkingThread::Enqueue(const Task& task, bool front) {
  if (!task)
    return MW_FAILED;
  // Counted before it is visible to the thread, so the idle test never misses a task in flight.
  ++pending_;
  const int result = front ? tasks_.PushFront(task) : tasks_.Push(task);
  if (result != MW_OK)
    --pending_;
  return result;
}

void WorkingThread::Stop() {
  stop_ = true;
  tasks_.WakeAll();
  if (thread_.joinable())
    thread_.join();
  pending_ -= static_cast<int>(tasks_.Clear());
}

void WorkingThread::Loop() {
  while (!stop_) {
    Task task;
    if (tasks_.WaitPop(&task, kIdleWaitMs) != MW_OK)
      continue;
    task->Run();
    task.reset();
    --pending_;
  }
}

}  // namespace marrowleaf::utilities
