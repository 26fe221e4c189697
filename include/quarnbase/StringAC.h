//===- quarnbase/StringAC.h - Growable array of strings ---------*- C++ -*-===//
/// \file
/// StringAC, a growable array of StringC values kept side by side in one block,
/// with indexed access, insertion and removal, joining, lookup, sorting with
/// optional removal of duplicates, and diagnostic dumps to standard error.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_STRINGAC_H
#define QUARNBASE_STRINGAC_H

#include <quarnbase/StringC.h>
#include <quarnbase/quarnbase_export.h>

/// A growable array of strings.
///
/// Storage: the array owns one block of `maxSize` StringC records and the texts
/// of its elements. Records are plain data to the array: a slot that comes into
/// use receives a bit copy of StringC::emptyPrototype (no allocation), records
/// that change place are moved bitwise (texts stay where they are), and an
/// element that leaves the array is emptied with StringC::Empty. No StringC
/// constructor or destructor ever runs on a slot.
///
/// Invariants:
///  - 0 <= elementCount <= maxSize; data is null exactly when maxSize is 0;
///  - slots [0, elementCount) hold valid strings, no two sharing a buffer;
///  - slots [elementCount, maxSize) hold stale bytes that are never read.
///
/// Growth goes through SetSize. The first block holds exactly the size asked
/// for; a block that must grow is replaced by one of maxSize + growBy slots, or
/// of maxSize + maxSize / 2 + 10 when growBy is 0 (at least the size asked for),
/// so repeated Add gives capacities 1, 11, 26, 49, ... Each replacement moves
/// every record (never a text). With growBy 0 the capacity grows geometrically
/// and Add takes amortised constant time; a fixed growBy g makes n Adds move
/// about n^2 / (2g) records. The appending operators (+=, +) instead build a
/// block of exactly the new count each time, moving all records.
///
/// Element references (ElementAt, operator[]) stay valid until the block is
/// replaced or the element is moved or removed. Out-of-range reads print a
/// diagnostic to stderr and go on with a string that is not an element; the
/// mutators ignore arguments that lie outside the elements. A count or index
/// whose result would not fit an int raises std::bad_alloc before anything
/// changes. Not safe for concurrent use of one instance.
class QUARNBASE_EXPORT StringAC {
  friend class StringC;
  friend struct quarn::detail::RecordLayout<StringAC>;

 public:
  /// The empty array; allocates nothing.
  StringAC() noexcept : data(nullptr), elementCount(0), maxSize(0), growBy(0) {}
  /// An array of `initialSize` empty strings with capacity `initialSize`. A
  /// negative size prints "Invalid size (%d) for StringAC" and gives the empty array.
  explicit StringAC(int initialSize);
  /// Copies the elements of `other` into a block of exactly their count; growBy is 0.
  StringAC(const StringAC& other);
  ~StringAC();

  /// Replaces the elements by copies of those of `other` (exact block); growBy
  /// stays. Self-assignment changes nothing. The copies are made before the old
  /// elements are released, so on failure the array is unchanged.
  StringAC& operator=(const StringAC& other);
  /// Appends copies of the elements of `other` (which may be this array, whose
  /// elements are then appended as they were). Moves to a block of exactly the
  /// new count unless `other` is empty; the elements already there move with
  /// their text buffers, untouched. On failure nothing changes.
  StringAC& operator+=(const StringAC& other);
  /// Appends a copy of `value` (which may be an element of this array). Always
  /// moves to a block of exactly the new count. On failure nothing changes.
  StringAC& operator+=(const StringC& value);
  /// A new array: these elements followed by those of `other`; capacity == count.
  QUARNBASE_NODISCARD StringAC operator+(const StringAC& other) const;
  /// A new array: these elements followed by `value`; capacity == count.
  QUARNBASE_NODISCARD StringAC operator+(const StringC& value) const;

  /// Number of elements.
  int length() const { return elementCount; }
  /// Number of elements.
  int GetSize() const { return elementCount; }
  /// Index of the last element; -1 for an empty array.
  int GetUpperBound() const { return elementCount - 1; }
  /// Capacity in slots (not the element count).
  int size() const { return maxSize; }

  /// Element `index`. Out of range: prints "StringAC index out of range %d
  /// (0-%d allowed)" and returns a per-thread scratch string, empty at each such
  /// return; what is stored in it is released at the next out-of-range access,
  /// at thread exit, or when the library is unloaded.
  StringC& ElementAt(int index);
  /// Same as ElementAt.
  StringC& operator[](int index) { return ElementAt(index); }
  /// A copy of element `index`. Out of range: prints the range message and
  /// returns an empty string.
  StringC GetAt(int index) const;
  /// Same as GetAt.
  StringC operator[](int index) const { return GetAt(index); }

  /// \name Standard library interop
  /// @{

  /// The elements [0, GetSize()) as a contiguous range, valid as long as
  /// element references are (see ElementAt). Note that size() is the
  /// capacity, not the length of this range.
  StringC* begin() noexcept { return data; }
  StringC* end() noexcept { return data + elementCount; }  ///< one past the last element
  const StringC* begin() const noexcept { return data; }   ///< the first element
  const StringC* end() const noexcept { return data + elementCount; }  ///< one past the last
  /// @}

  /// Stores the C text `value` (null counts as "") into element `index`; does
  /// nothing when `index` is out of range (a hardened build stops the process).
  void SetAt(int index, const char* value);
  /// Makes the array hold `newSize` elements: new ones are empty, removed ones
  /// are released. `newGrowBy` other than -1 becomes growBy first (0 selects
  /// the default increment); SetSize(0, ...) releases the block. A negative
  /// `newSize` changes nothing. On allocation failure the elements are unchanged.
  void SetSize(int newSize, int newGrowBy = -1);
  /// Shrinks the block to exactly the element count (none when it is 0).
  /// On allocation failure nothing changes.
  void FreeExtra();
  /// Stores `value` into element `index`, first growing the array with empty
  /// strings up to `index` when needed. A negative `index` changes nothing.
  void SetAtGrow(int index, const char* value);
  /// Appends the C text `value` (null counts as ""); returns its index. Grows
  /// through SetSize (cost: see the class comment). On failure the elements
  /// are unchanged (the block may already have grown).
  int Add(const char* value);
  /// Inserts `count` copies of the C text `value` at `index`, padding with empty
  /// strings when `index` lies past the end. A negative `index` or `count`
  /// changes nothing (a hardened build stops the process). On failure the
  /// elements are unchanged.
  void InsertAt(int index, const char* value, int count = 1);
  /// Inserts the texts of all elements of `other` as C text (an element holding
  /// a zero byte arrives cut there; null counts as an empty array; this array
  /// itself inserts its elements as they were) at `startIndex`, padding with
  /// empty strings when `startIndex` lies past the end. An empty `other` or a
  /// negative `startIndex` changes nothing (a hardened build stops the process
  /// at a negative one). On failure the elements are unchanged.
  void InsertAt(int startIndex, const StringAC* other);
  /// Removes up to `count` elements from `index`, releasing their texts; the
  /// capacity stays. Clamped to the elements present; a negative `index` or
  /// `count` changes nothing. A hardened build stops the process instead
  /// unless 0 <= index, 0 <= count and index + count <= GetSize().
  void RemoveAt(int index, int count = 1);
  /// Releases every element and the block; growBy is kept.
  void RemoveAll();
  /// Cuts the array down to `newSize` elements, keeping the capacity. Does
  /// nothing unless 0 <= newSize < GetSize(). The second argument is ignored.
  void truncate(int newSize, int unused = 0);

  /// Returns the smallest index >= `startIndex` (a negative one counts as 0)
  /// whose element equals `key` exactly (same bytes, same length), or -1.
  QUARNBASE_NODISCARD int index(const StringC& key, int startIndex = 0) const;
  /// Sorts ascending by StringC::Compare, case-insensitively when `noCase` is
  /// nonzero; the order among equal elements is unspecified. With `unique`
  /// nonzero, keeps only the first of each run of equal elements (capacity
  /// stays). Moves element records, never texts. A multikey quicksort on keys
  /// of 7 text bytes, held in a temporary table of 24 bytes per element: about
  /// n log n key steps plus one read of each element's distinguishing prefix,
  /// so long shared prefixes and runs of equal strings are read once per
  /// element, not once per comparison. Without memory for the table it sorts
  /// the records by comparison: sort never fails.
  void sort(int unique = 0, int noCase = 0);
  /// Prints elements `first` to `last` to stderr under a header; a negative
  /// `last` means the last element. A range that is empty or negative prints
  /// "\n  Bad dump StringAC range: %d - %d\n" instead; otherwise a `last` past
  /// the end is clamped to the last element (and the message is printed if
  /// that leaves the range empty).
  void dump(int first, int last) const;
  /// Prints the C text of element 0 to stderr, nothing else; prints nothing
  /// for an empty array.
  void dump() const;

 protected:
  StringC* data;     ///< maxSize slots; null when maxSize is 0
  int elementCount;  ///< elements in use, slots [0, elementCount)
  int maxSize;       ///< slots in the block (capacity)
  int growBy;        ///< growth increment of SetSize; 0 selects maxSize / 2 + 10

 private:
  /// Appends copies of `count` strings from `source` (which may lie in this
  /// array) into a block of exactly the new count.
  void AppendCopies(const StringC* source, int count);
  /// Gives this array, which holds no block, copies of the elements of `other`
  /// in an exact block (the copy constructor); on failure leaves the empty array.
  void CopyElements(const StringAC& other);
  /// Opens `count` empty slots at `index` (padding up to it when it lies past
  /// the end) through SetSize; `index` and `count` are not negative.
  void OpenGap(int index, int count);
  /// Takes back a failed insertion: removes the slots [index, index + count)
  /// opened on an array that held `oldCount` elements.
  void CloseGap(int index, int count, int oldCount) noexcept;
};

// The record is part of the binary interface.
static_assert(quarn::detail::RecordLayout<StringAC>::IsArrayRecord(),
              "StringAC is data, elementCount, maxSize, growBy");

template <int>
StringAC StringC::parse(const char* delimiters) const {
  return const_cast<StringC*>(this)->parse(delimiters);
}

#ifdef __cpp_lib_ranges
/// size() is the capacity: C++20 ranges measure begin() to end() instead.
template <>
inline constexpr bool std::ranges::disable_sized_range<StringAC> = true;
#endif

#endif  // QUARNBASE_STRINGAC_H
