// Registry of the client's memory-recovery function.
#include <basesup/basesup.h>

namespace {
// The slot is read at each recovery, so a client may swap the function it holds.
basesup_recover_fn* recoverSlot = nullptr;
unsigned int* recoverArg = nullptr;
}  // namespace

extern "C" int quarn_mem_recover_func(basesup_recover_fn* slot, unsigned int* arg) {
  recoverSlot = slot;
  recoverArg = arg;
  return (slot != nullptr && *slot != nullptr) ? 1 : 0;
}

extern "C" int gui_stdlib_recover(unsigned int size) {
  if (recoverSlot == nullptr || *recoverSlot == nullptr) return 0;
  return (*recoverSlot)(size, recoverArg != nullptr ? *recoverArg : 0);
}
