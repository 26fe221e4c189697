// NewHandlerLayer.h - a size-aware allocation-failure handler on top of the
// standard std::new_handler.
//
// The standard handler receives no size and answers nothing; this layer keeps
// the size of the library's pending request per thread and turns the sized
// handler's answer into "return and retry" (nonzero) or "throw" (zero).
#ifndef QUARNBASE_SRC_PLATFORM_NEWHANDLERLAYER_H
#define QUARNBASE_SRC_PLATFORM_NEWHANDLERLAYER_H

#include <atomic>
#include <cstddef>

namespace quarn::platform {

/// A handler that gets the failed request's size and answers retry (nonzero) or fail (0).
using SizedNewHandler = int (*)(unsigned int size);

/// Installs `handler` as the allocation-failure handler of the C++ runtime the
/// library uses (which allocations that covers: MemRecover.h), replacing
/// whatever was installed before.
void InstallSizedNewHandler(SizedNewHandler handler);

/// Leaves the C++ runtime with no allocation-failure handler, so that a failed
/// allocation throws std::bad_alloc. Sizes stay recorded (see
/// SizedHandlerEverInstalled), ready for the next installation.
void RemoveNewHandler();

/// The sized handler; null until one is installed.
extern std::atomic<SizedNewHandler> installedHandler;

/// Whether a sized handler has been installed at some time. Until then no
/// allocation needs its size recorded. Inline: every allocation asks.
inline bool SizedHandlerEverInstalled() {
  return installedHandler.load(std::memory_order_relaxed) != nullptr;
}

/// Records the size of the library allocation about to be made on this thread
/// for as long as the object lives. Sizes above UINT_MAX are reported as
/// UINT_MAX; allocations made outside such a scope are reported as size 0.
class PendingRequest {
 public:
  explicit PendingRequest(std::size_t size) noexcept;
  ~PendingRequest();
  PendingRequest(const PendingRequest&) = delete;
  PendingRequest& operator=(const PendingRequest&) = delete;

 private:
  unsigned int saved;
};

}  // namespace quarn::platform

#endif  // QUARNBASE_SRC_PLATFORM_NEWHANDLERLAYER_H
