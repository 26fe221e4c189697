// PlexC block chains and PtrListC: node recycling, edits, walks, copies and
// the states left behind by failed allocations.
#include <quarnbase/PtrListC.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "AllocHarness.h"

using quarn::test::FailureScope;
using quarn::test::LeakCounter;

namespace {

// The tests count and fail the library's block allocations.
class PtrList : public testing::Test {};
using Ints = std::vector<int>;

char cells[16];
void* E(int i) { return &cells[i]; }

// The elements as cell indices (-1 for null), after checking that the
// backward walk mirrors the forward one and that the count agrees.
Ints Items(const PtrListC& list) {
  Ints forward, backward;
  auto index = [](void* v) { return v ? static_cast<int>(static_cast<char*>(v) - cells) : -1; };
  for (POSITION p = list.GetHeadPosition(); p;) forward.push_back(index(list.GetNext(p)));
  for (POSITION p = list.GetTailPosition(); p;)
    backward.insert(backward.begin(), index(list.GetPrev(p)));
  EXPECT_EQ(forward, backward);
  EXPECT_EQ(list.GetCount(), static_cast<int>(forward.size()));
  return forward;
}

PtrListC Make(std::initializer_list<int> items, int blockSize = 10) {
  PtrListC list(blockSize);
  for (int i : items) list.AddTail(E(i));
  return list;
}

TEST_F(PtrList, PlexChainGrowsAtTheHeadAndIsReleasedWhole) {
  LeakCounter live;
  PlexC* head = nullptr;
  PlexC::FreeDataChain(head);  // an empty chain releases nothing
  EXPECT_THROW(PlexC::Create(head, UINT_MAX, UINT_MAX), std::bad_alloc);  // the size overflows
  // Large blocks are requested at their exact size, or refused where they cannot exist.
  using quarn::test::FailedRequestOf;
  using quarn::test::RequestFor;
  EXPECT_EQ(FailedRequestOf([&] { PlexC::Create(head, 0x10000000u, 16); }),
            RequestFor(0x100000000ull + sizeof(PlexC)));
  EXPECT_EQ(FailedRequestOf([] {
              PtrListC list(INT_MAX);
              list.AddTail(nullptr);
            }),
            RequestFor(0x7FFFFFFFull * sizeof(PtrListC::CNode) + sizeof(PlexC)));
  PlexC* first = PlexC::Create(head, 4, 8);
  EXPECT_TRUE(head == first && !first->next && first->capacity == 4 && first->reserved == 0);
  EXPECT_EQ(first->data(), reinterpret_cast<char*>(first) + sizeof(PlexC));
  std::memset(first->data(), 0xAB, 4 * 8);  // the whole area is usable
  {
    FailureScope fail(1);
    EXPECT_THROW(PlexC::Create(head, 1, 1), std::bad_alloc);
  }
  PlexC* second = PlexC::Create(head, 0, 8);
  EXPECT_TRUE(head == second && second->next == first);
  EXPECT_EQ(live.LiveBlocks(), 2);
  head->FreeDataChain();
  EXPECT_EQ(live.LiveBlocks(), 0);
}

TEST_F(PtrList, NodesComeInAscendingOrderFromBlocksKeptUntilRemoveAll) {
  LeakCounter live;
  PtrListC list;  // 10 nodes per block
  const PtrListC& view = list;
  EXPECT_TRUE(list.IsEmpty() && !list.GetHeadPosition() && !list.GetTailPosition() &&
              !view.GetHead() && !view.GetTail());
#ifndef QUARNBASE_HARDENED  // which stops the process there
  EXPECT_TRUE(!list.RemoveHead() && !list.RemoveTail());
#endif
  EXPECT_EQ(live.Allocations(), 0);
  char* nodes[10];
  for (int i = 0; i < 10; ++i) nodes[i] = reinterpret_cast<char*>(list.AddTail(E(i)));
  EXPECT_EQ(live.Allocations(), 1);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(nodes[i] - nodes[i - 1], sizeof(PtrListC::CNode));
  list.AddTail(E(10));
  while (list.IsEmpty() == 0) list.RemoveHead();
  for (int i = 0; i < 20; ++i) list.AddHead(E(0));
  EXPECT_EQ(live.Allocations(), 2);  // an emptied list keeps and reuses its blocks
  list.RemoveAll();
  EXPECT_EQ(live.LiveBlocks(), 0);
  list.AddTail(E(1));         // usable again
  for (int size : {0, -4}) {  // one node per block
    PtrListC tiny(size);
    tiny.AddTail(E(0));
    tiny.AddTail(E(1));
  }
  EXPECT_EQ(live.Allocations(), 7);
}

TEST_F(PtrList, RemovedNodesAreReusedLastReturnedFirst) {
  PtrListC list = Make({0, 1, 2, 3});
  POSITION second = list.FindIndex(1), third = list.FindIndex(2);
  list.RemoveAt(second);
  list.RemoveAt(third);
  EXPECT_EQ(list.AddHead(E(4)), third);
  EXPECT_EQ(list.InsertAfter(list.GetHeadPosition(), E(5)), second);
  EXPECT_EQ(Items(list), (Ints{4, 5, 0, 3}));
}

TEST_F(PtrList, EditsAndSearchesKeepTheLinks) {
  PtrListC list;
  POSITION two = list.InsertAfter(nullptr, E(2));  // on an empty list: AddTail
  list.InsertBefore(nullptr, E(0));                // AddHead
  POSITION one = list.InsertBefore(two, E(1));
  list.InsertAfter(two, E(0));
  list.AddTail(nullptr);  // a null element is stored and found like any other
  EXPECT_EQ(Items(list), (Ints{0, 1, 2, 0, -1}));
  POSITION tail = list.GetTailPosition();
  EXPECT_TRUE(list.Find(nullptr) == tail && list.FindIndex(4) == tail);
  EXPECT_EQ(list.Find(E(0), list.Find(E(0))), list.FindIndex(3));
  EXPECT_TRUE(!list.Find(E(0), tail) && !list.Find(E(9)) && !list.FindIndex(5) &&
              !list.FindIndex(-1));
  list.GetAt(one) = E(3);  // references write through
  list.SetAt(two, E(4));
  EXPECT_EQ(Items(list), (Ints{0, 3, 4, 0, -1}));
  list.RemoveAt(one);
  EXPECT_EQ(list.RemoveHead(), E(0));
  EXPECT_EQ(list.RemoveTail(), nullptr);
  list.RemoveAt(list.GetTailPosition());
  EXPECT_EQ(Items(list), Ints{4});
  EXPECT_EQ(list.RemoveHead(), E(4));
  EXPECT_TRUE(!list.GetHeadPosition() && !list.GetTailPosition());
}

TEST_F(PtrList, AddingWholeListsKeepsTheirOrder) {
  PtrListC ab = Make({1, 2}), empty, front = Make({0}), back = Make({0});
  front.AddHead(&ab);
  back.AddTail(&ab);
  front.AddHead(&empty);
  front.AddTail(&empty);
  EXPECT_EQ(Items(front), (Ints{1, 2, 0}));
  EXPECT_EQ(Items(back), (Ints{0, 1, 2}));
  ab.AddHead(&ab);  // a list added to itself adds its elements as they were
  EXPECT_EQ(Items(ab), (Ints{1, 2, 1, 2}));
  ab.AddTail(&ab);
  EXPECT_EQ(Items(ab), (Ints{1, 2, 1, 2, 1, 2, 1, 2}));
}

TEST_F(PtrList, CopiesBuildTheirOwnNodesAndMovesTakeThem) {
  LeakCounter live;
  PtrListC source = Make({1, 2, 3}, 2), target = Make({4}, 3);
  PtrListC copy(source);
  EXPECT_EQ(live.LiveBlocks(), 5);  // the copy has a block size of 2, too
  EXPECT_NE(copy.GetHeadPosition(), source.GetHeadPosition());
  copy.RemoveHead();
  EXPECT_EQ(Items(source), (Ints{1, 2, 3}));
  PtrListC& alias = target;
  POSITION kept = target.GetHeadPosition();
  target = alias;
  EXPECT_EQ(target.GetHeadPosition(), kept);
  target = source;  // one new block of 3; the old one is released
  EXPECT_EQ(Items(target), (Ints{1, 2, 3}));
  EXPECT_EQ(live.LiveBlocks(), 5);
  kept = target.GetHeadPosition();
  copy = std::move(target);
  PtrListC moved(std::move(copy));
  EXPECT_TRUE(moved.GetHeadPosition() == kept && target.IsEmpty() && copy.IsEmpty());
  EXPECT_EQ(live.LiveBlocks(), 3);
}

TEST_F(PtrList, FailedBlockAllocationsLeaveConsistentLists) {
  PtrListC list = Make({0, 1}, 2), other = Make({5, 6, 7});
  POSITION head = list.GetHeadPosition();
  {
    FailureScope fail(1, true);
    EXPECT_THROW(list.AddTail(E(2)), std::bad_alloc);
    EXPECT_THROW(list.InsertBefore(head, E(2)), std::bad_alloc);
  }
  {
    FailureScope fail(2);  // the copy of `other` gets its first block only
    EXPECT_THROW(list = other, std::bad_alloc);
  }
  EXPECT_EQ(Items(list), (Ints{0, 1}));
  EXPECT_EQ(list.GetHeadPosition(), head);
  {
    FailureScope fail(2);  // the first new block receives 7 and 6
    EXPECT_THROW(list.AddHead(&other), std::bad_alloc);
  }
  {
    FailureScope fail(2);
    EXPECT_THROW(PtrListC copy(list), std::bad_alloc);  // releases its first block
  }
  EXPECT_EQ(Items(list), (Ints{6, 7, 0, 1}));
}

TEST_F(PtrList, IteratorsWalkThePositionsBothWays) {
  using Ptrs = std::vector<void*>;
  static_assert(std::is_same_v<std::iterator_traits<PtrListC::const_iterator>::iterator_category,
                               std::bidirectional_iterator_tag>);
  PtrListC list = Make({0, 1, 2});
  const PtrListC& c = list;
  EXPECT_EQ(Ptrs(c.begin(), c.end()), (Ptrs{E(0), E(1), E(2)}));
  EXPECT_EQ(Ptrs(std::make_reverse_iterator(c.end()), std::make_reverse_iterator(c.begin())),
            (Ptrs{E(2), E(1), E(0)}));
  const PtrListC::iterator one = std::find(list.begin(), list.end(), E(1));
  EXPECT_EQ(one.GetPosition(), list.FindIndex(1));
  *one = E(3);  // writes through
  EXPECT_EQ(Items(list), (Ints{0, 3, 2}));
  const PtrListC::const_iterator same = one;
  EXPECT_TRUE(same == one && std::next(same) != one && std::distance(c.begin(), c.end()) == 3);
  PtrListC empty;
  EXPECT_TRUE(empty.begin() == empty.end() && !empty.end().GetPosition());
}

// Only about INT_MAX nodes reach the limit, so the count is preset.
struct NearlyFullList : PtrListC {
  NearlyFullList() { count = INT_MAX - 5; }
};

TEST_F(PtrList, CountCannotOverflow) {
  NearlyFullList list;
  EXPECT_THROW(list.AddTail(E(0)), std::bad_alloc);
  EXPECT_EQ(list.GetCount(), INT_MAX - 5);
}

#if !defined(NDEBUG) || defined(QUARNBASE_HARDENED)
TEST(PtrListDeathTest, DebugAndHardenedBuildsStopAtBadPositionsAndEmptyAccess) {
  PtrListC list = Make({0}), other = Make({1}), empty;
  EXPECT_DEATH(list.GetAt(other.GetHeadPosition()), "not a node of this list");
  EXPECT_DEATH(list.RemoveAt(nullptr), "null position");
  EXPECT_DEATH(empty.GetHead(), "empty list");
  EXPECT_DEATH(--empty.end(), "stepping back from the first element");
  EXPECT_DEATH(--list.begin(), "stepping back from the first element");
#if defined(QUARNBASE_HARDENED)
  EXPECT_DEATH(empty.RemoveHead(), "PtrListC::RemoveHead: empty list");
  EXPECT_DEATH(empty.RemoveTail(), "PtrListC::RemoveTail: empty list");
#endif
}
#endif

}  // namespace
