// StringC comparison: three-way Compare, the relational operators, and the
// comparisons of the C text that defer to strcasecmp and strcoll.
#include <quarnbase/StringC.h>

#include <basesup/basesup.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Orders two differing bytes as signed 8-bit values.
inline StrCompValE OrderBytes(char a, char b) {
  return static_cast<signed char>(a) > static_cast<signed char>(b) ? StrCompGreater : StrCompLess;
}

// Returns the index of the first byte at which `a` and `b` differ; they are
// known to differ somewhere in the first `n` bytes. Scans a machine word at a
// time, then the bytes of the differing word.
std::size_t FirstDifference(const char* a, const char* b, std::size_t n) {
  std::size_t i = 0;
  for (; i + sizeof(std::uint64_t) <= n; i += sizeof(std::uint64_t)) {
    std::uint64_t wa;
    std::uint64_t wb;
    std::memcpy(&wa, a + i, sizeof wa);
    std::memcpy(&wb, b + i, sizeof wb);
    if (wa != wb) break;
  }
  while (a[i] == b[i]) ++i;
  return i;
}

// Exact three-way comparison of two byte ranges: the first differing byte
// decides as a signed value; otherwise the shorter range sorts first. memcmp
// settles the (common) equal-prefix case in one fast pass; only a difference
// needs its position, since memcmp orders bytes as unsigned.
StrCompValE CompareBytes(const char* a, std::size_t aLength, const char* b, std::size_t bLength) {
  const std::size_t n = aLength < bLength ? aLength : bLength;
  if (n != 0 && std::memcmp(a, b, n) != 0) {
    const std::size_t i = FirstDifference(a, b, n);
    return OrderBytes(a[i], b[i]);
  }
  if (aLength == bLength) return StrCompEqual;
  return aLength < bLength ? StrCompLess : StrCompGreater;
}

// A byte lowered for the case-insensitive mode. The byte reaches tolower as an
// unsigned char value (a negative argument is undefined behaviour); the result
// is cut back to 8 bits and ordered as a signed byte, as in the exact mode.
inline char Lowered(char ch) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}

// Case-insensitive three-way comparison of two byte ranges.
StrCompValE CompareBytesNoCase(const char* a, std::size_t aLength, const char* b,
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

// The C text of a buffer for the C-library comparisons; null reads as "".
inline const char* CText(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

StrCompValE StringC::Compare(const StringC& other, StrCompModE mode) const {
  if (buffer == nullptr) return other.buffer == nullptr ? StrCompEqual : StrCompLess;
  if (other.buffer == nullptr) return StrCompGreater;
  if (mode == StrCompNoCase) {
    return CompareBytesNoCase(buffer, dataLength, other.buffer, other.dataLength);
  }
  return CompareBytes(buffer, dataLength, other.buffer, other.dataLength);
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
bool StringC::operator==(const StringC& other) const {
  return Compare(other, StrCompExact) == StrCompEqual;
}
bool StringC::operator!=(const StringC& other) const {
  return Compare(other, StrCompExact) != StrCompEqual;
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
