// windows.h - the Windows headers, with their inline fallbacks for some
// interlocked operations renamed out of the way: the compiler provides these
// as intrinsics in MSVC mode and rejects definitions under their names.
#ifndef QUARN_MSVC_ABI_WINDOWS_H
#define QUARN_MSVC_ABI_WINDOWS_H

#define _InterlockedCompareExchange128 quarn_hidden_InterlockedCompareExchange128
#if defined(_M_IX86)
#define _InterlockedAnd64 quarn_hidden_InterlockedAnd64
#define _InterlockedCompareExchangePointer quarn_hidden_InterlockedCompareExchangePointer
#define _InterlockedDecrement64 quarn_hidden_InterlockedDecrement64
#define _InterlockedExchangeAdd64 quarn_hidden_InterlockedExchangeAdd64
#define _InterlockedExchangePointer quarn_hidden_InterlockedExchangePointer
#define _InterlockedIncrement64 quarn_hidden_InterlockedIncrement64
#define _InterlockedOr64 quarn_hidden_InterlockedOr64
#define _InterlockedXor64 quarn_hidden_InterlockedXor64
#endif
#include_next <windows.h>
#undef _InterlockedCompareExchange128
#undef _InterlockedAnd64
#undef _InterlockedCompareExchangePointer
#undef _InterlockedDecrement64
#undef _InterlockedExchangeAdd64
#undef _InterlockedExchangePointer
#undef _InterlockedIncrement64
#undef _InterlockedOr64
#undef _InterlockedXor64

#endif  // QUARN_MSVC_ABI_WINDOWS_H
