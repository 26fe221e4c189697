#include "frame/Allocation.h"

#include "frame/NewHandlerLayer.h"

namespace quarn::detail {

void* AllocateBytesRecorded(std::size_t size) {
  platform::PendingRequest request(size);
  return ::operator new(size);
}

}  // namespace quarn::detail
