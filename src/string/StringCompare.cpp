// StringC comparison: three-way Compare, the relational operators, and the
// comparisons of the C text that defer to strcasecmp and strcoll.
#include <quarnbase/StringC.h>

#include <basesup/basesup.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "string/StringInternal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using quarn::detail::CText;

namespace {

// Orders two differing bytes as signed 8-bit values.
inline StrCompValE OrderBytes(char a, char b) {
  return static_cast<signed char>(a) > static_cast<signed char>(b) ? StrCompGreater : StrCompLess;
}

// Bytes that FirstDifference hands to memcmp at a time when skipping an equal
// stretch: long enough for the C library's vector loop to pay off, short enough
// that rescanning the block that differs stays cheap.
constexpr std::size_t kSkipBlock = 512;

// Keeps a rarely taken path out of line, so that the common path of its caller
// stays a small leaf function (no registers to save, no call).
#if defined(__GNUC__) || defined(__clang__)
#define QUARN_OUT_OF_LINE __attribute__((noinline))
#else
#define QUARN_OUT_OF_LINE
#endif

// Returns the offset of the first block of kSkipBlock bytes in which `a` and
// `b` differ, or of the last, partial block when all whole blocks are equal.
QUARN_OUT_OF_LINE std::size_t SkipEqualBlocks(const char* a, const char* b, std::size_t n) {
  std::size_t i = 0;
  while (n - i >= kSkipBlock && std::memcmp(a + i, b + i, kSkipBlock) == 0) i += kSkipBlock;
  return i;
}

// Returns the index of the first byte at which `a` and `b` differ within their
// first `n` bytes, or `n` when those are equal. One pass: equal blocks are
// skipped with memcmp, and the block that differs (or the short tail) is
// scanned 16 bytes at a time where SSE2 is available, else a word at a time.
std::size_t FirstDifference(const char* a, const char* b, std::size_t n) {
  std::size_t i = n >= kSkipBlock ? SkipEqualBlocks(a, b, n) : 0;
  const std::size_t end = n - i > kSkipBlock ? i + kSkipBlock : n;
#if defined(__SSE2__)
  for (; i + 16 <= end; i += 16) {
    const __m128i wa = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i wb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const unsigned int equalMask =
        static_cast<unsigned int>(_mm_movemask_epi8(_mm_cmpeq_epi8(wa, wb)));
    if (equalMask != 0xFFFFu) return i + static_cast<std::size_t>(__builtin_ctz(~equalMask));
  }
#endif
  for (; i + sizeof(std::uint64_t) <= end; i += sizeof(std::uint64_t)) {
    std::uint64_t wa;
    std::uint64_t wb;
    std::memcpy(&wa, a + i, sizeof wa);
    std::memcpy(&wb, b + i, sizeof wb);
    if (wa != wb) {
#if (defined(__GNUC__) || defined(__clang__)) && defined(__BYTE_ORDER__) && \
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
      // The lowest set bit of the difference lies in the first differing byte.
      return i + static_cast<std::size_t>(__builtin_ctzll(wa ^ wb)) / 8;
#else
      break;
#endif
    }
  }
  for (; i < end; ++i) {
    if (a[i] != b[i]) return i;
  }
  return n;  // `end` is `n` here: a block that memcmp found unequal always returns above
}

// Exact three-way comparison of two byte ranges: the first differing byte
// decides as a signed value; otherwise the shorter range sorts first. (memcmp
// alone cannot give this order, since it compares bytes as unsigned values.)
StrCompValE CompareBytes(const char* a, std::size_t aLength, const char* b, std::size_t bLength) {
  const std::size_t n = aLength < bLength ? aLength : bLength;
  const std::size_t i = FirstDifference(a, b, n);
  if (i != n) return OrderBytes(a[i], b[i]);
  if (aLength == bLength) return StrCompEqual;
  return aLength < bLength ? StrCompLess : StrCompGreater;
}

// Exact comparison of two strings, as StringC::Compare gives it: a string
// without a buffer sorts before every other and equals only another such.
// The operators call this rather than Compare, which, being exported, could
// only be reached through an indirect call.
StrCompValE CompareExact(const StringC& a, const StringC& b) {
  const char* const ab = a;
  const char* const bb = b;
  if (ab == nullptr) return bb == nullptr ? StrCompEqual : StrCompLess;
  if (bb == nullptr) return StrCompGreater;
  return CompareBytes(ab, a.length(), bb, b.length());
}

// A byte lowered for the case-insensitive mode. The byte reaches tolower as an
// unsigned char value (a negative argument is undefined behaviour); the result
// is cut back to 8 bits and ordered as a signed byte, as in the exact mode.
inline char Lowered(char ch) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}

// Case-insensitive three-way comparison of two byte ranges.
QUARN_OUT_OF_LINE StrCompValE CompareBytesNoCase(const char* a, std::size_t aLength, const char* b,
                                                 std::size_t bLength) {
  const std::size_t n = aLength < bLength ? aLength : bLength;
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;  // equal bytes lower equally; skip tolower
    const char la = Lowered(a[i]);
    const char lb = Lowered(b[i]);
    if (la != lb) return OrderBytes(la, lb);
  }
  if (aLength == bLength) return StrCompEqual;
  return aLength < bLength ? StrCompLess : StrCompGreater;
}

// Exact comparison of `s` with the C text `text` (null counting as ""), with
// the result Compare would give against StringC(text), but without building
// that temporary. A string without a buffer sorts before every text.
StrCompValE CompareWithText(const StringC& s, const char* text) {
  const char* const bytes = s;
  if (bytes == nullptr) return StrCompLess;
  if (text == nullptr) text = "";
  return CompareBytes(bytes, s.length(), text, std::strlen(text));
}

}  // namespace

StrCompValE quarn::detail::CompareRanges(const char* a, std::size_t aLength, const char* b,
                                         std::size_t bLength, StrCompModE mode) {
  return mode == StrCompNoCase ? CompareBytesNoCase(a, aLength, b, bLength)
                               : CompareBytes(a, aLength, b, bLength);
}

StrCompValE StringC::Compare(const StringC& other, StrCompModE mode) const {
  if (mode != StrCompNoCase) return CompareExact(*this, other);
  if (buffer == nullptr) return other.buffer == nullptr ? StrCompEqual : StrCompLess;
  if (other.buffer == nullptr) return StrCompGreater;
  return CompareBytesNoCase(buffer, dataLength, other.buffer, other.dataLength);
}

bool StringC::operator<(const StringC& other) const {
  return CompareExact(*this, other) == StrCompLess;
}
bool StringC::operator<=(const StringC& other) const {
  return CompareExact(*this, other) != StrCompGreater;
}
bool StringC::operator>(const StringC& other) const {
  return CompareExact(*this, other) == StrCompGreater;
}
bool StringC::operator>=(const StringC& other) const {
  return CompareExact(*this, other) != StrCompLess;
}

bool StringC::operator<(const char* text) const {
  return CompareWithText(*this, text) == StrCompLess;
}
bool StringC::operator<=(const char* text) const {
  return CompareWithText(*this, text) != StrCompGreater;
}
bool StringC::operator>(const char* text) const {
  return CompareWithText(*this, text) == StrCompGreater;
}
bool StringC::operator>=(const char* text) const {
  return CompareWithText(*this, text) != StrCompLess;
}
bool StringC::operator==(const char* text) const {
  return CompareWithText(*this, text) == StrCompEqual;
}
bool StringC::operator!=(const char* text) const {
  return CompareWithText(*this, text) != StrCompEqual;
}

int StringC::CompareNoCase(const char* text) const {
  return strcasecmp(CText(buffer), CText(text));
}

int StringC::Collate(const char* text) const { return std::strcoll(CText(buffer), CText(text)); }
