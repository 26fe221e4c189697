// Machine.h - what the fast paths need of the processor: the vector
// instructions (SSE2 where the build may assume it, AVX2 and on 64-bit x86
// AVX-512BW where the processor running the library has them). The bit scans
// of words, which the inline Compare needs too, are in
// quarnbase/internal/Words.h.
//
// Each piece tests _MSC_VER first, then GCC and clang, then falls back to
// portable code. clang-cl defines both _MSC_VER and __clang__, so the MSVC
// branches are compiled and run by the MSVC-ABI lanes.
#ifndef QUARNBASE_SRC_PLATFORM_MACHINE_H
#define QUARNBASE_SRC_PLATFORM_MACHINE_H

// QUARN_X86_VECTORS on x86 (32- or 64-bit) with a compiler whose intrinsics
// this header can declare; QUARN_SSE2 where, besides, every processor the
// build targets has SSE2 (x64 always; x86 by the compiler's options, /arch:SSE2
// being MSVC's default). QUARN_AVX2_FUNCTION marks a function that may use
// the AVX2 intrinsics, to be called only when CpuHasAvx2() holds: GCC and
// clang want the target attribute, MSVC declares every intrinsic anyway.
// QUARN_AVX512 and QUARN_AVX512_FUNCTION do the same for AVX-512BW, on 64-bit
// x86 only: no 32-bit lane has a processor with it to run on.
#if defined(_MSC_VER) && !defined(_M_ARM64EC) && (defined(_M_X64) || defined(_M_IX86))
#define QUARN_X86_VECTORS 1
#if defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define QUARN_SSE2 1
#endif
#elif !defined(_MSC_VER) && (defined(__GNUC__) || defined(__clang__)) && \
    (defined(__x86_64__) || defined(__i386__))
#define QUARN_X86_VECTORS 1
#if defined(__SSE2__)
#define QUARN_SSE2 1
#endif
#endif

#if defined(_MSC_VER)
#include <intrin.h>
#endif
#if defined(QUARN_X86_VECTORS)
#include <immintrin.h>
#if defined(_MSC_VER) && defined(__clang__)
// clang-cl's <immintrin.h> declares only the intrinsics the compiler's options
// enable, as MSVC does not; these headers declare the rest for functions
// marked with their target, each after the one whose types it uses.
#include <emmintrin.h>

#include <avxintrin.h>

#include <avx2intrin.h>

#include <smmintrin.h>  // the rounding constants that avx512fintrin.h uses

#include <avx512fintrin.h>

#include <avx512bwintrin.h>
#endif
#if defined(__GNUC__) || defined(__clang__)
#define QUARN_AVX2_FUNCTION __attribute__((target("avx2")))
#define QUARN_AVX512_FUNCTION __attribute__((target("avx512f,avx512bw")))
#else
#define QUARN_AVX2_FUNCTION
#define QUARN_AVX512_FUNCTION
#endif
#if defined(_M_X64) || defined(__x86_64__)
#define QUARN_AVX512 1
#endif
#endif

namespace quarn::platform {

/// Whether the processor running the library has AVX2 and the operating
/// system saves its registers. False where QUARN_X86_VECTORS is not defined.
inline bool CpuHasAvx2() {
#if defined(QUARN_X86_VECTORS) && defined(_MSC_VER)
  int info[4];
  __cpuid(info, 0);
  if (info[0] < 7) return false;
  __cpuid(info, 1);
  const int osSavesState = 1 << 27;  // OSXSAVE: xgetbv tells what the system saves
  const int hasAvx = 1 << 28;
  if ((info[2] & osSavesState) == 0 || (info[2] & hasAvx) == 0) return false;
  if ((_xgetbv(0) & 6) != 6) return false;  // the SSE and AVX register state
  __cpuidex(info, 7, 0);
  return (info[1] & (1 << 5)) != 0;  // AVX2
#elif defined(QUARN_X86_VECTORS)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

/// Whether the processor running the library has AVX-512F and AVX-512BW and
/// the operating system saves their registers. False where QUARN_AVX512 is
/// not defined.
inline bool CpuHasAvx512bw() {
#if defined(QUARN_AVX512) && defined(_MSC_VER)
  if (!CpuHasAvx2()) return false;                // which checks the leaves and OSXSAVE
  if ((_xgetbv(0) & 0xE6) != 0xE6) return false;  // the mask and vector state
  int info[4];
  __cpuidex(info, 7, 0);
  const int hasF = 1 << 16;
  const int hasBw = 1 << 30;
  return (info[1] & hasF) != 0 && (info[1] & hasBw) != 0;
#elif defined(QUARN_AVX512)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0;
#else
  return false;
#endif
}

}  // namespace quarn::platform

#endif  // QUARNBASE_SRC_PLATFORM_MACHINE_H
