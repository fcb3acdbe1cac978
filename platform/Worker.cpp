#include "platform/Worker.h"

namespace quorlin {

TWorker::TWorker() : Thread([this] { Loop(); }) {}

TWorker::~TWorker() {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Quit = true;
  }
  Changed.notify_all();
  Thread.join();
}

void TWorker::Start(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> guard(Lock);
    Task = std::move(task);
    Busy = true;
  }
  Changed.notify_all();
}

void TWorker::Wait() {
  std::unique_lock<std::mutex> guard(Lock);
  Changed.wait(guard, [this] { return !Busy; });
}

void TWorker::Loop() {
  std::unique_lock<std::mutex> guard(Lock);
  for (;;) {
    Changed.wait(guard, [this] { return Quit || (Busy && Task); });
    if (Quit) return;
    std::function<void()> task = std::move(Task);
    Task = nullptr;
    guard.unlock();
    task();
    guard.lock();
    Busy = false;
    Changed.notify_all();
  }
}

} // namespace quorlin
