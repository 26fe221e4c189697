//===- quarnbase/internal/Words.h - Bit scans of machine words --*- C++ -*-===//
// Not part of the interface: machinery of the inline fast paths and of the
// library's word-at-a-time code, which may change in any release.
//
// The lowest set bit of a word, and where two words loaded from memory first
// differ. Each piece tests _MSC_VER first (clang-cl defines it too, so the
// MSVC-ABI lanes compile those branches), then GCC and clang, then falls back
// to portable code. C++14, as the public headers are.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_INTERNAL_WORDS_H
#define QUARNBASE_INTERNAL_WORDS_H

#include <cstdint>
#include <cstring>
#if defined(_MSC_VER)
#include <intrin.h>  // _BitScanForward, _BitScanForward64
#endif

namespace quarn {
namespace detail {

/// The index of the lowest set bit of `word`, which is not 0.
inline unsigned int LowestSetBit(std::uint32_t word) {
#if defined(_MSC_VER)
  unsigned long index;
  _BitScanForward(&index, word);
  return static_cast<unsigned int>(index);
#elif defined(__GNUC__) || defined(__clang__)
  return static_cast<unsigned int>(__builtin_ctz(word));
#else
  unsigned int index = 0;
  for (; (word & 1u) == 0; word >>= 1) ++index;
  return index;
#endif
}

/// The index of the lowest set bit of `word`, which is not 0.
inline unsigned int LowestSetBit(std::uint64_t word) {
#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_ARM64))
  unsigned long index;
  _BitScanForward64(&index, word);
  return static_cast<unsigned int>(index);
#elif !defined(_MSC_VER) && (defined(__GNUC__) || defined(__clang__))
  return static_cast<unsigned int>(__builtin_ctzll(word));
#else  // 32-bit MSVC targets and the rest: one half, then the other
  const std::uint32_t low = static_cast<std::uint32_t>(word);
  if (low != 0) return LowestSetBit(low);
  return 32 + LowestSetBit(static_cast<std::uint32_t>(word >> 32));
#endif
}

/// The offset of the lowest-addressed nonzero byte of `word` (not 0) as
/// memcpy stores it: for two words loaded from memory, FirstNonzeroByte(a ^ b)
/// is where they first differ. `Word` is std::uint32_t or std::uint64_t.
template <class Word>
inline unsigned int FirstNonzeroByte(Word word) {
#if defined(_MSC_VER) || (defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__)
  return LowestSetBit(word) / 8;  // the lowest address holds the lowest byte
#else                             // big-endian or unknown byte order: byte by byte
  unsigned char bytes[sizeof(Word)];
  std::memcpy(bytes, &word, sizeof word);
  unsigned int at = 0;
  while (bytes[at] == 0) ++at;
  return at;
#endif
}

}  // namespace detail
}  // namespace quarn

#endif  // QUARNBASE_INTERNAL_WORDS_H
