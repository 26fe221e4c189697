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

// Load-time hook. The empty string the library relies on is constant-
// initialised, so it is valid before this runs; unload reaches the entry point
// with process detach before the at-exit list destroys it.
__attribute__((constructor)) void OnLibraryLoad() {
  LibraryEntry(ThisModule(), DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void OnLibraryUnload() {
  LibraryEntry(ThisModule(), DLL_PROCESS_DETACH, nullptr);
}

}  // namespace quarn::platform

#endif
