// StartUp.h - what the DLL and program start-up code share: the initializer
// tables bracketed in ModuleRuntime.cpp and the C runtime's calls that run them.
#ifndef QUARN_MSVC_ABI_STARTUP_H
#define QUARN_MSVC_ABI_STARTUP_H

using InitFunction = void(__cdecl*)();
using CheckedInitFunction = int(__cdecl*)();

extern "C" {
extern const InitFunction __xc_a[];
extern const InitFunction __xc_z[];
extern const CheckedInitFunction __xi_a[];
extern const CheckedInitFunction __xi_z[];

__declspec(dllimport) void __cdecl _initterm(const InitFunction* first, const InitFunction* last);
__declspec(dllimport) int __cdecl _initterm_e(const CheckedInitFunction* first,
                                              const CheckedInitFunction* last);
}

/// Runs the C initializers, then the C++ dynamic initializers, of this module
/// in link order. Returns false when a C initializer reports failure.
inline bool RunInitializers() {
  if (_initterm_e(__xi_a, __xi_z) != 0) return false;
  _initterm(__xc_a, __xc_z);
  return true;
}

#endif  // QUARN_MSVC_ABI_STARTUP_H
