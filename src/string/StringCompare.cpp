// StringC comparison: three-way Compare, the relational operators, and the
// comparisons of the C text that defer to strcasecmp and strcoll.
#include <quarnbase/StringC.h>

#include <basesup/basesup.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Checked.h"
#include "Machine.h"
#include "StringInternal.h"

// The fast variants: a word at a time everywhere (finding the differing byte
// as the inline Compare does), SSE2 where the build may assume it, AVX2 where
// the processor running the library has it.
#if !defined(QUARNBASE_NO_SIMD)
#define QUARN_WORD_SCAN 1
#if defined(QUARN_SSE2)
#define QUARN_COMPARE_SSE2 1
#endif
#if defined(QUARN_X86_VECTORS)
#define QUARN_COMPARE_AVX2 1
#endif
#endif

#if defined(_MSC_VER)
#define QUARN_OUT_OF_LINE __declspec(noinline)
#elif defined(__GNUC__) || defined(__clang__)
#define QUARN_OUT_OF_LINE __attribute__((noinline))
#else
#define QUARN_OUT_OF_LINE
#endif

using quarn::detail::CText;

namespace {

// Orders two differing bytes as signed 8-bit values.
inline StrCompValE OrderBytes(char a, char b) {
  return static_cast<signed char>(a) > static_cast<signed char>(b) ? StrCompGreater : StrCompLess;
}

// The order of two ranges whose common bytes are equal: the shorter first.
inline StrCompValE OrderOfLengths(std::size_t aLength, std::size_t bLength) {
  if (aLength == bLength) return StrCompEqual;
  return aLength < bLength ? StrCompLess : StrCompGreater;
}

// Exact three-way comparison of two byte ranges: the first differing byte
// decides as a signed value; otherwise the shorter range sorts first. (memcmp
// cannot give this order, since it compares bytes as unsigned values.)
//
// The variants below compare whole blocks from the start. Where the bytes left
// do not fill a block, the block that ends at the last byte is compared
// instead; it overlaps bytes already known to be equal, so every load stays
// inside the ranges and the first difference found is the first there is.

// A byte at a time, or eight where words may be loaded.
inline StrCompValE CompareNarrow(const char* a, std::size_t aLength, const char* b,
                                 std::size_t bLength, std::size_t n) {
#if defined(QUARN_WORD_SCAN)
  for (std::size_t i = 0; n >= 8; i += 8) {
    if (n - i < 8) {
      if (i == n) break;
      i = n - 8;
    }
    std::uint64_t wa;
    std::uint64_t wb;
    std::memcpy(&wa, a + i, sizeof wa);
    std::memcpy(&wb, b + i, sizeof wb);
    if (wa != wb) {
      const std::size_t at = i + quarn::detail::FirstNonzeroByte(wa ^ wb);
      return OrderBytes(a[at], b[at]);
    }
    if (i + 8 == n) break;
  }
  if (n >= 8) return OrderOfLengths(aLength, bLength);
#endif
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return OrderBytes(a[i], b[i]);
  }
  return OrderOfLengths(aLength, bLength);
}

#if defined(QUARN_COMPARE_SSE2)
inline __m128i Load16(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Sixteen bytes at a time; for n >= 16. SSE2 compares bytes as signed values,
// so the first differing byte orders the blocks directly.
inline StrCompValE CompareBlocks16(const char* a, std::size_t aLength, const char* b,
                                   std::size_t bLength, std::size_t n) {
  for (std::size_t i = 0;; i += 16) {
    if (n - i < 16) {
      if (i == n) break;
      i = n - 16;
    }
    const __m128i av = Load16(a + i);
    const __m128i bv = Load16(b + i);
    const unsigned int differ =
        ~static_cast<unsigned int>(_mm_movemask_epi8(_mm_cmpeq_epi8(av, bv))) & 0xFFFFu;
    if (differ != 0) {
      const unsigned int greater =
          static_cast<unsigned int>(_mm_movemask_epi8(_mm_cmpgt_epi8(av, bv)));
      return (greater & differ & (0u - differ)) != 0 ? StrCompGreater : StrCompLess;
    }
    if (i + 16 == n) break;
  }
  return OrderOfLengths(aLength, bLength);
}
#endif

StrCompValE CompareTextsPlain(const char* a, unsigned int aLength, const char* b,
                              unsigned int bLength) {
  const std::size_t n = aLength < bLength ? aLength : bLength;
#if defined(QUARN_COMPARE_SSE2)
  if (n >= 16) return CompareBlocks16(a, aLength, b, bLength, n);
#endif
  return CompareNarrow(a, aLength, b, bLength, n);
}

#if defined(QUARN_COMPARE_AVX2)
QUARN_AVX2_FUNCTION inline __m256i Load32(const char* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// The order of two 32-byte blocks by their first differing byte, given the
// mask of their differing bytes (not 0).
QUARN_AVX2_FUNCTION inline StrCompValE OrderOfBlocks(__m256i a, __m256i b, std::uint32_t differ) {
  const std::uint32_t greater =
      static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpgt_epi8(a, b)));
  return (greater & differ & (0u - differ)) != 0 ? StrCompGreater : StrCompLess;
}

QUARN_AVX2_FUNCTION inline std::uint32_t DifferMask(__m256i a, __m256i b) {
  return ~static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, b)));
}

// Thirty-two bytes at a time: up to 64 as two blocks loaded together (the
// second ending at n); more in 128 per round, then single blocks.
QUARN_AVX2_FUNCTION StrCompValE CompareTextsAvx2(const char* a, unsigned int aLength, const char* b,
                                                 unsigned int bLength) {
  const std::size_t n = aLength < bLength ? aLength : bLength;
  if (n < 32) return CompareTextsPlain(a, aLength, b, bLength);
  std::size_t i = 0;
  if (n > 64) {
    // The first block, then blocks at which `a` is aligned: loads that cross
    // a cache line cost more, and now only those of `b` may.
    const __m256i a0 = Load32(a);
    const __m256i b0 = Load32(b);
    const std::uint32_t differ0 = DifferMask(a0, b0);
    if (differ0 != 0) return OrderOfBlocks(a0, b0, differ0);
    i = 32 - (reinterpret_cast<std::uintptr_t>(a) & 31);
    for (; n - i > 128; i += 128) {
      const __m256i e0 = _mm256_cmpeq_epi8(Load32(a + i), Load32(b + i));
      const __m256i e1 = _mm256_cmpeq_epi8(Load32(a + i + 32), Load32(b + i + 32));
      const __m256i e2 = _mm256_cmpeq_epi8(Load32(a + i + 64), Load32(b + i + 64));
      const __m256i e3 = _mm256_cmpeq_epi8(Load32(a + i + 96), Load32(b + i + 96));
      const __m256i all = _mm256_and_si256(_mm256_and_si256(e0, e1), _mm256_and_si256(e2, e3));
      if (static_cast<std::uint32_t>(_mm256_movemask_epi8(all)) != 0xFFFFFFFFu) break;
    }
    for (; n - i > 64; i += 32) {  // finds a difference met above, or nears the end
      const __m256i av = Load32(a + i);
      const __m256i bv = Load32(b + i);
      const std::uint32_t differ = DifferMask(av, bv);
      if (differ != 0) return OrderOfBlocks(av, bv, differ);
    }
    if (n - i < 32) i = n - 32;
  }
  const __m256i a0 = Load32(a + i);
  const __m256i b0 = Load32(b + i);
  const __m256i a1 = Load32(a + n - 32);
  const __m256i b1 = Load32(b + n - 32);
  const std::uint32_t differ0 = DifferMask(a0, b0);
  const std::uint32_t differ1 = DifferMask(a1, b1);
  if ((differ0 | differ1) == 0) return OrderOfLengths(aLength, bLength);
  return differ0 != 0 ? OrderOfBlocks(a0, b0, differ0) : OrderOfBlocks(a1, b1, differ1);
}

#endif

#if defined(QUARN_COMPARE_AVX2)
// Whether the library runs the AVX2 variant; set when it loads.
bool useAvx2 = false;
#endif

// The exact order of two byte ranges, with the variant for this processor.
inline StrCompValE CompareBytes(const char* a, std::size_t aLength, const char* b,
                                std::size_t bLength) {
  // A text longer than any string still sorts after it when it starts the same.
  const auto length = [](std::size_t n) {
    return quarn::detail::SaturatingNarrow<unsigned int>(n);
  };
#if defined(QUARN_COMPARE_AVX2)
  if (useAvx2) return CompareTextsAvx2(a, length(aLength), b, length(bLength));
#endif
  return CompareTextsPlain(a, length(aLength), b, length(bLength));
}

// Exact comparison of two strings, as StringC::Compare gives it (a string
// without a buffer sorts before every other and equals only another such);
// the ordering operators use it.
StrCompValE CompareExact(const StringC& a, const StringC& b) {
  // view().data() is null without a buffer.
  return quarn::detail::CompareOther(a.view().data(), a.length(), b.view().data(), b.length(),
                                     StrCompExact);
}

// A byte lowered for the case-insensitive mode. The byte reaches tolower as an
// unsigned char value (a negative argument is undefined behaviour); the result
// is cut back to 8 bits and ordered as a signed byte, as in the exact mode.
inline char Lowered(char ch) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}

// Case-insensitive three-way comparison of two byte ranges. Kept out of line,
// so that the exact path of its callers stays a small leaf with no registers
// to save.
QUARN_OUT_OF_LINE StrCompValE CompareBytesNoCase(const char* a, std::size_t aLength, const char* b,
                                                 std::size_t bLength) {
  const std::size_t n = aLength < bLength ? aLength : bLength;
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;  // equal bytes lower equally; skip tolower
    const char la = Lowered(a[i]);
    const char lb = Lowered(b[i]);
    if (la != lb) return OrderBytes(la, lb);
  }
  return OrderOfLengths(aLength, bLength);
}

// Exact comparison of `s` with the C text `text` (null counting as ""), with
// the result Compare would give against StringC(text), but without building
// that temporary. A string without a buffer sorts before every text.
StrCompValE CompareWithText(const StringC& s, const char* text) {
  const std::string_view bytes = s.view();  // data() is null without a buffer
  if (bytes.data() == nullptr) return StrCompLess;
  if (text == nullptr) text = "";
  return CompareBytes(bytes.data(), bytes.size(), text, std::strlen(text));
}

}  // namespace

StrCompValE quarn::detail::CompareRanges(const char* a, std::size_t aLength, const char* b,
                                         std::size_t bLength, StrCompModE mode) {
  return mode == StrCompNoCase ? CompareBytesNoCase(a, aLength, b, bLength)
                               : CompareBytes(a, aLength, b, bLength);
}

StrCompValE (*quarn::detail::compareExact)(const char*, unsigned int, const char*,
                                           unsigned int) = CompareTextsPlain;

namespace {

// Chooses the variant of compareExact when the library loads.
struct CompareSetup {
  CompareSetup() {
#if defined(QUARN_COMPARE_AVX2)
    useAvx2 = quarn::detail::CpuHasAvx2();
    if (useAvx2) quarn::detail::compareExact = CompareTextsAvx2;
#endif
  }
};
const CompareSetup compareSetup;

}  // namespace

StrCompValE quarn::detail::CompareOther(const char* a, unsigned int aLength, const char* b,
                                        unsigned int bLength, StrCompModE mode) {
  if (a == nullptr) return b == nullptr ? StrCompEqual : StrCompLess;
  if (b == nullptr) return StrCompGreater;
  return CompareRanges(a, aLength, b, bLength, mode);
}

#if !QUARNBASE_INLINE_FAST_PATHS
StrCompValE StringC::Compare(const StringC& other, StrCompModE mode) const {
  return quarn::detail::CompareTexts(buffer, dataLength, other.buffer, other.dataLength, mode);
}
bool StringC::operator==(const StringC& other) const {
  return quarn::detail::SameText(buffer, dataLength, other.buffer, other.dataLength);
}
bool StringC::operator!=(const StringC& other) const { return !(*this == other); }
#endif

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
