/// \file
/// basesup.h - the support library's memory-recovery registry and string helpers.
///
/// A client registers a recovery function through the quarnbase hook; when an
/// allocation fails, gui_stdlib_recover() calls it with the failed request's size
/// and the registered argument, and its answer decides whether the allocation is
/// retried (nonzero) or fails (zero).
#ifndef BASESUP_BASESUP_H
#define BASESUP_BASESUP_H

#include <basesup/basesup_export.h>

#if defined(_MSC_VER)
#include <string.h>
#else
#include <strings.h>
#endif

extern "C" {

/// Signature of a client's recovery function: (failed request size, client argument).
typedef int (*basesup_recover_fn)(unsigned int, unsigned int);

/// Remembers `slot` and `arg` for later recoveries (both may be null).
/// Returns 1 when `slot` and `*slot` are non-null, else 0.
BASESUP_EXPORT int quarn_mem_recover_func(basesup_recover_fn* slot, unsigned int* arg);

/// Asks the remembered recovery function to reclaim memory for a request of
/// `size` bytes. Returns its answer, or 0 when no function is registered.
BASESUP_EXPORT int gui_stdlib_recover(unsigned int size);

}  // extern "C"

#if defined(_MSC_VER)
/// Case-insensitive comparison of two C strings under the POSIX name.
inline int strcasecmp(const char* a, const char* b) { return _stricmp(a, b); }
#endif

#endif  // BASESUP_BASESUP_H
