// LibraryEntry.h - the library entry point.
//
// On Windows the DLL's DllMain calls it. Elsewhere a load-time hook
// (LoadHook.cpp) calls it with process attach during the library's static
// initialisation, and with process detach at unload. The entry point relies
// on no other static object of the library.
#ifndef QUARNBASE_SRC_FRAME_LIBRARYENTRY_H
#define QUARNBASE_SRC_FRAME_LIBRARYENTRY_H

#include "SystemCalls.h"

namespace quarn::frame {

#if !defined(_WIN32)
// The stand-ins' names, which <windows.h> gives globally on Windows.
using namespace quarn::platform;
#endif

/// Switches off thread notifications on process attach and does nothing for
/// any other reason. Returns TRUE for every reason.
BOOL LibraryEntry(HINSTANCE module, DWORD reason, LPVOID reserved);

}  // namespace quarn::frame

#endif  // QUARNBASE_SRC_FRAME_LIBRARYENTRY_H
