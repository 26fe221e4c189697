// StringC comparison: the variants of the exact order (one chosen for the
// processor when the library loads), the rest of Compare, the relational
// operators, and the comparisons of the C text that defer to strcasecmp and
// strcoll.
#include <quarnbase/StringC.h>

#include <basesup/basesup.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

using quarn::detail::CText;
using quarn::detail::OrderBytes;
using quarn::detail::OrderOfLengths;

namespace {

// The variants compare whole blocks from the start. Where the bytes left do
// not fill a block, the block that ends at the last byte is compared instead;
// it overlaps bytes already known to be equal, so every load stays inside the
// texts and the first difference found is the first there is. Bytes are
// ordered as signed values, so memcmp's unsigned order cannot serve.

// The offset of the first block of Width bytes among the n >= Width (at 0,
// Width, ..., and last the one ending at n) for which `differs` holds, or n.
template <std::size_t Width, class Differs>
inline std::size_t FirstDifferingBlock(std::size_t n, Differs differs) {
  for (std::size_t i = 0;; i += Width) {
    if (n - i < Width) i = n - Width;
    if (differs(i)) return i;
    if (i + Width == n) return n;
  }
}

#if defined(QUARN_X86_VECTORS)
// The order of two blocks from the masks of their bytes: those that differ
// (not 0) and those greater in the first (as signed values, as the vector
// compares take them). The lowest differing byte decides.
inline StrCompValE OrderOfMasks(std::uint32_t differ, std::uint32_t greater) {
  return (greater & differ & (0u - differ)) != 0 ? StrCompGreater : StrCompLess;
}
#endif

// The plain variant: sixteen bytes at a time with SSE2, eight with words where
// they may be loaded, else one at a time.
StrCompValE ComparePlain(const char* a, unsigned int aLength, const char* b, unsigned int bLength) {
  const std::size_t n = aLength < bLength ? aLength : bLength;
#if defined(QUARN_COMPARE_SSE2)
  if (n >= 16) {
    __m128i av;
    __m128i bv;
    std::uint32_t differ = 0;
    const std::size_t at = FirstDifferingBlock<16>(n, [&](std::size_t i) {
      av = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
      bv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
      differ = ~static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(av, bv))) & 0xFFFFu;
      return differ != 0;
    });
    if (at == n) return OrderOfLengths(aLength, bLength);
    return OrderOfMasks(differ,
                        static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpgt_epi8(av, bv))));
  }
#endif
#if defined(QUARN_WORD_SCAN)
  if (n >= 8) {
    std::uint64_t wa;
    std::uint64_t wb;
    const std::size_t at = FirstDifferingBlock<8>(n, [&](std::size_t i) {
      std::memcpy(&wa, a + i, sizeof wa);
      std::memcpy(&wb, b + i, sizeof wb);
      return wa != wb;
    });
    if (at == n) return OrderOfLengths(aLength, bLength);
    const std::size_t first = at + quarn::detail::FirstNonzeroByte(wa ^ wb);
    return OrderBytes(a[first], b[first]);
  }
#endif
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] != b[i]) return OrderBytes(a[i], b[i]);
  }
  return OrderOfLengths(aLength, bLength);
}

#if defined(QUARN_COMPARE_AVX2)
QUARN_AVX2_FUNCTION inline __m256i Load32(const char* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// The mask of the bytes in which two 32-byte blocks differ.
QUARN_AVX2_FUNCTION inline std::uint32_t DifferMask(__m256i a, __m256i b) {
  return ~static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, b)));
}

// The order of two 32-byte blocks, given the mask of their differing bytes (not 0).
QUARN_AVX2_FUNCTION inline StrCompValE OrderOfBlocks(__m256i a, __m256i b, std::uint32_t differ) {
  return OrderOfMasks(differ,
                      static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpgt_epi8(a, b))));
}

// The AVX2 variant, thirty-two bytes at a time: up to 64 as two blocks loaded
// together (the second ending at n); more in 128 per round, then single blocks.
QUARN_AVX2_FUNCTION StrCompValE CompareAvx2(const char* a, unsigned int aLength, const char* b,
                                            unsigned int bLength) {
  const std::size_t n = aLength < bLength ? aLength : bLength;
  if (n < 32) return ComparePlain(a, aLength, b, bLength);
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

// Chooses the variant of compareExact when the library loads.
struct CompareSetup {
  CompareSetup() {
    if (quarn::platform::CpuHasAvx2()) quarn::detail::compareExact = CompareAvx2;
  }
};
const CompareSetup compareSetup;
#endif

// A byte lowered for the case-insensitive mode. The byte reaches tolower as an
// unsigned char value (a negative argument is undefined behaviour); the result
// is cut back to 8 bits and ordered as a signed byte, as in the exact mode.
inline char Lowered(char ch) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}

// Exact comparison of `s` with the C text `text` (null counting as ""), with
// the result Compare would give against StringC(text), but without building
// that temporary. A string without a buffer sorts before every text.
StrCompValE CompareWithText(const StringC& s, const char* text) {
  text = CText(text);
  // A text longer than any string keeps a length above every string's, so it
  // still sorts after a string it starts with.
  const unsigned int length = quarn::platform::SaturatingNarrow<unsigned int>(std::strlen(text));
  return quarn::detail::CompareOther(s.view().data(), s.length(), text, length, StrCompExact);
}

}  // namespace

StrCompValE (*quarn::detail::compareExact)(const char*, unsigned int, const char*,
                                           unsigned int) = ComparePlain;

StrCompValE quarn::detail::CompareOther(const char* a, unsigned int aLength, const char* b,
                                        unsigned int bLength, StrCompModE mode) {
  if (a == nullptr) return b == nullptr ? StrCompEqual : StrCompLess;
  if (b == nullptr) return StrCompGreater;
  if (mode != StrCompNoCase) return compareExact(a, aLength, b, bLength);
  const unsigned int n = aLength < bLength ? aLength : bLength;
  for (unsigned int i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;  // equal bytes lower equally; skip tolower
    const char la = Lowered(a[i]);
    const char lb = Lowered(b[i]);
    if (la != lb) return OrderBytes(la, lb);
  }
  return OrderOfLengths(aLength, bLength);
}

bool StringC::operator<(const StringC& other) const {
  return Compare(other, StrCompExact) == StrCompLess;
}
bool StringC::operator<=(const StringC& other) const {
  return Compare(other, StrCompExact) != StrCompGreater;
}
bool StringC::operator>(const StringC& other) const {
  return Compare(other, StrCompExact) == StrCompGreater;
}
bool StringC::operator>=(const StringC& other) const {
  return Compare(other, StrCompExact) != StrCompLess;
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
