// ObjectLayout.h - test-only views of the fields of the arrays.
//
// The array classes do not expose their capacity and growth increment (the
// scalar arrays keep them private, StringAC protected), yet the tests and the
// fuzzers check both. Every array record is a block pointer followed by three
// ints (elementCount, maxSize, growBy), a layout each public header checks
// after its class; these helpers copy that record's bytes into a plain mirror
// struct, the one mirror of it outside the library.
#ifndef QUARNBASE_TESTS_SUPPORT_OBJECTLAYOUT_H
#define QUARNBASE_TESTS_SUPPORT_OBJECTLAYOUT_H

#include <quarnbase/ScalarArrays.h>
#include <quarnbase/StringAC.h>

#include <cstring>
#include <type_traits>

namespace quarn::test {

/// The fields of an array record of elements `E`, in declaration order.
template <class E>
struct ArrayFields {
  E* data;
  int elementCount;
  int maxSize;
  int growBy;
};

template <class Array>
struct ElementOf;
template <>
struct ElementOf<DblArrayC> {
  using type = double;
};
template <>
struct ElementOf<PtrArrayC> {
  using type = void*;
};
template <>
struct ElementOf<UIntArrayC> {
  using type = unsigned int;
};
template <>
struct ElementOf<StringAC> {
  using type = StringC;
};

/// A copy of the four fields of `array`.
template <class Array>
ArrayFields<typename ElementOf<Array>::type> FieldsOf(const Array& array) {
  using Fields = ArrayFields<typename ElementOf<Array>::type>;
  static_assert(sizeof(Fields) == sizeof(Array), "array record is pointer + three ints");
  static_assert(std::is_standard_layout_v<Array>, "array record is standard-layout");
  Fields fields;
  std::memcpy(&fields, static_cast<const void*>(&array), sizeof fields);
  return fields;
}

/// Whether the record invariants hold: 0 <= count <= capacity, and a block
/// exists exactly when the capacity is not 0.
template <class Array>
bool RecordIsValid(const Array& array) {
  const auto f = FieldsOf(array);
  return f.elementCount >= 0 && f.elementCount <= f.maxSize &&
         (f.data == nullptr) == (f.maxSize == 0);
}

}  // namespace quarn::test

#endif  // QUARNBASE_TESTS_SUPPORT_OBJECTLAYOUT_H
