// The out-of-memory recovery hook and the handler it installs.
#include <quarnbase/MemRecover.h>

#include <basesup/basesup.h>

#include <atomic>

#include "NewHandlerLayer.h"

namespace {

// The handler runs on whichever thread's allocation failed, and the hook on
// the client's. This lock makes counting a recovery (and removing the handler
// after the last) one step, and installing or removing the handler with the
// reset another, so that a removal never undoes a later registration. Held for
// a few instructions only; never while the support library or the client runs.
std::atomic_flag stateLock = ATOMIC_FLAG_INIT;

// Holds stateLock for its lifetime, spinning until it is free.
class StateLock {
 public:
  StateLock() noexcept {
    while (stateLock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~StateLock() { stateLock.clear(std::memory_order_release); }
  StateLock(const StateLock&) = delete;
  StateLock& operator=(const StateLock&) = delete;
};

// Successful recoveries since the hook was last called; under StateLock.
int recoveryCount = 0;

// Recoveries after which the handler removes itself (the next one past it).
constexpr int kRecoveryLimit = 1000;

// Asks the support library to reclaim memory for a failed request of `size`
// bytes. Returns 1 to retry the allocation, 0 to let it fail. After more than
// kRecoveryLimit successful recoveries it removes itself, still answering 1
// that last time.
int RecoverMemory(unsigned int size) {
  if (gui_stdlib_recover(size) == 0) return 0;
  const StateLock lock;
  if (++recoveryCount > kRecoveryLimit) quarn::platform::RemoveNewHandler();
  return 1;
}

}  // namespace

extern "C" int quarn_mem_recover_func_cxx(int (**recoverFunc)(unsigned int, unsigned int),
                                          unsigned int* recoverArg) {
  {
    const StateLock lock;
    if (recoverFunc != nullptr && *recoverFunc != nullptr) {
      quarn::platform::InstallSizedNewHandler(&RecoverMemory);
    } else {
      quarn::platform::RemoveNewHandler();
    }
    recoveryCount = 0;
  }
  return quarn_mem_recover_func(recoverFunc, recoverArg);
}
