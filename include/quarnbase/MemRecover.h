//===- quarnbase/MemRecover.h - Out-of-memory recovery hook -----*- C++ -*-===//
/// \file
/// The hook that connects the process's allocation-failure handling to the
/// support library's recovery registry.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_MEMRECOVER_H
#define QUARNBASE_MEMRECOVER_H

#include <quarnbase/quarnbase_export.h>

extern "C" {

/// Installs (or removes) the library's allocation-failure handler and hands the
/// recovery slot on to the support library.
///
/// When `recoverFunc` is non-null and `*recoverFunc` holds a function, the
/// library's handler is installed: each failed allocation asks the support
/// library to reclaim memory, and the allocation is retried while it answers
/// nonzero, for at most 1001 successful recoveries after this call. Otherwise
/// no allocation-failure handler is left installed. Either way the recovery
/// counter is reset.
///
/// The handler is that of the C++ runtime the library uses. Where the modules
/// share one runtime (Linux; the MinGW DLLs, whose C++ runtime is a DLL beside
/// them) it serves the whole process; where a module carries its own runtime,
/// it serves that module's allocations only.
///
/// Allocations may fail on several threads at once, and the hook may be called
/// meanwhile: each recovery is counted once, and a recovery and a call of the
/// hook take effect one after the other.
///
/// Returns the support library's answer for the registration, unchanged.
QUARNBASE_EXPORT int quarn_mem_recover_func_cxx(int (**recoverFunc)(unsigned int, unsigned int),
                                                unsigned int* recoverArg);

}  // extern "C"

#endif  // QUARNBASE_MEMRECOVER_H
