// Allocation.h - the library's one allocation path.
//
// Every buffer and block of the library comes from AllocateBytes, which calls
// the global operator new and tells the allocation-failure layer how large the
// request is, so that a size-aware recovery handler sees the real size. Every
// one goes back through ReleaseBytes.
//
// Test builds of the Windows DLLs (QUARNBASE_ALLOCATION_HOOKS): a program's
// replacement of operator new does not reach the one a DLL binds, so the test
// harness exports its allocation functions from the program as an
// AllocationHooks record named kAllocationHooksName, and the library allocates
// and releases through them when the program has them.
#ifndef QUARNBASE_SRC_PLATFORM_ALLOCATION_H
#define QUARNBASE_SRC_PLATFORM_ALLOCATION_H

#include <cstddef>
#include <new>

#include "NewHandlerLayer.h"

namespace quarn::platform {

/// AllocateBytes once a sized handler exists: records the size for it first.
void* AllocateBytesRecorded(std::size_t size);

#if defined(QUARNBASE_ALLOCATION_HOOKS)
/// Allocates `size` bytes with the test program's hooks when it has them,
/// else with the global operator new. Throws std::bad_alloc.
void* NewBytes(std::size_t size);

/// Releases memory from AllocateBytes; null is ignored.
void ReleaseBytes(void* block) noexcept;

/// A test program's replacements of operator new and operator delete.
struct AllocationHooks {
  void* (*allocate)(std::size_t size);  ///< throws std::bad_alloc, as operator new does
  void (*release)(void* block) noexcept;
};

/// The name under which a test program exports its AllocationHooks.
inline constexpr char kAllocationHooksName[] = "quarn_test_allocation_hooks";
#else
/// Allocates `size` bytes with the global operator new. Throws std::bad_alloc.
inline void* NewBytes(std::size_t size) { return ::operator new(size); }

/// Releases memory from AllocateBytes with the global operator delete; null is ignored.
inline void ReleaseBytes(void* block) noexcept { ::operator delete(block); }
#endif

/// Allocates `size` bytes. Throws std::bad_alloc. Inline: until a sized
/// handler exists, nobody reads the size, and this is one test on the way to
/// the allocation.
inline void* AllocateBytes(std::size_t size) {
  if (!SizedHandlerEverInstalled()) return NewBytes(size);
  return AllocateBytesRecorded(size);
}

}  // namespace quarn::platform

#endif  // QUARNBASE_SRC_PLATFORM_ALLOCATION_H
