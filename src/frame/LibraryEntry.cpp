// The library entry point, and on Windows the DLL entry point that calls it.
#include "LibraryEntry.h"

namespace quarn::frame {

BOOL LibraryEntry(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
  return TRUE;
}

}  // namespace quarn::frame

#if defined(_WIN32)
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  return quarn::frame::LibraryEntry(module, reason, reserved);
}
#endif
