//===- quarnbase/internal/StringFastPaths.h - Inline StringC paths -*- C++ -*-===//
// Not part of the interface: machinery of StringC.h, which includes this file
// at its end. It may change in any release; what it freezes is listed in
// README.md, "Binary interface".
//
// The one definition of each member with a fast path: copy assignment into
// spare capacity, the one-character append, Compare (exactly, of texts up to
// 16 bytes), equality and Find of a character. Clients compile these
// definitions inline. The shared library compiles the same text once more as
// ordinary exported functions (src/string/StringFastPaths.cpp), so that
// separately built clients keep finding them. A static library has no exports
// to keep and compiles them inline too, so that no program holds an inline and
// an ordinary definition of one function. With QUARNBASE_NO_SIMD clients call
// the exported functions, and the library uses no word-at-a-time code.
//
// The code shared with the library is in quarn::detail, as free functions
// rather than private members: MSVC exports every inline member of an exported
// class, and these are no part of the interface.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_INTERNAL_STRINGFASTPATHS_H
#define QUARNBASE_INTERNAL_STRINGFASTPATHS_H

#include <quarnbase/internal/Words.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#if (!defined(quarnbase_EXPORTS) || defined(QUARNBASE_STATIC_DEFINE)) && !defined(QUARNBASE_NO_SIMD)
// The fast-path members are inline (clients, static builds).
#define QUARNBASE_INLINE_FAST_PATHS 1
#define QUARNBASE_FAST_PATH inline
#else
// The fast-path members are the library's exported functions.
#define QUARNBASE_INLINE_FAST_PATHS 0
#define QUARNBASE_FAST_PATH
#endif

namespace quarn {
namespace detail {

/// The exact Compare of two texts that have buffers: the variant that suits
/// the processor, chosen when the library loads (a plain one until then).
/// Exported data, so that the inline Compare reaches the vector code with one
/// indirect call.
QUARNBASE_EXPORT extern StrCompValE (*compareExact)(const char* a, unsigned int aLength,
                                                    const char* b, unsigned int bLength);

/// The first `ch` of the C text `text`, whose terminator is at `length` or
/// before (a zero byte ends it), or null: strchr with the length known. The
/// variant that suits the processor, chosen when the library loads (strchr
/// until then). Exported data, so that the inline Find reaches it directly.
QUARNBASE_EXPORT extern const char* (*findChar)(const char* text, unsigned int length, char ch);

/// StringC::Compare of two texts (null for a record without a buffer) where
/// the inline path leaves it: in StrCompNoCase mode, or with a null `a` or `b`,
/// which sorts before every text and equals only another null one.
QUARNBASE_EXPORT StrCompValE CompareOther(const char* a, unsigned int aLength, const char* b,
                                          unsigned int bLength, StrCompModE mode);

/// The order of the differing bytes `a` and `b`, taken as signed values.
inline StrCompValE OrderBytes(char a, char b) {
  return static_cast<signed char>(a) > static_cast<signed char>(b) ? StrCompGreater : StrCompLess;
}

/// The order of two texts whose common bytes are equal: the shorter first.
inline StrCompValE OrderOfLengths(std::size_t aLength, std::size_t bLength) {
  if (aLength == bLength) return StrCompEqual;
  return aLength < bLength ? StrCompLess : StrCompGreater;
}

/// The longest common length of two texts that the inline Compare orders by
/// itself, by words; longer ones go to compareExact. Without word-at-a-time
/// code only empty texts.
#ifndef QUARNBASE_NO_SIMD
constexpr unsigned int kShortCompareBytes = 16;
#else
constexpr unsigned int kShortCompareBytes = 0;
#endif

/// The offset of the first byte where `a` and `b` differ among their first n
/// (sizeof(Word) <= n <= 2 * sizeof(Word)), or n: two words each, at 0 and
/// ending at n.
template <class Word>
inline unsigned int FirstDifference(const char* a, const char* b, unsigned int n) {
  Word wa;
  Word wb;
  unsigned int at = 0;
  std::memcpy(&wa, a, sizeof wa);
  std::memcpy(&wb, b, sizeof wb);
  if (wa == wb) {
    at = n - static_cast<unsigned int>(sizeof(Word));
    std::memcpy(&wa, a + at, sizeof wa);
    std::memcpy(&wb, b + at, sizeof wb);
    if (wa == wb) return n;
  }
  return at + FirstNonzeroByte(static_cast<Word>(wa ^ wb));
}

/// The exact order of two texts that have buffers, the shorter holding
/// n <= 16 bytes: by words of 8 (or 4) bytes, below 4 bytes one at a time.
inline StrCompValE CompareShort(const char* a, unsigned int aLength, const char* b,
                                unsigned int bLength, unsigned int n) {
  unsigned int at = 0;
  if (n >= 8) {
    at = FirstDifference<std::uint64_t>(a, b, n);
  } else if (n >= 4) {
    at = FirstDifference<std::uint32_t>(a, b, n);
  } else {
    while (at < n && a[at] == b[at]) ++at;
  }
  return at < n ? OrderBytes(a[at], b[at]) : OrderOfLengths(aLength, bLength);
}

}  // namespace detail
}  // namespace quarn

#if QUARNBASE_INLINE_FAST_PATHS || defined(QUARNBASE_DEFINE_FAST_PATHS)

QUARNBASE_FAST_PATH const StringC& StringC::operator=(const StringC& other) {
  // Into spare capacity when the copy fits an owned buffer (`other` may be
  // this string); otherwise through AssignCopy. The locals keep the compiler
  // from reading the fields again after the byte stores, which may alias them.
  char* const text = buffer;
  const unsigned int count = other.dataLength;
  if (count != 0 && count <= allocLength) {
    dataLength = count;
    std::memmove(text, other.buffer, count);
    text[count] = '\0';
    return *this;
  }
  AssignCopy(count, other.buffer);
  return *this;
}

QUARNBASE_FAST_PATH const StringC& StringC::operator+=(char ch) {
  // Into spare capacity when there is room, else through ConcatInPlace. The
  // length is read and written before the bytes, as in operator=.
  char* const text = buffer;
  const unsigned int n = dataLength;
  if (n < allocLength) {
    dataLength = n + 1;
    text[n] = ch;
    text[n + 1] = '\0';
    return *this;
  }
  ConcatInPlace(1, &ch);
  return *this;
}

QUARNBASE_FAST_PATH StrCompValE StringC::Compare(const StringC& other, StrCompModE mode) const {
  if (mode == StrCompNoCase || buffer == nullptr || other.buffer == nullptr) {
    return quarn::detail::CompareOther(buffer, dataLength, other.buffer, other.dataLength, mode);
  }
  const unsigned int n = dataLength < other.dataLength ? dataLength : other.dataLength;
  if (n > quarn::detail::kShortCompareBytes) {
    return quarn::detail::compareExact(buffer, dataLength, other.buffer, other.dataLength);
  }
  return quarn::detail::CompareShort(buffer, dataLength, other.buffer, other.dataLength, n);
}

QUARNBASE_FAST_PATH bool StringC::operator==(const StringC& other) const {
  if (buffer == nullptr || other.buffer == nullptr) return buffer == other.buffer;
  return dataLength == other.dataLength && std::memcmp(buffer, other.buffer, dataLength) == 0;
}

QUARNBASE_FAST_PATH bool StringC::operator!=(const StringC& other) const {
  return !(*this == other);
}

QUARNBASE_FAST_PATH int StringC::Find(char ch) const {
  const char* const text = Text();
  const char* const hit = quarn::detail::findChar(text, dataLength, ch);
  return hit != nullptr ? static_cast<int>(hit - text) : -1;
}

#endif  // QUARNBASE_INLINE_FAST_PATHS || QUARNBASE_DEFINE_FAST_PATHS
#endif  // QUARNBASE_INTERNAL_STRINGFASTPATHS_H
