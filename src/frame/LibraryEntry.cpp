// The library entry point, and on Windows the DLL entry point that calls it.
#include "LibraryEntry.h"

namespace quarn::frame {

BOOL LibraryEntry(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
  return TRUE;
}

}  // namespace quarn::frame

// Only the DLL has an entry point: linked statically, the library is part of
// the client's module, whose entry point is the client's.
#if defined(_WIN32) && !defined(QUARNBASE_STATIC_DEFINE)
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  return quarn::frame::LibraryEntry(module, reason, reserved);
}
#endif
