// StringAC storage: construction, copying, growth, insertion and removal.
#include <quarnbase/StringAC.h>

#include <cstdio>
#include <new>
#include <utility>

#include "Allocation.h"
#include "Checked.h"
#include "PerThread.h"
#include "Records.h"

using quarn::detail::EmptyRange;
using quarn::detail::FillEmpty;
using quarn::detail::MoveRecords;
using quarn::detail::NewRecordBlock;
using quarn::detail::ReleaseRecordBlock;
using quarn::platform::CheckedCountSum;
using quarn::platform::GrownCount;

namespace {

// Prints the range message of the read accessors (no line break: consecutive
// messages run together, as callers of this library expect).
void ReportBadIndex(int index, int elementCount) {
  std::fprintf(stderr, "StringAC index out of range %d (0-%d allowed)", index, elementCount - 1);
}

// The string handed out by an out-of-range ElementAt. It is per thread so that
// threads never share it, and emptied at each hand-out so that every caller
// starts from "" and whatever the previous one stored is released; what the
// last caller stored is released when the thread ends.
StringC& OutOfRangeScratch() {
  StringC& scratch = quarn::platform::PerThread<StringC>();
  scratch.Empty();
  return scratch;
}

}  // namespace

StringAC::StringAC(int initialSize) : StringAC() {
  if (initialSize < 0) {
    std::fprintf(stderr, "Invalid size (%d) for StringAC", initialSize);
    return;
  }
  if (initialSize > 0) {
    data = NewRecordBlock(initialSize);
    FillEmpty(data, initialSize);
    elementCount = maxSize = initialSize;
  }
}

StringAC::StringAC(const StringAC& other) : StringAC() { CopyElements(other); }

StringAC::~StringAC() {
  EmptyRange(data, elementCount);
  ReleaseRecordBlock(data);
}

StringAC& StringAC::operator=(const StringAC& other) {
  if (this != &other) {
    // The copy is made first, so a failure leaves this array as it was; the
    // old elements and block then leave with `copy`.
    StringAC copy(other);
    std::swap(data, copy.data);
    std::swap(elementCount, copy.elementCount);
    std::swap(maxSize, copy.maxSize);
  }
  return *this;
}

StringAC& StringAC::operator+=(const StringAC& other) {
  AppendCopies(other.data, other.elementCount);
  return *this;
}

StringAC& StringAC::operator+=(const StringC& value) {
  AppendCopies(&value, 1);
  return *this;
}

StringAC StringAC::operator+(const StringAC& other) const {
  StringAC result;
  result.AppendCopies(data, elementCount);
  result.AppendCopies(other.data, other.elementCount);
  return result;
}

StringAC StringAC::operator+(const StringC& value) const {
  StringAC result;
  result.AppendCopies(data, elementCount);
  result.AppendCopies(&value, 1);
  return result;
}

StringC& StringAC::ElementAt(int index) {
  if (index < 0 || index >= elementCount) {
    ReportBadIndex(index, elementCount);
    return OutOfRangeScratch();
  }
  return data[index];
}

StringC StringAC::GetAt(int index) const {
  if (index < 0 || index >= elementCount) {
    ReportBadIndex(index, elementCount);
    return StringC();
  }
  return data[index];
}

void StringAC::SetAt(int index, const char* value) {
  if (index >= 0 && index < elementCount) data[index] = value;
}

void StringAC::SetSize(int newSize, int newGrowBy) {
  if (newSize < 0) return;
  if (newGrowBy != -1) growBy = newGrowBy;
  if (newSize == 0) {
    RemoveAll();
    return;
  }
  if (data == nullptr) {  // first block: exactly the request
    data = NewRecordBlock(newSize);
    FillEmpty(data, newSize);
    elementCount = maxSize = newSize;
    return;
  }
  if (newSize <= maxSize) {  // within the block: fill or empty the difference
    if (newSize > elementCount) {
      FillEmpty(data + elementCount, newSize - elementCount);
    } else {
      EmptyRange(data + newSize, elementCount - newSize);
    }
    elementCount = newSize;
    return;
  }
  // Grow by growBy, or by half the capacity plus 10, but at least to newSize.
  const int capacity = GrownCount(maxSize, growBy != 0 ? growBy : maxSize / 2 + 10, newSize);
  StringC* block = NewRecordBlock(capacity);
  MoveRecords(block, data, elementCount);
  FillEmpty(block + elementCount, newSize - elementCount);
  ReleaseRecordBlock(data);
  data = block;
  elementCount = newSize;
  maxSize = capacity;
}

void StringAC::FreeExtra() {
  if (elementCount == maxSize) return;
  StringC* block = nullptr;
  if (elementCount > 0) {
    block = NewRecordBlock(elementCount);
    MoveRecords(block, data, elementCount);
  }
  ReleaseRecordBlock(data);
  data = block;
  maxSize = elementCount;
}

void StringAC::SetAtGrow(int index, const char* value) {
  if (index < 0) return;
  if (index < elementCount) {
    data[index] = value;
    return;
  }
  const int oldCount = elementCount;
  SetSize(CheckedCountSum(index, 1));
  try {
    data[index] = value;
  } catch (...) {
    truncate(oldCount);
    throw;
  }
}

int StringAC::Add(const char* value) {
  const int index = elementCount;
  SetSize(CheckedCountSum(index, 1));
  try {
    data[index] = value;
  } catch (...) {
    elementCount = index;  // the failed slot is left an empty string
    throw;
  }
  return index;
}

void StringAC::InsertAt(int index, const char* value, int count) {
  if (index < 0 || count < 0) return;
  const int oldCount = elementCount;
  OpenGap(index, count);
  try {
    for (int i = 0; i < count; ++i) data[index + i] = value;
  } catch (...) {
    CloseGap(index, count, oldCount);
    throw;
  }
}

void StringAC::InsertAt(int startIndex, const StringAC* other) {
  if (other == nullptr || other->elementCount <= 0 || startIndex < 0) return;
  if (other == this) {  // insert the elements as they were before the gap opens
    const StringAC before(*this);
    InsertAt(startIndex, &before);
    return;
  }
  const int count = other->elementCount;
  const int oldCount = elementCount;
  OpenGap(startIndex, count);
  try {
    // Texts go over as C text, so an element with a zero byte arrives cut there.
    for (int i = 0; i < count; ++i) {
      data[startIndex + i] = static_cast<const char*>(other->data[i]);
    }
  } catch (...) {
    CloseGap(startIndex, count, oldCount);
    throw;
  }
}

void StringAC::RemoveAt(int index, int count) {
  if (index < 0 || count <= 0 || index >= elementCount) return;
  if (count > elementCount - index) count = elementCount - index;
  EmptyRange(data + index, count);
  MoveRecords(data + index, data + index + count, elementCount - index - count);
  elementCount -= count;
}

void StringAC::RemoveAll() {
  EmptyRange(data, elementCount);
  ReleaseRecordBlock(data);
  data = nullptr;
  elementCount = maxSize = 0;
}

void StringAC::truncate(int newSize, int) {
  if (newSize < 0 || newSize >= elementCount) return;
  EmptyRange(data + newSize, elementCount - newSize);
  elementCount = newSize;
}

void StringAC::AppendCopies(const StringC* source, int count) {
  if (count <= 0) return;
  const int total = CheckedCountSum(elementCount, count);
  StringC* block = NewRecordBlock(total);
  StringC* tail = block + elementCount;
  FillEmpty(tail, count);
  // Copy first: `source` may lie in this array, whose block is still intact.
  try {
    for (int i = 0; i < count; ++i) tail[i] = source[i];
  } catch (...) {
    EmptyRange(tail, count);
    ReleaseRecordBlock(block);
    throw;
  }
  MoveRecords(block, data, elementCount);
  ReleaseRecordBlock(data);
  data = block;
  elementCount = maxSize = total;
}

void StringAC::CopyElements(const StringAC& other) {
  AppendCopies(other.data, other.elementCount);  // into this array, which holds no block
}

void StringAC::OpenGap(int index, int count) {
  const int oldCount = elementCount;
  if (index < oldCount) {
    SetSize(CheckedCountSum(oldCount, count));
    MoveRecords(data + index + count, data + index, oldCount - index);
    FillEmpty(data + index, count);
  } else {
    SetSize(CheckedCountSum(index, count));
  }
}

void StringAC::CloseGap(int index, int count, int oldCount) noexcept {
  if (index < oldCount) {
    RemoveAt(index, count);
  } else {
    truncate(oldCount);
  }
}
