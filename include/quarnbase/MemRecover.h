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
/// When `recoverFunc` is non-null and `*recoverFunc` holds a function, a
/// process-wide handler is installed: each failed allocation asks the support
/// library to reclaim memory, and the allocation is retried while it answers
/// nonzero, for at most 1001 successful recoveries after this call. Otherwise
/// the process is left with no allocation-failure handler at all. Either way
/// the recovery counter is reset.
///
/// Returns the support library's answer for the registration, unchanged.
QUARNBASE_EXPORT int quarn_mem_recover_func_cxx(int (**recoverFunc)(unsigned int, unsigned int),
                                                unsigned int* recoverArg);

}  // extern "C"

#endif  // QUARNBASE_MEMRECOVER_H
