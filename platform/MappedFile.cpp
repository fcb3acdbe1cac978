#include "platform/MappedFile.h"

#include <atomic>
#include <csetjmp>
#include <csignal>
#include <mutex>
#include <sys/mman.h>

namespace quorlin {

TMappedFile::~TMappedFile() {
  if (Bytes) ::munmap(const_cast<char*>(Bytes), static_cast<size_t>(Length));
}

bool TMappedFile::Map(int fd, int64_t size) {
  if (fd < 0 || size <= 0) return false;
  void* p = ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  if (p == MAP_FAILED) return false;
  ::madvise(p, static_cast<size_t>(size), MADV_SEQUENTIAL);
  Bytes = static_cast<const char*>(p);
  Length = size;
  return true;
}

namespace {

thread_local sigjmp_buf* GuardJump = nullptr;
std::mutex HandlerLock;
int Guards = 0;                  ///< guarded reads going on, in all threads
struct sigaction PreviousHandler; ///< the handler that was there before the first guard

void OnBusError(int signal, siginfo_t* info, void* context) {
  if (GuardJump) siglongjmp(*GuardJump, 1);
  // Not a guarded read: behave as the handler before would have.
  if (PreviousHandler.sa_flags & SA_SIGINFO) {
    if (PreviousHandler.sa_sigaction) PreviousHandler.sa_sigaction(signal, info, context);
    return;
  }
  if (PreviousHandler.sa_handler == SIG_IGN) return;
  if (PreviousHandler.sa_handler != SIG_DFL && PreviousHandler.sa_handler) {
    PreviousHandler.sa_handler(signal);
    return;
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

} // namespace

bool GuardedRead(const std::function<void()>& read) {
  {
    std::lock_guard<std::mutex> lock(HandlerLock);
    if (Guards++ == 0) {
      struct sigaction action {};
      action.sa_sigaction = OnBusError;
      // SA_NODEFER: the jump out of the handler leaves SIGBUS unblocked, so
      // the jump buffer need not save the signal mask (no system call).
      action.sa_flags = SA_SIGINFO | SA_NODEFER;
      sigemptyset(&action.sa_mask);
      ::sigaction(SIGBUS, &action, &PreviousHandler);
    }
  }
  sigjmp_buf jump;
  bool completed = false;
  if (sigsetjmp(jump, 0) == 0) {
    GuardJump = &jump;
    read();
    completed = true;
  }
  GuardJump = nullptr;
  {
    std::lock_guard<std::mutex> lock(HandlerLock);
    if (--Guards == 0) ::sigaction(SIGBUS, &PreviousHandler, nullptr);
  }
  return completed;
}

} // namespace quorlin
