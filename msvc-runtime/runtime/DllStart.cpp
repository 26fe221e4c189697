// DllStart.cpp - the entry point of a DLL built by this toolchain. On process
// attach it runs the module's static initialisation, then the module's
// DllMain; on process detach DllMain first, then the functions registered with
// atexit (the destructors of statics), which belong to this module alone.
#include <windows.h>

#include <corecrt_startup.h>

#include "StartUp.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);

namespace {
_onexit_table_t moduleExitTable;
}  // namespace

// Registers `function` to run when this module is unloaded.
extern "C" int __cdecl atexit(void(__cdecl* function)()) {
  return _register_onexit_function(&moduleExitTable, reinterpret_cast<_onexit_t>(function));
}

extern "C" BOOL WINAPI _DllMainCRTStartup(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    if (_initialize_onexit_table(&moduleExitTable) != 0 || !RunInitializers()) return FALSE;
    return DllMain(module, reason, reserved);
  }
  const BOOL result = DllMain(module, reason, reserved);
  if (reason == DLL_PROCESS_DETACH) _execute_onexit_table(&moduleExitTable);
  return result;
}

// The DllMain of a DLL that defines none: accepts every notification.
extern "C" BOOL WINAPI quarn_default_dll_main(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#if defined(_M_IX86)
#pragma comment(linker, "/alternatename:_DllMain@12=_quarn_default_dll_main@12")
#else
#pragma comment(linker, "/alternatename:DllMain=quarn_default_dll_main")
#endif
