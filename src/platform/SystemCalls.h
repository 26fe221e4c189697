// SystemCalls.h - the operating system's calls that the library makes.
//
// On Windows this is <windows.h>. Elsewhere it declares stand-ins with the same
// names and types: the types and reasons of a DLL entry point, and a
// DisableThreadLibraryCalls that records its call, since there is no system
// call to make.
#ifndef QUARNBASE_SRC_PLATFORM_SYSTEMCALLS_H
#define QUARNBASE_SRC_PLATFORM_SYSTEMCALLS_H

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

/// Switches off thread attach/detach notifications for `module`: records
/// `module` as the module that asked. Returns TRUE.
BOOL DisableThreadLibraryCalls(HINSTANCE module);

/// The module of the latest DisableThreadLibraryCalls; null before the first.
HINSTANCE ThreadLibraryCallsDisabledFor();

/// The handle of this library's module, which the system's loader would pass
/// to the entry point.
HINSTANCE ThisModule();

}  // namespace quarn::platform
#endif

#endif  // QUARNBASE_SRC_PLATFORM_SYSTEMCALLS_H
