// LibraryEntry.h - the library entry point and what it needs of the platform.
//
// On Windows the entry point is the DLL's own DllMain. Elsewhere the same
// function is called by a load-time hook with process attach, and with process
// detach at unload; a stand-in for DisableThreadLibraryCalls records that the
// module wants no per-thread notifications.
#ifndef QUARNBASE_SRC_FRAME_LIBRARYENTRY_H
#define QUARNBASE_SRC_FRAME_LIBRARYENTRY_H

#if defined(_WIN32)
#include <windows.h>
#else
namespace quarn::platform {

using HINSTANCE = void*;
using DWORD = unsigned long;
using LPVOID = void*;
using BOOL = int;
constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;
constexpr DWORD DLL_THREAD_ATTACH = 2;
constexpr DWORD DLL_THREAD_DETACH = 3;
constexpr BOOL TRUE = 1;

/// Switches off thread attach/detach notifications for `module`; returns TRUE.
BOOL DisableThreadLibraryCalls(HINSTANCE module);

/// Whether DisableThreadLibraryCalls has been called for this library.
bool ThreadLibraryCallsDisabled();

/// The library entry point: switches off thread notifications on process
/// attach and does nothing for any other reason. Returns TRUE for every reason.
BOOL LibraryEntry(HINSTANCE module, DWORD reason, LPVOID reserved);

/// The module handle the load-time hook passes to the entry point.
HINSTANCE ThisModule();

}  // namespace quarn::platform
#endif

#endif  // QUARNBASE_SRC_FRAME_LIBRARYENTRY_H
