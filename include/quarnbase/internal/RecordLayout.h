//===- quarnbase/internal/RecordLayout.h - Record layout checks --*- C++ -*-===//
// Not part of the interface. A record whose layout clients depend on has its
// layout checked right after its class, in its public header, through
// RecordLayout<Class>, which the class befriends so that the checks can name
// fields that are not public: a specialisation holding static_asserts, or for
// the arrays the check below.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_INTERNAL_RECORDLAYOUT_H
#define QUARNBASE_INTERNAL_RECORDLAYOUT_H

#include <cstddef>
#include <type_traits>

namespace quarn {
namespace detail {

/// The layout checks of `Record`.
template <class Record>
struct RecordLayout {
  /// Whether `Record` is an array record: the block pointer `data`, then the
  /// 32-bit ints elementCount, maxSize and growBy, padded to pointer alignment.
  static constexpr bool IsArrayRecord() {
    return std::is_standard_layout<Record>::value && sizeof(int) == 4 &&
           offsetof(Record, data) == 0 && offsetof(Record, elementCount) == sizeof(void*) &&
           offsetof(Record, maxSize) == sizeof(void*) + 4 &&
           offsetof(Record, growBy) == sizeof(void*) + 8 &&
           sizeof(Record) == (sizeof(void*) == 4 ? 16 : 24);
  }
};

}  // namespace detail
}  // namespace quarn

#endif  // QUARNBASE_INTERNAL_RECORDLAYOUT_H
