// Allocation.h - the library's one allocation path.
//
// Every buffer and block of the library comes from AllocateBytes, which calls
// the global operator new and tells the allocation-failure layer how large the
// request is, so that a size-aware recovery handler sees the real size.
#ifndef QUARNBASE_SRC_FRAME_ALLOCATION_H
#define QUARNBASE_SRC_FRAME_ALLOCATION_H

#include <cstddef>
#include <new>

#include "frame/NewHandlerLayer.h"

namespace quarn::detail {

/// AllocateBytes once a sized handler exists: records the size for it first.
void* AllocateBytesRecorded(std::size_t size);

/// Allocates `size` bytes with the global operator new. Throws std::bad_alloc.
/// Inline: until a sized handler exists, nobody reads the size, and this is
/// one test on the way to operator new.
inline void* AllocateBytes(std::size_t size) {
  if (!platform::SizedHandlerEverInstalled()) return ::operator new(size);
  return AllocateBytesRecorded(size);
}

/// Releases memory from AllocateBytes with the global operator delete; null is ignored.
inline void ReleaseBytes(void* block) noexcept { ::operator delete(block); }

/// Returns header + count * width, or throws std::bad_alloc when the size
/// cannot be represented.
inline std::size_t CheckedBlockBytes(std::size_t count, std::size_t width, std::size_t header = 0) {
  const std::size_t limit = static_cast<std::size_t>(-1) / 2;  // keep sizes within ptrdiff_t
  if (width != 0 && count > (limit - header) / width) throw std::bad_alloc();
  return header + count * width;
}

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_FRAME_ALLOCATION_H
