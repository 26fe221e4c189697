// windows.h - the Windows headers, with their inline fallback for one
// interlocked operation renamed: the compiler provides it as an intrinsic in
// MSVC mode and rejects a definition under its name.
#ifndef QUARN_MSVC_ABI_WINDOWS_H
#define QUARN_MSVC_ABI_WINDOWS_H

#define _InterlockedCompareExchange128 quarn_hidden_InterlockedCompareExchange128
#include_next <windows.h>
#undef _InterlockedCompareExchange128

#endif  // QUARN_MSVC_ABI_WINDOWS_H
