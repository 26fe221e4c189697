// StringC search, extraction and in-place case conversion and reversal.
//
// Searches, spans and the in-place conversions see the C text (up to the first
// zero byte); the extractions Mid, Left, Right and mid work by length and copy
// zero bytes along.
#include <quarnbase/StringC.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "string/StringInternal.h"

using quarn::detail::CText;

namespace {

// Offset of a search hit within `text`, or -1 for no hit.
inline int OffsetOf(const char* hit, const char* text) {
  return hit != nullptr ? static_cast<int>(hit - text) : -1;
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

int StringC::Find(char ch) const { return FindChar(ch); }

int StringC::Find(const char* text) const {
  return OffsetOf(std::strstr(buffer, CText(text)), buffer);
}

int StringC::ReverseFind(char ch) const { return OffsetOf(std::strrchr(buffer, ch), buffer); }

int StringC::FindOneOf(const char* charSet) const {
  return OffsetOf(std::strpbrk(buffer, CText(charSet)), buffer);
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
  return Left(static_cast<unsigned int>(std::strspn(buffer, CText(charSet))));
}

StringC StringC::SpanExcluding(const char* charSet) const {
  return Left(static_cast<unsigned int>(std::strcspn(buffer, CText(charSet))));
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
