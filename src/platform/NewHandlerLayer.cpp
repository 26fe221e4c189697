#include "NewHandlerLayer.h"

#include <atomic>
#include <new>

#if defined(_MSC_VER)
#include <new.h>
#endif

#include "Checked.h"

// The pending size is read and written around every library allocation; the
// initial-exec model makes that a plain thread-pointer access on ELF.
#if defined(__ELF__) && (defined(__GNUC__) || defined(__clang__))
#define QUARN_FAST_TLS __attribute__((tls_model("initial-exec")))
#else
#define QUARN_FAST_TLS
#endif

namespace quarn::platform {
namespace {

// Size of the library request now being made on this thread; 0 outside one.
thread_local unsigned int pendingSize QUARN_FAST_TLS = 0;

#if !defined(_MSC_VER)
// The std::new_handler that forwards to the sized handler. It hides the pending
// size while the handler runs, so allocations the handler makes report 0.
void ForwardToSizedHandler() {
  const unsigned int size = pendingSize;
  pendingSize = 0;
  const SizedNewHandler handler = installedHandler.load(std::memory_order_relaxed);
  const int retry = handler != nullptr ? handler(size) : 0;
  pendingSize = size;
  if (retry == 0) throw std::bad_alloc();
}
#else
// The C runtime hands the request size to its handler itself.
int __cdecl ForwardToSizedHandler(size_t size) {
  const SizedNewHandler handler = installedHandler.load(std::memory_order_relaxed);
  return handler != nullptr ? handler(quarn::platform::SaturatingNarrow<unsigned int>(size)) : 0;
}
#endif

}  // namespace

std::atomic<SizedNewHandler> installedHandler{nullptr};

void InstallSizedNewHandler(SizedNewHandler handler) {
  installedHandler.store(handler, std::memory_order_relaxed);
#if defined(_MSC_VER)
  _set_new_handler(&ForwardToSizedHandler);
#else
  std::set_new_handler(&ForwardToSizedHandler);
#endif
}

void RemoveNewHandler() {
  // std::set_new_handler also clears the C runtime's sized slot under MSVC.
  std::set_new_handler(nullptr);
}

PendingRequest::PendingRequest(std::size_t size) noexcept : saved(pendingSize) {
  pendingSize = quarn::platform::SaturatingNarrow<unsigned int>(size);
}

PendingRequest::~PendingRequest() { pendingSize = saved; }

}  // namespace quarn::platform
