//===- quarnbase/ScalarArrays.h - Growable arrays of scalars ----*- C++ -*-===//
/// \file
/// DblArrayC, PtrArrayC and UIntArrayC: growable, contiguous arrays of double,
/// untyped pointers and unsigned int. The three share one design and one
/// implementation; they differ only in their element type.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_SCALARARRAYS_H
#define QUARNBASE_SCALARARRAYS_H

#include <quarnbase/internal/Check.h>
#include <quarnbase/internal/RecordLayout.h>
#include <quarnbase/quarnbase_export.h>

#include <cassert>

// (Two namespace blocks, not quarn::detail: the headers also serve C++14 clients.)
namespace quarn {
namespace detail {
/// The storage operations shared by the scalar arrays; internal to the library.
template <class Array>
struct ScalarArrayCore;
}  // namespace detail
}  // namespace quarn

/// A growable, contiguous array of double.
///
/// Storage: `data` is one block of `maxSize` slots owned by the array, or null
/// when `maxSize` is 0. The first block holds exactly the size asked for (after
/// SetSize(0, 100) and one Add the capacity is 1). A block that must grow is
/// replaced by one of maxSize + growBy slots, or of exactly the size asked for
/// if that is more; `growBy` is 0 after construction, so growth is exact unless
/// the caller sets it. Removing elements never shrinks the block; only
/// SetSize(0), FreeExtra, RemoveAll, assignment and destruction give memory back.
///
/// Cost: each replacement copies every element. With growBy 0 every append to
/// a full block does, so n Adds copy about n^2 / 2 elements; a fixed growBy g
/// divides that by g (one Add in g copies the array) but does not make Add
/// amortised constant. Sizing the array once with SetSize avoids the copies.
///
/// Invariants: 0 <= elementCount <= maxSize; data is null exactly when maxSize
/// is 0. Every slot that comes into use reads +0.0 until written.
///
/// Mutators ignore negative sizes, counts and indices. A size that cannot be
/// represented (above INT_MAX elements, or a block too large to address) raises
/// std::bad_alloc before the array changes, as does any allocation failure;
/// the one exception is that SetSize stores its growth increment first.
class QUARNBASE_EXPORT DblArrayC {
  friend struct quarn::detail::ScalarArrayCore<DblArrayC>;
  friend struct quarn::detail::RecordLayout<DblArrayC>;

 public:
  /// An empty array without a block; allocates nothing.
  constexpr DblArrayC() noexcept : data(nullptr), elementCount(0), maxSize(0), growBy(0) {}
  /// Copies the elements of `other` into an exact block; the copy's growBy is 0.
  DblArrayC(const DblArrayC& other);
  /// Replaces the elements by a copy of `other`'s in an exact block, keeping
  /// this array's growBy. Self-assignment does nothing; on failure the array
  /// is unchanged.
  DblArrayC& operator=(const DblArrayC& other);
  ~DblArrayC();

  /// Number of elements in use.
  int GetSize() const { return elementCount; }
  /// Index of the last element; -1 for an empty array.
  int GetUpperBound() const { return elementCount - 1; }

  /// Makes the array hold `newSize` elements; slots that come into use read 0.
  /// A `newGrowBy` other than -1 is stored as the growth increment first, even
  /// if the rest of the call fails (a negative value acts like 0). Size 0
  /// releases the block. Without a block, the new one has exactly `newSize`
  /// slots. Growing within the block keeps it; growing past it moves the
  /// elements to a block of maxSize + growBy slots, or exactly `newSize` if
  /// that is more. A negative `newSize` changes nothing.
  void SetSize(int newSize, int newGrowBy = -1);
  /// Shrinks the block to exactly GetSize() slots (no block for an empty array).
  void FreeExtra();
  /// Releases the block and empties the array; growBy keeps its value.
  void RemoveAll();

  /// The element at `index`; requires 0 <= index < GetSize() (asserted in
  /// debug builds; a hardened build checks it and stops the process).
  double GetAt(int index) const {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "DblArrayC::GetAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "DblArrayC index out of range");
    return data[index];
  }
  /// Stores `value` at `index`; requires 0 <= index < GetSize() (asserted in
  /// debug builds; a hardened build checks it and stops the process).
  void SetAt(int index, double value) {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "DblArrayC::SetAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "DblArrayC index out of range");
    data[index] = value;
  }
  /// Reference to the element at `index`, valid until the block is replaced
  /// (growth past the capacity, SetSize(0), FreeExtra, RemoveAll, assignment).
  /// Requires 0 <= index < GetSize(), as GetAt does.
  double& ElementAt(int index) {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "DblArrayC::ElementAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "DblArrayC index out of range");
    return data[index];
  }
  double operator[](int index) const { return GetAt(index); }  ///< GetAt(index)
  double& operator[](int index) { return ElementAt(index); }   ///< ElementAt(index)

  /// \name Standard library interop
  /// @{

  /// The elements [0, GetSize()) as a contiguous range; pointers valid as
  /// long as ElementAt references are.
  double* begin() noexcept { return data; }
  double* end() noexcept { return data + elementCount; }              ///< one past the last element
  const double* begin() const noexcept { return data; }               ///< the first element
  const double* end() const noexcept { return data + elementCount; }  ///< one past the last
  /// @}

  /// Stores `value` at `index`, first growing the array to index + 1 elements
  /// when needed (the slots in between read 0). A negative index changes nothing.
  void SetAtGrow(int index, double value);
  /// Appends `value` and returns its index. A store when there is a spare
  /// slot; otherwise grows as SetSize does (cost: see the class comment).
  int Add(double value) {
    const int index = elementCount;  // a local: the store below may alias the count
    if (index < maxSize) {
      data[index] = value;
      elementCount = index + 1;
      return index;
    }
    return AddGrowing(value);
  }
  /// Inserts `count` copies of `value` before `index`. An index at or past the
  /// end first pads the array with zeros up to `index`, so InsertAt(i, v, 0)
  /// with i > GetSize() grows the array to i elements. Negative arguments
  /// change nothing.
  void InsertAt(int index, double value, int count = 1);
  /// Removes up to `count` elements from `index`, clamped to the elements
  /// present; the block is kept. Negative arguments change nothing.
  void RemoveAt(int index, int count = 1);
  /// Inserts all elements of `other`, in order, before `startIndex` (padding
  /// with zeros as InsertAt does). `other` may be this array: the elements
  /// are inserted as they were before the call. A null or empty `other`
  /// changes nothing.
  void InsertAt(int startIndex, const DblArrayC* other);

 private:
  /// Add when the block is full: grows as SetSize does, then stores.
  int AddGrowing(double value);

  double* data;      ///< block of maxSize slots; null when maxSize is 0
  int elementCount;  ///< elements in use, at the front of the block
  int maxSize;       ///< slots in the block
  int growBy;        ///< extra slots to add when the block grows; <= 0 means none
};

/// A growable, contiguous array of untyped pointers, with the storage, growth
/// and invariants of DblArrayC; slots that come into use read null. The
/// pointers belong to the caller: the array never dereferences or releases
/// them. Members behave as those of DblArrayC.
class QUARNBASE_EXPORT PtrArrayC {
  friend struct quarn::detail::ScalarArrayCore<PtrArrayC>;
  friend struct quarn::detail::RecordLayout<PtrArrayC>;

 public:
  /// As DblArrayC::DblArrayC().
  constexpr PtrArrayC() noexcept : data(nullptr), elementCount(0), maxSize(0), growBy(0) {}
  /// As DblArrayC::DblArrayC(const DblArrayC&).
  PtrArrayC(const PtrArrayC& other);
  /// As DblArrayC::operator=(const DblArrayC&).
  PtrArrayC& operator=(const PtrArrayC& other);
  ~PtrArrayC();

  /// As DblArrayC::GetSize() const.
  int GetSize() const { return elementCount; }
  /// As DblArrayC::GetUpperBound() const.
  int GetUpperBound() const { return elementCount - 1; }

  /// As DblArrayC::SetSize(int,int).
  void SetSize(int newSize, int newGrowBy = -1);
  /// As DblArrayC::FreeExtra().
  void FreeExtra();
  /// As DblArrayC::RemoveAll().
  void RemoveAll();

  /// As DblArrayC::GetAt(int) const.
  void* GetAt(int index) const {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "PtrArrayC::GetAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "PtrArrayC index out of range");
    return data[index];
  }
  /// As DblArrayC::SetAt(int,double).
  void SetAt(int index, void* value) {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "PtrArrayC::SetAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "PtrArrayC index out of range");
    data[index] = value;
  }
  /// As DblArrayC::ElementAt(int).
  void*& ElementAt(int index) {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "PtrArrayC::ElementAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "PtrArrayC index out of range");
    return data[index];
  }
  /// As DblArrayC::operator[](int) const.
  void* operator[](int index) const { return GetAt(index); }
  /// As DblArrayC::operator[](int).
  void*& operator[](int index) { return ElementAt(index); }

  /// As DblArrayC::begin().
  void** begin() noexcept { return data; }
  /// As DblArrayC::end().
  void** end() noexcept { return data + elementCount; }
  /// As DblArrayC::begin() const.
  void* const* begin() const noexcept { return data; }
  /// As DblArrayC::end() const.
  void* const* end() const noexcept { return data + elementCount; }

  /// As DblArrayC::SetAtGrow(int,double).
  void SetAtGrow(int index, void* value);
  /// As DblArrayC::Add(double).
  int Add(void* value) {
    const int index = elementCount;  // a local: the store below may alias the count
    if (index < maxSize) {
      data[index] = value;
      elementCount = index + 1;
      return index;
    }
    return AddGrowing(value);
  }
  /// As DblArrayC::InsertAt(int,double,int).
  void InsertAt(int index, void* value, int count = 1);
  /// As DblArrayC::RemoveAt(int,int).
  void RemoveAt(int index, int count = 1);
  /// As DblArrayC::InsertAt(int,const DblArrayC*).
  void InsertAt(int startIndex, const PtrArrayC* other);

 private:
  int AddGrowing(void* value);

  void** data;
  int elementCount;
  int maxSize;
  int growBy;
};

/// A growable, contiguous array of unsigned int, with the storage, growth and
/// invariants of DblArrayC; slots that come into use read 0. Members behave as
/// those of DblArrayC.
class QUARNBASE_EXPORT UIntArrayC {
  friend struct quarn::detail::ScalarArrayCore<UIntArrayC>;
  friend struct quarn::detail::RecordLayout<UIntArrayC>;

 public:
  /// As DblArrayC::DblArrayC().
  constexpr UIntArrayC() noexcept : data(nullptr), elementCount(0), maxSize(0), growBy(0) {}
  /// As DblArrayC::DblArrayC(const DblArrayC&).
  UIntArrayC(const UIntArrayC& other);
  /// As DblArrayC::operator=(const DblArrayC&).
  UIntArrayC& operator=(const UIntArrayC& other);
  ~UIntArrayC();

  /// As DblArrayC::GetSize() const.
  int GetSize() const { return elementCount; }
  /// As DblArrayC::GetUpperBound() const.
  int GetUpperBound() const { return elementCount - 1; }

  /// As DblArrayC::SetSize(int,int).
  void SetSize(int newSize, int newGrowBy = -1);
  /// As DblArrayC::FreeExtra().
  void FreeExtra();
  /// As DblArrayC::RemoveAll().
  void RemoveAll();

  /// As DblArrayC::GetAt(int) const.
  unsigned int GetAt(int index) const {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "UIntArrayC::GetAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "UIntArrayC index out of range");
    return data[index];
  }
  /// As DblArrayC::SetAt(int,double).
  void SetAt(int index, unsigned int value) {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "UIntArrayC::SetAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "UIntArrayC index out of range");
    data[index] = value;
  }
  /// As DblArrayC::ElementAt(int).
  unsigned int& ElementAt(int index) {
    QUARNBASE_CHECK(index >= 0 && index < elementCount,
                    "UIntArrayC::ElementAt: index out of range: %d (0-%d allowed)", index,
                    elementCount - 1);
    assert(index >= 0 && index < elementCount && "UIntArrayC index out of range");
    return data[index];
  }
  /// As DblArrayC::operator[](int) const.
  unsigned int operator[](int index) const { return GetAt(index); }
  /// As DblArrayC::operator[](int).
  unsigned int& operator[](int index) { return ElementAt(index); }

  /// As DblArrayC::begin().
  unsigned int* begin() noexcept { return data; }
  /// As DblArrayC::end().
  unsigned int* end() noexcept { return data + elementCount; }
  /// As DblArrayC::begin() const.
  const unsigned int* begin() const noexcept { return data; }
  /// As DblArrayC::end() const.
  const unsigned int* end() const noexcept { return data + elementCount; }

  /// As DblArrayC::SetAtGrow(int,double).
  void SetAtGrow(int index, unsigned int value);
  /// As DblArrayC::Add(double).
  int Add(unsigned int value) {
    const int index = elementCount;  // a local: the store below may alias the count
    if (index < maxSize) {
      data[index] = value;
      elementCount = index + 1;
      return index;
    }
    return AddGrowing(value);
  }
  /// As DblArrayC::InsertAt(int,double,int).
  void InsertAt(int index, unsigned int value, int count = 1);
  /// As DblArrayC::RemoveAt(int,int).
  void RemoveAt(int index, int count = 1);
  /// As DblArrayC::InsertAt(int,const DblArrayC*).
  void InsertAt(int startIndex, const UIntArrayC* other);

 private:
  int AddGrowing(unsigned int value);

  unsigned int* data;
  int elementCount;
  int maxSize;
  int growBy;
};

// The records are part of the binary interface.
static_assert(quarn::detail::RecordLayout<DblArrayC>::IsArrayRecord() &&
                  quarn::detail::RecordLayout<PtrArrayC>::IsArrayRecord() &&
                  quarn::detail::RecordLayout<UIntArrayC>::IsArrayRecord(),
              "the scalar arrays are data, elementCount, maxSize, growBy");

#endif  // QUARNBASE_SCALARARRAYS_H
