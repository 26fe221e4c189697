// ScalarArrayCore.h - the one implementation behind DblArrayC, PtrArrayC and
// UIntArrayC.
//
// Each array class is a shell whose out-of-line members forward here. The core
// works on the four fields of the array (data, elementCount, maxSize, growBy)
// and owns the policies: growth (Resize, with GrownCount), block replacement
// (NewBlock, then ReplaceBlock), and filling fresh slots (Zero). Elements are
// plain values, moved with memmove and cleared with memset.
#ifndef QUARNBASE_SRC_ARRAYS_SCALARARRAYCORE_H
#define QUARNBASE_SRC_ARRAYS_SCALARARRAYCORE_H

#include <quarnbase/ScalarArrays.h>

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

#include "Allocation.h"
#include "Checked.h"

namespace quarn::detail {

template <class Array>
struct ScalarArrayCore {
  using T = std::remove_pointer_t<decltype(std::declval<Array&>().data)>;

  // Elements are copied bytewise and an all-zero slot must be the zero value.
  static_assert(std::is_trivially_copyable_v<T> && std::is_scalar_v<T>,
                "elements are plain scalars");

  // A block of `capacity` slots holding a copy of the first `count` elements
  // of `source`; the other slots are unset. Throws before anything changes.
  static T* NewBlock(int capacity, const T* source, int count) {
    T* block =
        static_cast<T*>(platform::AllocateBytes(platform::CheckedBlockBytes(capacity, sizeof(T))));
    if (count > 0) std::memmove(block, source, platform::ElementBytes<T>(count));
    return block;
  }

  // Releases the old block and installs `block` (null for none) of `capacity` slots.
  static void ReplaceBlock(Array& a, T* block, int capacity) noexcept {
    platform::ReleaseBytes(a.data);
    a.data = block;
    a.maxSize = capacity;
  }

  // Sets the slots [from, to) to the zero value.
  static void Zero(T* data, int from, int to) noexcept {
    if (to > from) std::memset(data + from, 0, platform::ElementBytes<T>(to - from));
  }

  // The state of an array without a block; growBy is kept.
  static void Release(Array& a) noexcept {
    ReplaceBlock(a, nullptr, 0);
    a.elementCount = 0;
  }

  // The growth policy, without the growBy argument: size 0 releases the
  // block, a size within the block keeps it, and a larger size moves the
  // elements to a grown block. Slots coming into use are zeroed.
  static void Resize(Array& a, int newSize) {
    if (newSize == 0) {
      Release(a);
      return;
    }
    if (newSize > a.maxSize) {
      // maxSize + growBy, at least newSize, at most INT_MAX.
      const int capacity =
          a.data == nullptr ? newSize : platform::GrownCount(a.maxSize, a.growBy, newSize);
      ReplaceBlock(a, NewBlock(capacity, a.data, a.elementCount), capacity);
    }
    Zero(a.data, a.elementCount, newSize);
    a.elementCount = newSize;
  }

  static void SetSize(Array& a, int newSize, int newGrowBy) {
    if (newSize < 0) return;
    if (newGrowBy != -1) a.growBy = newGrowBy;
    Resize(a, newSize);
  }

  static void FreeExtra(Array& a) {
    if (a.elementCount == a.maxSize) return;
    T* block = a.elementCount > 0 ? NewBlock(a.elementCount, a.data, a.elementCount) : nullptr;
    ReplaceBlock(a, block, a.elementCount);
  }

  static void SetAtGrow(Array& a, int index, T value) {
    if (index < 0) return;
    if (index >= a.elementCount) Resize(a, platform::CheckedCountSum(index, 1));
    a.data[index] = value;
  }

  static int AddGrowing(Array& a, T value) {
    const int index = a.elementCount;
    Resize(a, platform::CheckedCountSum(index, 1));
    a.data[index] = value;
    return index;
  }

  // Makes room for `count` elements at `index`: pads with zeros up to `index`
  // when it is at or past the end, else moves the tail up by `count`. The
  // opened slots hold zeros or stale moved values, for the caller to fill.
  static void OpenGap(Array& a, int index, int count) {
    const int oldCount = a.elementCount;
    if (index >= oldCount) {
      Resize(a, platform::CheckedCountSum(index, count));
      return;
    }
    Resize(a, platform::CheckedCountSum(oldCount, count));
    std::memmove(a.data + index + count, a.data + index,
                 platform::ElementBytes<T>(oldCount - index));
  }

  static void InsertAt(Array& a, int index, T value, int count) {
    if (index < 0 || count < 0) return;
    OpenGap(a, index, count);
    for (int i = index; i < index + count; ++i) a.data[i] = value;
  }

  static void RemoveAt(Array& a, int index, int count) {
    if (index < 0 || count < 0 || index >= a.elementCount) return;
    if (count > a.elementCount - index) count = a.elementCount - index;
    const int tail = a.elementCount - index - count;
    if (tail != 0) {
      std::memmove(a.data + index, a.data + index + count, platform::ElementBytes<T>(tail));
    }
    a.elementCount -= count;
  }

  static void InsertArray(Array& a, int start, const Array* other) {
    if (start < 0 || other == nullptr || other->elementCount <= 0) return;
    const int count = other->elementCount;
    OpenGap(a, start, count);
    T* const data = a.data;
    if (other != &a) {
      std::memmove(data + start, other->data, platform::ElementBytes<T>(count));
      return;
    }
    // Inserting the array into itself: the old elements now lie at [0, start)
    // and [start + count, 2 * count) when start was inside the array, or at
    // [0, count) when it was not. Copy them into the gap in their old order.
    if (start >= count) {
      std::memmove(data + start, data, platform::ElementBytes<T>(count));
    } else {
      std::memmove(data + start, data, platform::ElementBytes<T>(start));
      std::memmove(data + 2 * start, data + start + count,
                   platform::ElementBytes<T>(count - start));
    }
  }

  // Fills a freshly constructed (empty) array with a copy of `other`.
  static void CopyConstruct(Array& a, const Array& other) {
    if (other.elementCount == 0) return;
    ReplaceBlock(a, NewBlock(other.elementCount, other.data, other.elementCount),
                 other.elementCount);
    a.elementCount = other.elementCount;
  }

  // Copy assignment: the new block is made before the old one goes, so a
  // failure leaves the target as it was.
  static void Assign(Array& a, const Array& other) {
    if (&a == &other) return;
    const int count = other.elementCount;
    T* block = count > 0 ? NewBlock(count, other.data, count) : nullptr;
    ReplaceBlock(a, block, count);
    a.elementCount = count;
  }
};

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_ARRAYS_SCALARARRAYCORE_H
