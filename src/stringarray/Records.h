// Records.h - how StringAC handles its element records and its block.
//
// A StringC record is three plain fields (StringC.h locks that), which the array
// treats as bytes. The storage operations create, move, empty and release
// records through these functions; the sort moves whole records through a
// table of its own (StringSort.cpp).
#ifndef QUARNBASE_SRC_STRINGARRAY_RECORDS_H
#define QUARNBASE_SRC_STRINGARRAY_RECORDS_H

#include <quarnbase/StringC.h>

#include <cstddef>
#include <cstring>

#include "Allocation.h"
#include "Checked.h"

namespace quarn::detail {

/// Allocates an uninitialised block of `slots` records (slots > 0).
/// Throws std::bad_alloc when the byte size cannot be represented.
inline StringC* NewRecordBlock(int slots) {
  return static_cast<StringC*>(platform::AllocateBytes(
      platform::CheckedBlockBytes(static_cast<std::size_t>(slots), sizeof(StringC))));
}

/// Releases a block from NewRecordBlock; null is ignored. Elements must have been emptied.
inline void ReleaseRecordBlock(StringC* block) noexcept { platform::ReleaseBytes(block); }

/// Turns `count` raw slots into empty strings: a bit copy of the prototype each.
inline void FillEmpty(StringC* first, int count) noexcept {
  for (int i = 0; i < count; ++i) {
    std::memcpy(static_cast<void*>(first + i), &StringC::emptyPrototype, sizeof(StringC));
  }
}

/// Releases the texts of `count` elements; the records become empty strings.
inline void EmptyRange(StringC* first, int count) noexcept {
  for (int i = 0; i < count; ++i) first[i].Empty();
}

/// Moves `count` records from `from` to `to` (ranges may overlap). The source
/// slots become stale: they must not be emptied afterwards.
inline void MoveRecords(StringC* to, const StringC* from, int count) noexcept {
  if (count > 0) {
    std::memmove(static_cast<void*>(to), from, platform::ElementBytes<StringC>(count));
  }
}

/// Exchanges two records.
inline void SwapRecords(StringC* a, StringC* b) noexcept {
  alignas(StringC) unsigned char held[sizeof(StringC)];
  std::memcpy(held, static_cast<void*>(a), sizeof(StringC));
  std::memcpy(static_cast<void*>(a), b, sizeof(StringC));
  std::memcpy(static_cast<void*>(b), held, sizeof(StringC));
}

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_STRINGARRAY_RECORDS_H
