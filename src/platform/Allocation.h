// Allocation.h - the library's one allocation path.
//
// Every buffer and block of the library comes from AllocateBytes, which calls
// the global operator new and tells the allocation-failure layer how large the
// request is, so that a size-aware recovery handler sees the real size.
#ifndef QUARNBASE_SRC_PLATFORM_ALLOCATION_H
#define QUARNBASE_SRC_PLATFORM_ALLOCATION_H

#include <cstddef>
#include <new>

namespace quarn::detail {

/// Allocates `size` bytes with the global operator new. Throws std::bad_alloc.
void* AllocateBytes(std::size_t size);

/// Releases memory from AllocateBytes with the global operator delete; null is ignored.
inline void ReleaseBytes(void* block) noexcept { ::operator delete(block); }

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_PLATFORM_ALLOCATION_H
