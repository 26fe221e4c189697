#include "Allocation.h"

#include "NewHandlerLayer.h"

namespace quarn::detail {

void* AllocateBytes(std::size_t size) {
  // Until a sized handler exists nobody reads the size; skip recording it.
  if (!platform::SizedHandlerEverInstalled()) return ::operator new(size);
  platform::PendingRequest request(size);
  return ::operator new(size);
}

}  // namespace quarn::detail
