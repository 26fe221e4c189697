//===- quarnbase/PtrListC.h - Block allocator and pointer list --*- C++ -*-===//
/// \file
/// PlexC, a chain of raw blocks that each hold a fixed number of equal-sized
/// elements, and PtrListC, a doubly linked list of untyped pointers whose nodes
/// are carved out of such blocks and recycled through a free list.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_PTRLISTC_H
#define QUARNBASE_PTRLISTC_H

#include <quarnbase/internal/RecordLayout.h>
#include <quarnbase/quarnbase_export.h>

#include <cassert>
#include <cstddef>
#include <iterator>
#include <type_traits>

/// Opaque type behind POSITION. Both declarations below are plain
/// redeclarations, so a client that declares them as well does not clash.
struct __POSITION;
/// Handle of a list element: the address of its node; null means "no element".
typedef __POSITION* POSITION;

/// One memory block: this header, directly followed by an uninitialised area
/// of `capacity` elements whose size only the owner knows.
///
/// Blocks form a singly linked chain, newest first, identified by a head
/// pointer that the owner holds (null for an empty chain). The owner creates
/// blocks one at a time with Create and releases the whole chain at once with
/// FreeDataChain; no block is ever released on its own. No constructor or
/// destructor runs on a block or on its elements.
class QUARNBASE_EXPORT PlexC {
 public:
  PlexC* next;            ///< the next older block; null for the oldest
  unsigned int capacity;  ///< element count the block was created for
  unsigned int reserved;  ///< 0 from creation on; unused by the library

  /// Allocates a block with room for `count` elements of `elementSize` bytes,
  /// makes it the head of the chain `chainHead` and returns it. A count of 0
  /// gives a block with an empty element area. Throws std::bad_alloc, with
  /// `chainHead` unchanged, when the allocation fails or the size cannot be
  /// represented.
  static PlexC* Create(PlexC*& chainHead, unsigned int count, unsigned int elementSize);

  /// The element area: the first byte behind this header. It is aligned for
  /// pointers, and for anything up to alignof(std::max_align_t) when the
  /// header size happens to be a multiple of it (16 bytes on 64-bit targets).
  void* data() { return this + 1; }
  const void* data() const { return this + 1; }  ///< the element area, read-only

  /// Releases this block and every older one, newest first.
  void FreeDataChain() { FreeDataChain(this); }
  /// Releases every block of the chain starting at `head`; null (an empty
  /// chain) releases nothing. The caller resets its head pointer afterwards.
  static void FreeDataChain(PlexC* head) noexcept;
};

/// \cond
// The block header is part of the binary interface.
template <>
struct quarn::detail::RecordLayout<PlexC> {
  static_assert(sizeof(unsigned int) == 4, "PlexC counts are 32-bit");
  static_assert(offsetof(PlexC, next) == 0 && offsetof(PlexC, capacity) == sizeof(PlexC*) &&
                    offsetof(PlexC, reserved) == sizeof(PlexC*) + 4 &&
                    sizeof(PlexC) == sizeof(PlexC*) + 8,
                "PlexC header is next, capacity, reserved, without padding");
};
/// \endcond

/// A doubly linked list of untyped pointers, walked and edited through
/// POSITION handles.
///
/// Storage: nodes live in PlexC blocks of `blockSize` nodes, owned by the list.
/// A block is allocated only when a node is needed and none is spare; removed
/// nodes go to a free list and are reused last-returned-first, and blocks go
/// back to the allocator only in RemoveAll and the destructor. Nodes of a fresh
/// block are handed out in ascending address order. The stored pointers are
/// the caller's: never dereferenced, copied through or released.
///
/// Invariants: `count` is the number of nodes reached from `head`; head, tail
/// and count are null, null and 0 together; the head's `prev` and the tail's
/// `next` are null; every node of every block is either in the list or on the
/// free list. Nodes never move, so a position stays valid, naming the same
/// element, until its node is removed or the list is cleared.
///
/// Position arguments are unchecked in release builds and asserted in debug
/// builds. The only failure is std::bad_alloc from a block allocation, which
/// happens before anything in the list changes.
class QUARNBASE_EXPORT PtrListC {
 public:
  /// \cond
  friend struct quarn::detail::RecordLayout<PtrListC>;
  /// \endcond
  /// A list node; a spare node's `next` links the free list.
  struct CNode {
    CNode* next;  ///< following node; null at the tail
    CNode* prev;  ///< preceding node; null at the head
    void* data;   ///< the element; not owned
  };

  /// An empty list with `nodesPerBlock` nodes per block (values below 1 count
  /// as 1). Allocates nothing.
  explicit PtrListC(int nodesPerBlock = 10)
      : head(nullptr),
        tail(nullptr),
        count(0),
        freeList(nullptr),
        blocks(nullptr),
        blockSize(nodesPerBlock < 1 ? 1 : nodesPerBlock) {}
  /// A list holding the same pointers as `other`, in its own nodes, with
  /// other's block size. Throws std::bad_alloc and leaks nothing on failure.
  PtrListC(const PtrListC& other);
  /// Takes over other's nodes, blocks and block size; `other` is left empty
  /// with no blocks.
  PtrListC(PtrListC&& other) noexcept;
  /// Makes this list hold the same pointers as `other`, in nodes taken from
  /// fresh blocks of this list's block size, then releases the old blocks. On
  /// failure the list is unchanged. Self-assignment does nothing.
  PtrListC& operator=(const PtrListC& other);
  /// Releases this list's blocks and takes over other's nodes, blocks and
  /// block size; `other` is left empty with no blocks.
  PtrListC& operator=(PtrListC&& other) noexcept;
  /// Releases every block, as RemoveAll does.
  ~PtrListC();

  /// Number of elements.
  int GetCount() const { return count; }
  /// 1 when the list has no element, else 0.
  int IsEmpty() const { return count == 0 ? 1 : 0; }

  /// The first element, writable. The list must not be empty (asserted in
  /// debug builds); where it may be, read through a const list, whose by-value
  /// GetHead returns null.
  void*& GetHead() {
    assert(head != nullptr && "GetHead on an empty list");
    return head->data;
  }
  /// The first element, or null when the list is empty.
  void* GetHead() const { return head != nullptr ? head->data : nullptr; }
  /// The last element, writable. The list must not be empty (asserted in
  /// debug builds); the const overload returns null for an empty list.
  void*& GetTail() {
    assert(tail != nullptr && "GetTail on an empty list");
    return tail->data;
  }
  /// The last element, or null when the list is empty.
  void* GetTail() const { return tail != nullptr ? tail->data : nullptr; }

  /// Position of the first element; null when the list is empty.
  POSITION GetHeadPosition() const { return PositionOf(head); }
  /// Position of the last element; null when the list is empty.
  POSITION GetTailPosition() const { return PositionOf(tail); }

  /// The element at `position`, which then moves to the following element
  /// (null after the tail). Typical walk:
  /// `for (POSITION p = l.GetHeadPosition(); p;) use(l.GetNext(p));`
  void*& GetNext(POSITION& position) { return Step(position, &CNode::next)->data; }
  /// As GetNext, for a list that is read only.
  void* GetNext(POSITION& position) const { return Step(position, &CNode::next)->data; }
  /// The element at `position`, which then moves to the preceding element
  /// (null before the head).
  void*& GetPrev(POSITION& position) { return Step(position, &CNode::prev)->data; }
  /// As GetPrev, for a list that is read only.
  void* GetPrev(POSITION& position) const { return Step(position, &CNode::prev)->data; }
  /// The element at `position`.
  void*& GetAt(POSITION position) { return NodeAt(position)->data; }
  void* GetAt(POSITION position) const { return NodeAt(position)->data; }  ///< read-only
  /// Replaces the element at `position`.
  void SetAt(POSITION position, void* value) { NodeAt(position)->data = value; }

  /// Adds `value` in front; returns its position.
  POSITION AddHead(void* value) { return PositionOf(Link(nullptr, head, value)); }
  /// Adds `value` at the end; returns its position.
  POSITION AddTail(void* value) { return PositionOf(Link(tail, nullptr, value)); }
  /// Adds a null element (resolves `AddHead(nullptr)` between the overloads).
  POSITION AddHead(std::nullptr_t) { return AddHead(static_cast<void*>(nullptr)); }
  /// Adds a null element (resolves `AddTail(nullptr)` between the overloads).
  POSITION AddTail(std::nullptr_t) { return AddTail(static_cast<void*>(nullptr)); }
  /// Adds the elements of `other` in front, in the order they have there;
  /// `other` may be this list (its elements as they were are added). On
  /// failure the elements added so far stay. O(other's count).
  void AddHead(const PtrListC* other);
  /// Adds the elements of `other` at the end, in their order; `other` may be
  /// this list. On failure the elements added so far stay. O(other's count).
  void AddTail(const PtrListC* other);

  /// Removes the first element and returns it; on an empty list returns null
  /// and changes nothing.
  void* RemoveHead() { return head != nullptr ? Unlink(head) : nullptr; }
  /// Removes the last element and returns it; on an empty list returns null
  /// and changes nothing.
  void* RemoveTail() { return tail != nullptr ? Unlink(tail) : nullptr; }

  /// Adds `value` before `position` (null: at the head); returns its position.
  POSITION InsertBefore(POSITION position, void* value) {
    if (position == nullptr) return AddHead(value);
    CNode* at = NodeAt(position);
    return PositionOf(Link(at->prev, at, value));
  }
  /// Adds `value` after `position` (null: at the end); returns its position.
  POSITION InsertAfter(POSITION position, void* value) {
    if (position == nullptr) return AddTail(value);
    CNode* at = NodeAt(position);
    return PositionOf(Link(at, at->next, value));
  }
  /// Removes the element at `position`; its node is the next one reused.
  void RemoveAt(POSITION position) { Unlink(NodeAt(position)); }
  /// Removes every element and releases every block, invalidating all
  /// positions. The block size stays and the list can be used again.
  void RemoveAll();

  /// Position of the element with zero-based index `index`, or null when the
  /// index is negative or not below the count. O(index).
  POSITION FindIndex(int index) const;
  /// Position of the first element equal to `value` (pointer comparison) after
  /// `startAfter`, or from the head when `startAfter` is null; null when there
  /// is none. O(distance walked).
  POSITION Find(void* value, POSITION startAfter = nullptr) const;

  /// \name Standard library interop
  /// @{

  /// A bidirectional iterator over the stored pointers in list order, built on
  /// positions: it holds a position of its list (null for end()) and stays
  /// valid as long as that position does. `Value` is void* for iterator and
  /// void* const for const_iterator; an iterator converts to a const_iterator.
  template <class Value>
  class Iterator {
   public:
    using iterator_category = std::bidirectional_iterator_tag;  ///< bidirectional
    using value_type = void*;                                   ///< the stored pointer
    using difference_type = std::ptrdiff_t;                     ///< distance between two
    using pointer = Value*;                                     ///< address of an element
    using reference = Value&;                                   ///< an element

    /// A singular iterator, belonging to no list; only assignable.
    Iterator() noexcept = default;
    /// An iterator converts to the const_iterator of the same position.
    template <class Other,
              class = std::enable_if_t<std::is_const<Value>::value && !std::is_const<Other>::value>>
    Iterator(const Iterator<Other>& other) noexcept : list(other.list), at(other.at) {}

    /// The position of the current element, for InsertBefore, RemoveAt and the
    /// like; null at end().
    POSITION GetPosition() const noexcept { return at; }

    /// The current element; not at end().
    reference operator*() const { return list->NodeAt(at)->data; }
    /// Steps to the following element; past the tail to end().
    Iterator& operator++() {
      list->Step(at, &CNode::next);
      return *this;
    }
    /// Steps forward; returns the iterator as it was.
    Iterator operator++(int) {
      Iterator old = *this;
      ++*this;
      return old;
    }
    /// Stepping back from end() reaches the tail.
    Iterator& operator--() {
      at = at != nullptr ? PositionOf(list->NodeAt(at)->prev) : list->GetTailPosition();
      assert(at != nullptr && "stepping back from the first element");
      return *this;
    }
    /// Steps back; returns the iterator as it was.
    Iterator operator--(int) {
      Iterator old = *this;
      --*this;
      return old;
    }
    /// Same position (iterators of one list).
    friend bool operator==(const Iterator& a, const Iterator& b) noexcept { return a.at == b.at; }
    /// Different positions (iterators of one list).
    friend bool operator!=(const Iterator& a, const Iterator& b) noexcept { return a.at != b.at; }

   private:
    friend class PtrListC;
    template <class>
    friend class Iterator;
    Iterator(const PtrListC* owner, POSITION position) noexcept : list(owner), at(position) {}

    const PtrListC* list = nullptr;  ///< the list walked; its nodes are reached through it
    POSITION at = nullptr;           ///< the current node; null at end()
  };
  using iterator = Iterator<void*>;              ///< writes the stored pointers
  using const_iterator = Iterator<void* const>;  ///< reads them

  /// The head, or end() for an empty list.
  iterator begin() noexcept { return iterator(this, GetHeadPosition()); }
  /// Past the tail: a null position.
  iterator end() noexcept { return iterator(this, nullptr); }
  /// The head, or end() for an empty list.
  const_iterator begin() const noexcept { return const_iterator(this, GetHeadPosition()); }
  /// Past the tail: a null position.
  const_iterator end() const noexcept { return const_iterator(this, nullptr); }
  /// @}

 protected:
  /// Takes a spare node (allocating a block when there is none), links it to
  /// `prev` and `next`, clears its data and counts it. The caller links the
  /// neighbours to it. Throws std::bad_alloc with the list unchanged.
  CNode* NewNode(CNode* prev, CNode* next) {
    if (freeList == nullptr) GrowFreeList();
    CNode* node = freeList;
    freeList = node->next;
    node->prev = prev;
    node->next = next;
    node->data = nullptr;
    ++count;
    return node;
  }
  /// Puts an unlinked node on top of the free list and uncounts it.
  void FreeNode(CNode* node) {
    node->next = freeList;
    freeList = node;
    --count;
  }

  CNode* head;      ///< first node; null when empty
  CNode* tail;      ///< last node; null when empty
  int count;        ///< number of nodes in the list
  CNode* freeList;  ///< spare nodes, linked through `next`; the top is reused first
  PlexC* blocks;    ///< chain of every block holding this list's nodes; null when none
  int blockSize;    ///< nodes per block, >= 1

 private:
  static POSITION PositionOf(CNode* node) { return reinterpret_cast<POSITION>(node); }

  /// The node at `position`. Debug builds assert that it is a linked node whose
  /// neighbours point back at it (and, at an end, that it is this list's end).
  CNode* NodeAt(POSITION position) const {
    CNode* node = reinterpret_cast<CNode*>(position);
    assert(node != nullptr && "null position");
    assert((node->prev != nullptr ? node->prev->next == node : head == node) &&
           "position is not a node of this list");
    assert((node->next != nullptr ? node->next->prev == node : tail == node) &&
           "position is not a node of this list");
    return node;
  }
  /// The node at `position`; moves `position` along `link` (next or prev).
  CNode* Step(POSITION& position, CNode* CNode::*link) const {
    CNode* node = NodeAt(position);
    position = PositionOf(node->*link);
    return node;
  }
  /// Inserts a node holding `value` between the adjacent nodes `prev` and
  /// `next` (null: the list's end) and returns it.
  CNode* Link(CNode* prev, CNode* next, void* value) {
    CNode* node = NewNode(prev, next);
    node->data = value;
    (prev != nullptr ? prev->next : head) = node;
    (next != nullptr ? next->prev : tail) = node;
    return node;
  }
  /// Unlinks `node`, returns it to the free list and returns its element.
  void* Unlink(CNode* node) {
    (node->prev != nullptr ? node->prev->next : head) = node->next;
    (node->next != nullptr ? node->next->prev : tail) = node->prev;
    void* value = node->data;
    FreeNode(node);
    return value;
  }
  /// Allocates one block and puts its nodes on the (empty) free list so that
  /// they come out in ascending address order. Throws std::bad_alloc when the
  /// block cannot be allocated or the count could exceed INT_MAX.
  void GrowFreeList();
  /// Exchanges the nodes and blocks (not the block sizes) of two lists.
  void SwapNodes(PtrListC& other) noexcept;
};

/// \cond
// The list record and its nodes are part of the binary interface: four
// pointers and two ints, each int padded to a pointer on 64-bit targets.
template <>
struct quarn::detail::RecordLayout<PtrListC> {
  static_assert(offsetof(PtrListC::CNode, next) == 0 &&
                    offsetof(PtrListC::CNode, prev) == sizeof(void*) &&
                    offsetof(PtrListC::CNode, data) == 2 * sizeof(void*) &&
                    sizeof(PtrListC::CNode) == 3 * sizeof(void*),
                "CNode is next, prev, data with no padding");
  static_assert(offsetof(PtrListC, head) == 0 && offsetof(PtrListC, tail) == sizeof(void*) &&
                    offsetof(PtrListC, count) == 2 * sizeof(void*) &&
                    offsetof(PtrListC, freeList) == 3 * sizeof(void*) &&
                    offsetof(PtrListC, blocks) == 4 * sizeof(void*) &&
                    offsetof(PtrListC, blockSize) == 5 * sizeof(void*) &&
                    sizeof(PtrListC) == 6 * sizeof(void*),
                "PtrListC is head, tail, count, freeList, blocks, blockSize");
};
/// \endcond

#endif  // QUARNBASE_PTRLISTC_H
