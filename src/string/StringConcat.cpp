// StringC concatenation: appending in place and building a string from two pieces.
#include <quarnbase/StringC.h>

#include <cstring>

#include "Allocation.h"
#include "Checked.h"
#include "StringInternal.h"

using quarn::detail::ReleaseOwned;
using quarn::detail::StoreTerminator;
using quarn::detail::TextLength;
using quarn::platform::CheckedLength;
using quarn::platform::CheckedLengthSum;

void StringC::ConcatCopy(unsigned int firstCount, const char* first, unsigned int secondCount,
                         const char* second) {
  // The sum is checked before anything is allocated or stored; AllocBuffer stores
  // the new buffer only once it has been obtained, so a failure changes nothing.
  AllocBuffer(CheckedLengthSum(firstCount, secondCount));
  // The fresh buffer cannot overlap either source.
  if (firstCount != 0) std::memcpy(buffer, first, firstCount);
  if (secondCount != 0) std::memcpy(buffer + firstCount, second, secondCount);
}

void StringC::ConcatInPlace(unsigned int count, const char* source) {
  // Appending nothing only restores the terminator (never in the shared empty
  // buffer, which always holds it). With more, a string without a buffer gets
  // a new one below.
  if (count == 0) {
    ClaimNullBuffer();
    StoreTerminator(buffer, dataLength, emptyBuffer);
    return;
  }
  const unsigned int oldLength = dataLength;
  const unsigned int total = CheckedLengthSum(oldLength, count);
  if (total <= allocLength) {
    // `source` may lie in this buffer; memmove keeps that safe.
    std::memmove(buffer + oldLength, source, count);
    dataLength = total;
    buffer[total] = '\0';
    return;
  }
  // The old buffer stays alive until both pieces are copied, so `source` may
  // point into it (appending the string to itself).
  char* const old = buffer;
  ConcatCopy(oldLength, old, count, source);
  ReleaseOwned(old, emptyBuffer);
}

const StringC& StringC::operator+=(const char* text) {
  ConcatInPlace(CheckedLength(TextLength(text)), text);
  return *this;
}

const StringC& StringC::operator+=(const StringC& other) {
  ConcatInPlace(other.dataLength, other.buffer);
  return *this;
}

// Each operator+ starts from the empty state and fills the result with one
// exact allocation; a failure leaves the result empty, so nothing leaks.

StringC operator+(const StringC& left, const StringC& right) {
  StringC result;
  result.ConcatCopy(left.dataLength, left.buffer, right.dataLength, right.buffer);
  return result;
}

StringC operator+(const StringC& left, const char* right) {
  StringC result;
  result.ConcatCopy(left.dataLength, left.buffer, CheckedLength(TextLength(right)), right);
  return result;
}

StringC operator+(const char* left, const StringC& right) {
  StringC result;
  result.ConcatCopy(CheckedLength(TextLength(left)), left, right.dataLength, right.buffer);
  return result;
}

StringC operator+(const StringC& left, char right) {
  StringC result;
  result.ConcatCopy(left.dataLength, left.buffer, 1, &right);
  return result;
}

StringC operator+(char left, const StringC& right) {
  StringC result;
  result.ConcatCopy(1, &left, right.dataLength, right.buffer);
  return result;
}
