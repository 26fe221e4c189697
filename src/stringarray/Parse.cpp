// StringC::parse: splitting a string into a StringAC of tokens.
#include <quarnbase/StringAC.h>

#include <cstddef>

#include "Checked.h"

namespace {

// What a byte is to the scanner.
enum ByteClass : unsigned char { kTokenByte = 0, kDelimiter = 1, kEnd = 2 };

// Calls f(start, length) for each token of the zero-terminated text `p`: the
// maximal runs of token bytes. Runs of delimiters, and delimiters at either
// end, give no empty tokens.
template <class F>
void ForEachToken(const unsigned char* p, const unsigned char (&classOf)[256], F&& f) {
  for (;;) {
    while (classOf[*p] == kDelimiter) ++p;
    if (classOf[*p] == kEnd) return;
    const unsigned char* start = p;
    while (classOf[*p] == kTokenByte) ++p;
    f(reinterpret_cast<const char*>(start), static_cast<unsigned int>(p - start));
  }
}

}  // namespace

StringAC StringC::parse(const char* delimiters) {
  StringAC tokens;
  if (buffer == nullptr) return tokens;

  // One table lookup per byte. The zero byte ends the text even when the set
  // names no delimiters, so the scan stops at the first zero like a C string.
  unsigned char classOf[256] = {};
  if (delimiters != nullptr) {
    for (const char* d = delimiters; *d != '\0'; ++d)
      classOf[static_cast<unsigned char>(*d)] = kDelimiter;
  }
  classOf[0] = kEnd;
  const unsigned char* text = reinterpret_cast<const unsigned char*>(buffer);

  // Count first, so that the block is allocated once with exactly the token
  // count (linear time, capacity == count); the text is only read, so nothing
  // is kept between calls and no scratch copy is needed.
  std::size_t count = 0;
  ForEachToken(text, classOf, [&count](const char*, unsigned int) { ++count; });
  tokens.SetSize(quarn::platform::CheckedNarrow<int>(count));
  StringC* slot = tokens.data;
  ForEachToken(text, classOf, [&slot](const char* start, unsigned int length) {
    (slot++)->AssignCopy(length, start);
  });
  return tokens;
}
