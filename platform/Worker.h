// A second thread for the work of a run that can go on beside the main
// thread's: one task at a time, handed over and waited for.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quorlin {

class TWorker {
public:
  TWorker();
  ~TWorker();
  TWorker(const TWorker&) = delete;
  TWorker& operator=(const TWorker&) = delete;
  /// Starts task on the worker thread; the previous task must be waited for.
  void Start(std::function<void()> task);
  /// Waits until the task started last has finished.
  void Wait();

private:
  std::mutex Lock;
  std::condition_variable Changed;
  std::function<void()> Task;
  bool Busy = false, Quit = false;
  std::thread Thread;
  void Loop();
};

} // namespace quorlin
