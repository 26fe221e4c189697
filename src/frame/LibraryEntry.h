// LibraryEntry.h - the library entry point.
//
// On Windows the DLL's DllMain calls it. Elsewhere a load-time hook
// (StaticData.cpp) calls it with process attach once the library's static
// initialisation has run, and with process detach at unload.
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
