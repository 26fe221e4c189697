// Stand-ins for the operating system's calls where the system is not Windows.
#include "SystemCalls.h"

#if !defined(_WIN32)

#include <atomic>

namespace quarn::platform {
namespace {
std::atomic<HINSTANCE> threadCallsDisabledFor{nullptr};
}  // namespace

BOOL DisableThreadLibraryCalls(HINSTANCE module) {
  threadCallsDisabledFor.store(module, std::memory_order_relaxed);
  return TRUE;
}

HINSTANCE ThreadLibraryCallsDisabledFor() {
  return threadCallsDisabledFor.load(std::memory_order_relaxed);
}

HINSTANCE ThisModule() {
  // The address of a symbol of this library identifies the loaded module.
  return reinterpret_cast<HINSTANCE>(&ThisModule);
}

}  // namespace quarn::platform

#endif
