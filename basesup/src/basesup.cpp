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

// Holds registrationLock for its lifetime, spinning until it is free.
class RegistrationLock {
 public:
  RegistrationLock() noexcept {
    while (registrationLock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~RegistrationLock() { registrationLock.clear(std::memory_order_release); }
  RegistrationLock(const RegistrationLock&) = delete;
  RegistrationLock& operator=(const RegistrationLock&) = delete;
};

}  // namespace

extern "C" int quarn_mem_recover_func(basesup_recover_fn* slot, unsigned int* arg) {
  {
    const RegistrationLock lock;
    registered = {slot, arg};
  }
  return (slot != nullptr && *slot != nullptr) ? 1 : 0;
}

extern "C" int gui_stdlib_recover(unsigned int size) {
  Registration now;
  {
    const RegistrationLock lock;
    now = registered;
  }
  if (now.slot == nullptr || *now.slot == nullptr) return 0;
  return (*now.slot)(size, now.arg != nullptr ? *now.arg : 0);
}
