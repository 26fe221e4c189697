// StringC search, extraction and in-place case conversion and reversal.
//
// Searches, spans and the in-place conversions see the C text (up to the first
// zero byte); the extractions Mid, Left, Right and mid work by length and copy
// zero bytes along.
#include <quarnbase/StringC.h>

#include <string.h>  // memrchr, where the C library has it
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "Machine.h"
#include "StringInternal.h"

using quarn::detail::CText;

namespace {

// The variants of findChar. The plain one is strchr, which needs no length.
const char* FindCharPlain(const char* text, unsigned int, char ch) { return std::strchr(text, ch); }

#if defined(QUARN_AVX512) && !defined(QUARNBASE_NO_SIMD)
// `v` with a zero byte where it holds `ch` (broadcast in `c`) or zero, and
// nonzero bytes elsewhere: min(v ^ c, v), so one pass finds either.
QUARN_AVX512_FUNCTION inline __m512i StopBytes(__m512i v, __m512i c) {
  return _mm512_min_epu8(_mm512_xor_si512(v, c), v);
}

QUARN_AVX512_FUNCTION inline std::uint64_t ZeroBytes(__m512i v) {
  return _mm512_testn_epi8_mask(v, v);
}

// The first `ch` or zero byte among the 64 at `at`, or null.
QUARN_AVX512_FUNCTION inline const char* FirstStop(const char* at, __m512i c) {
  const std::uint64_t found = ZeroBytes(StopBytes(_mm512_loadu_si512(at), c));
  return found != 0 ? at + quarn::detail::LowestSetBit(found) : nullptr;
}

// The AVX-512BW variant, sixty-four bytes at a time: two operations test a
// block for `ch` and zero, so on long texts it keeps pace with memchr, which
// tests for one value. Loads stay inside text[0, length): the first block is
// unaligned, then 256 bytes per round from an aligned address, then single
// blocks, and last the block that ends at `length`. Texts under 64 bytes are
// read through a mask, which touches no byte past the text.
QUARN_AVX512_FUNCTION const char* FindCharAvx512(const char* text, unsigned int length, char ch) {
  const __m512i c = _mm512_set1_epi8(ch);
  const char* const end = text + length;
  const char* stop = nullptr;
  if (length < 64) {
    const __mmask64 inside = (std::uint64_t{1} << length) - 1;
    const std::uint64_t found =
        ZeroBytes(StopBytes(_mm512_maskz_loadu_epi8(inside, text), c)) & inside;
    if (found != 0) stop = text + quarn::detail::LowestSetBit(found);
  } else {
    stop = FirstStop(text, c);
    const char* at = text + (64 - (reinterpret_cast<std::uintptr_t>(text) & 63));
    for (; stop == nullptr && end - at >= 256; at += 256) {
      const __m512i m0 = _mm512_min_epu8(StopBytes(_mm512_load_si512(at), c),
                                         StopBytes(_mm512_load_si512(at + 64), c));
      const __m512i m1 = _mm512_min_epu8(StopBytes(_mm512_load_si512(at + 128), c),
                                         StopBytes(_mm512_load_si512(at + 192), c));
      if (ZeroBytes(_mm512_min_epu8(m0, m1)) != 0) break;
    }
    for (; stop == nullptr && end - at >= 64; at += 64) stop = FirstStop(at, c);
    if (stop == nullptr && at != end) stop = FirstStop(end - 64, c);
  }
  if (stop == nullptr) return ch == '\0' ? end : nullptr;  // the terminator
  return *stop == ch ? stop : nullptr;
}

// Chooses the variant of findChar when the library loads.
struct FindSetup {
  FindSetup() {
    if (quarn::platform::CpuHasAvx512bw()) quarn::detail::findChar = FindCharAvx512;
  }
};
const FindSetup findSetup;
#endif

// Offset of a search hit within `text`, or -1 for no hit.
inline int OffsetOf(const char* hit, const char* text) {
  return hit != nullptr ? static_cast<int>(hit - text) : -1;
}

// Candidates of Find(const char*) that may fail before strstr takes over,
// and the length below which strstr, whose start costs less than a few
// candidates, searches at once.
constexpr int kFindMisses = 4;
constexpr unsigned int kFindShortText = 256;

// The last `ch` among the first `count` bytes of `bytes`, or null.
const char* LastOf(const char* bytes, char ch, std::size_t count) {
#if defined(__GLIBC__)
  return static_cast<const char*>(memrchr(bytes, ch, count));
#else
  while (count > 0) {
    if (bytes[--count] == ch) return bytes + count;
  }
  return nullptr;
#endif
}

// Converts the case of the C text in place. Each byte reaches the <cctype>
// functions as an unsigned char value, since a negative argument is undefined.
void ConvertCase(char* text, bool toUpper) {
  if (text == nullptr) return;
  for (; *text != '\0'; ++text) {
    const unsigned char ch = static_cast<unsigned char>(*text);
    if (toUpper ? std::islower(ch) : std::isupper(ch)) {
      *text = static_cast<char>(toUpper ? std::toupper(ch) : std::tolower(ch));
    }
  }
}

}  // namespace

const char* (*quarn::detail::findChar)(const char*, unsigned int, char) = FindCharPlain;

int StringC::Find(const char* text) const {
  const char* const haystack = Text();
  const char* const needle = CText(text);
  if (dataLength < kFindShortText) return OffsetOf(std::strstr(haystack, needle), haystack);
  if (needle[0] == '\0') return 0;
  // In a longer text, the candidates are the places of the needle's first
  // byte, which findChar finds up to the end of the C text (as fast as a scan
  // can go when that byte is rare); each is checked in place. A needle that
  // matches lies wholly in the C text, since it holds no zero byte. When the
  // candidates keep failing, strstr takes the rest, in linear time.
  const std::size_t length = std::strlen(needle);
  const char* from = haystack;
  for (int misses = 0; misses < kFindMisses; ++misses) {
    const char* const hit = quarn::detail::findChar(
        from, dataLength - static_cast<unsigned int>(from - haystack), needle[0]);
    if (hit == nullptr) return -1;
    const std::size_t offset = static_cast<std::size_t>(hit - haystack);
    if (length > dataLength - offset) return -1;  // no room left for the needle
    if (std::memcmp(hit, needle, length) == 0) return static_cast<int>(offset);
    from = hit + 1;
  }
  return OffsetOf(std::strstr(from, needle), haystack);
}

int StringC::ReverseFind(char ch) const {
  const char* const text = Text();
  if (ch == '\0') return static_cast<int>(std::strlen(text));  // the C text's terminator
  // The last `ch` of the stored bytes, found from the end, is the answer when
  // no zero byte comes before it; the bytes before it are read only for that.
  const char* hit = LastOf(text, ch, dataLength);
  if (hit == nullptr) return -1;
  const void* const end = std::memchr(text, '\0', static_cast<std::size_t>(hit - text));
  if (end != nullptr)
    hit = LastOf(text, ch, static_cast<std::size_t>(static_cast<const char*>(end) - text));
  return OffsetOf(hit, text);
}

int StringC::FindOneOf(const char* charSet) const {
  return OffsetOf(std::strpbrk(Text(), CText(charSet)), Text());
}

StringC StringC::Mid(unsigned int start, unsigned int count) const {
  if (start > dataLength) {
    count = 0;
  } else if (count > dataLength - start) {
    count = dataLength - start;
  }
  StringC result;
  AllocCopy(result, count, start, 0);
  return result;
}

StringC StringC::Mid(unsigned int start) const {
  return Mid(start, start <= dataLength ? dataLength - start : 0);
}

StringC StringC::Left(unsigned int count) const { return Mid(0, count); }

StringC StringC::Right(unsigned int count) const {
  if (count > dataLength) count = dataLength;
  return Mid(dataLength - count, count);
}

StringC StringC::SpanIncluding(const char* charSet) const {
  return Left(static_cast<unsigned int>(std::strspn(Text(), CText(charSet))));
}

StringC StringC::SpanExcluding(const char* charSet) const {
  return Left(static_cast<unsigned int>(std::strcspn(Text(), CText(charSet))));
}

StringC StringC::mid(unsigned int start, long end) const {
  StringC result;
  if (dataLength == 0) return result;
  const unsigned int last = dataLength - 1;
  // -1 means the last character, other negative ends count as 0, and an end
  // past the last character is clamped to it (reading beyond would overrun).
  unsigned int stop;
  if (end == -1) {
    stop = last;
  } else if (end < 0) {
    stop = 0;
  } else {
    stop = static_cast<unsigned long>(end) > last ? last : static_cast<unsigned int>(end);
  }
  if (stop < start) return result;
  // The result keeps a capacity of this string's length, as a full copy would.
  const unsigned int count = stop - start + 1;
  result.AllocBuffer(dataLength);
  std::memcpy(result.buffer, buffer + start, count);
  result.dataLength = count;
  result.buffer[count] = '\0';
  return result;
}

void StringC::MakeUpper() { ConvertCase(buffer, true); }

void StringC::MakeLower() { ConvertCase(buffer, false); }

void StringC::MakeReverse() {
  if (buffer == nullptr) return;
  std::reverse(buffer, buffer + std::strlen(buffer));
}
