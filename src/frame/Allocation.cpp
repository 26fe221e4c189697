#include "frame/Allocation.h"

#include "frame/NewHandlerLayer.h"

namespace quarn::detail {

void* AllocateBytes(std::size_t size) {
  platform::PendingRequest request(size);
  return ::operator new(size);
}

}  // namespace quarn::detail
