// Registry of the client's memory-recovery function.
#include <basesup/basesup.h>

#include <atomic>

namespace {

// The slot is read at each recovery, so a client may swap the function it holds.
struct Registration {
  basesup_recover_fn* slot;
  unsigned int* arg;
};
Registration registered = {nullptr, nullptr};

// Recoveries run on whichever thread's allocation failed, and a registration
// may come meanwhile: the pair is read and written whole under this lock, held
// for the copy only (never while the client's function runs).
std::atomic_flag registrationLock = ATOMIC_FLAG_INIT;

void Lock() {
  while (registrationLock.test_and_set(std::memory_order_acquire)) {
  }
}
void Unlock() { registrationLock.clear(std::memory_order_release); }

}  // namespace

extern "C" int quarn_mem_recover_func(basesup_recover_fn* slot, unsigned int* arg) {
  Lock();
  registered = {slot, arg};
  Unlock();
  return (slot != nullptr && *slot != nullptr) ? 1 : 0;
}

extern "C" int gui_stdlib_recover(unsigned int size) {
  Lock();
  const Registration now = registered;
  Unlock();
  if (now.slot == nullptr || *now.slot == nullptr) return 0;
  return (*now.slot)(size, now.arg != nullptr ? *now.arg : 0);
}
