#include "frame/NewHandlerLayer.h"

#include <climits>
#include <new>

#if defined(_MSC_VER)
#include <new.h>
#endif

namespace quarn::platform {
namespace {

// Size of the library request now being made on this thread; 0 outside one.
thread_local unsigned int pendingSize = 0;

#if !defined(_MSC_VER)
SizedNewHandler installedHandler = nullptr;

// The std::new_handler that forwards to the sized handler. It hides the pending
// size while the handler runs, so allocations the handler makes report 0.
void ForwardToSizedHandler() {
  const unsigned int size = pendingSize;
  pendingSize = 0;
  const SizedNewHandler handler = installedHandler;
  const int retry = handler != nullptr ? handler(size) : 0;
  pendingSize = size;
  if (retry == 0) throw std::bad_alloc();
}
#else
SizedNewHandler installedHandler = nullptr;

int __cdecl ForwardToSizedHandler(size_t size) {
  return installedHandler != nullptr
             ? installedHandler(size > UINT_MAX ? UINT_MAX : static_cast<unsigned int>(size))
             : 0;
}
#endif

}  // namespace

void InstallSizedNewHandler(SizedNewHandler handler) {
  installedHandler = handler;
#if defined(_MSC_VER)
  _set_new_handler(&ForwardToSizedHandler);
#else
  std::set_new_handler(&ForwardToSizedHandler);
#endif
}

PendingRequest::PendingRequest(std::size_t size) noexcept : saved(pendingSize) {
  pendingSize = size > UINT_MAX ? UINT_MAX : static_cast<unsigned int>(size);
}

PendingRequest::~PendingRequest() { pendingSize = saved; }

}  // namespace quarn::platform
