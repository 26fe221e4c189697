#include "Allocation.h"

#include "NewHandlerLayer.h"

#if defined(QUARNBASE_ALLOCATION_HOOKS)
#include <windows.h>
#endif

namespace quarn::platform {

void* AllocateBytesRecorded(std::size_t size) {
  PendingRequest request(size);
  return NewBytes(size);
}

#if defined(QUARNBASE_ALLOCATION_HOOKS)
namespace {

// The allocation functions of the test program that loaded the library, or
// null when the program exports none. Looked up once, in the program's export
// table (which is there before any code of the program runs).
const AllocationHooks* ProgramHooks() {
  static const AllocationHooks* const hooks = reinterpret_cast<const AllocationHooks*>(
      GetProcAddress(GetModuleHandleW(nullptr), kAllocationHooksName));
  return hooks;
}

}  // namespace

void* NewBytes(std::size_t size) {
  const AllocationHooks* hooks = ProgramHooks();
  return hooks != nullptr ? hooks->allocate(size) : ::operator new(size);
}

void ReleaseBytes(void* block) noexcept {
  const AllocationHooks* hooks = ProgramHooks();
  if (hooks != nullptr) {
    hooks->release(block);
  } else {
    ::operator delete(block);
  }
}
#endif

}  // namespace quarn::platform
