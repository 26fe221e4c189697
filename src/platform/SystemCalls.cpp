// The library entry point, and the load-time hook that calls it where the
// platform has no DLL entry point of its own.
#include "frame/LibraryEntry.h"

#if defined(_WIN32)

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
  return TRUE;
}

#else

#include <atomic>

namespace quarn::platform {
namespace {
std::atomic<bool> threadCallsDisabled{false};
}  // namespace

BOOL DisableThreadLibraryCalls(HINSTANCE /*module*/) {
  threadCallsDisabled.store(true, std::memory_order_relaxed);
  return TRUE;
}

bool ThreadLibraryCallsDisabled() { return threadCallsDisabled.load(std::memory_order_relaxed); }

BOOL LibraryEntry(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
  return TRUE;
}

HINSTANCE ThisModule() {
  // The address of a symbol of this library identifies the loaded module.
  return reinterpret_cast<HINSTANCE>(&ThisModule);
}

}  // namespace quarn::platform

#endif
