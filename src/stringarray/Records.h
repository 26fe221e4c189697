// Records.h - how StringAC handles its element records and its block.
//
// A StringC record is three plain fields; the array treats it as bytes. These
// functions are the only places that create, move, empty and release records.
#ifndef QUARNBASE_SRC_STRINGARRAY_RECORDS_H
#define QUARNBASE_SRC_STRINGARRAY_RECORDS_H

#include <quarnbase/StringC.h>

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "frame/Allocation.h"
#include "platform/Checked.h"

namespace quarn::detail {

// The array copies, moves and fills records bitwise, which is sound only for a
// plain record of two 32-bit lengths and a pointer with nothing hidden.
static_assert(std::is_standard_layout_v<StringC>, "StringC must stay a plain record");
static_assert(!std::is_polymorphic_v<StringC>, "StringC must not carry a vtable");
static_assert(sizeof(unsigned int) == 4, "StringC lengths are 32-bit");
static_assert(sizeof(StringC) == (2 * sizeof(unsigned int) + sizeof(char*) + alignof(StringC) - 1) /
                                     alignof(StringC) * alignof(StringC),
              "StringC must be exactly its three fields");

/// Allocates an uninitialised block of `slots` records (slots > 0).
/// Throws std::bad_alloc when the byte size cannot be represented.
inline StringC* NewRecordBlock(int slots) {
  return static_cast<StringC*>(
      AllocateBytes(CheckedBlockBytes(static_cast<std::size_t>(slots), sizeof(StringC))));
}

/// Releases a block from NewRecordBlock; null is ignored. Elements must have been emptied.
inline void ReleaseRecordBlock(StringC* block) noexcept { ReleaseBytes(block); }

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
    std::memmove(static_cast<void*>(to), from, ElementBytes<StringC>(count));
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
