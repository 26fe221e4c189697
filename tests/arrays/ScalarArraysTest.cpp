// Scalar arrays: every case runs for DblArrayC, PtrArrayC and UIntArrayC.

// A client may name the arrays before it sees their definitions.
class DblArrayC;
class PtrArrayC;
class UIntArrayC;

#include <quarnbase/ScalarArrays.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "AllocHarness.h"
#include "ObjectLayout.h"

namespace {

// Test value i of an element type: 0 is the zero value, other i are distinct and nonzero.
double Value(DblArrayC*, int i) { return i * 1.5; }
void* Value(PtrArrayC*, int i) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(i) * 16);
}
unsigned int Value(UIntArrayC*, int i) { return static_cast<unsigned int>(i) * 0x10001u; }

template <class A>
using ValueOf = decltype(Value(static_cast<A*>(nullptr), 0));

template <class A>
ValueOf<A> V(int i) {
  return Value(static_cast<A*>(nullptr), i);
}

template <class A>
std::vector<ValueOf<A>> Vals(std::initializer_list<int> list) {
  std::vector<ValueOf<A>> values;
  for (int i : list) values.push_back(V<A>(i));
  return values;
}

template <class A>
std::vector<ValueOf<A>> Values(const A& a) {
  std::vector<ValueOf<A>> values;
  for (int i = 0; i < a.GetSize(); ++i) values.push_back(a.GetAt(i));
  return values;
}

// An array filled by Add, so with an exact block.
template <class A>
A Make(std::initializer_list<int> list) {
  A a;
  for (int i : list) a.Add(V<A>(i));
  return a;
}

// The four fields, after checking the invariants that tie them together.
template <class A>
auto Peek(const A& a) {
  const auto f = quarn::test::FieldsOf(a);
  EXPECT_EQ(f.data == nullptr, f.maxSize == 0) << "data is null exactly without slots";
  EXPECT_TRUE(0 <= f.elementCount && f.elementCount <= f.maxSize);
  return f;
}

// Everything observable: elements, block, capacity and growth increment.
template <class A>
auto State(const A& a) {
  const auto f = Peek(a);
  return std::make_tuple(Values(a), static_cast<const void*>(f.data), f.maxSize, f.growBy);
}

using ArrayTypes = testing::Types<DblArrayC, PtrArrayC, UIntArrayC>;
struct ArrayName {
  template <class A>
  static std::string GetName(int) {
    return std::is_same_v<A, DblArrayC> ? "Dbl" : std::is_same_v<A, PtrArrayC> ? "Ptr" : "UInt";
  }
};
template <class A>
class ScalarArray : public testing::Test {};
TYPED_TEST_SUITE(ScalarArray, ArrayTypes, ArrayName);

}  // namespace

TYPED_TEST(ScalarArray, SetSizeGrowsExactlyOrByGrowByAndZeroesNewSlots) {
  using A = TypeParam;
  A a;
  EXPECT_EQ(a.GetUpperBound(), -1);
  EXPECT_EQ(Peek(a).data, nullptr);
  a.SetSize(3);
  EXPECT_EQ(Values(a), Vals<A>({0, 0, 0}));
  a.SetSize(5);
  EXPECT_EQ(Peek(a).maxSize, 5);

  A b;
  b.SetSize(4, 10);
  EXPECT_EQ(Peek(b).maxSize, 4);  // a first block is exact
  b.SetSize(5);
  EXPECT_EQ(Peek(b).maxSize, 14);
  b.SetSize(30);
  EXPECT_EQ(Peek(b).maxSize, 30);
  b.SetSize(31, -5);  // a negative increment acts like 0
  EXPECT_EQ(Peek(b).maxSize, 31);
  b.SetSize(31, 0);
  b.SetSize(31);
  EXPECT_EQ(Peek(b).growBy, 0);
}

TYPED_TEST(ScalarArray, ShrinkingKeepsTheBlockAndSizeZeroReleasesIt) {
  using A = TypeParam;
  A a = Make<A>({1, 2, 3, 4});
  const auto* block = Peek(a).data;
  a.SetSize(1);
  a.SetSize(3);  // slots coming back into use read zero again
  EXPECT_EQ(Values(a), Vals<A>({1, 0, 0}));
  EXPECT_EQ(Peek(a).data, block);
  a.SetSize(0, 7);
  EXPECT_EQ(Peek(a).data, nullptr);
  EXPECT_EQ(Peek(a).growBy, 7);
}

TYPED_TEST(ScalarArray, AddAndSetAtGrowAppendAndPad) {
  using A = TypeParam;
  A a;
  a.SetSize(0, 4);
  EXPECT_EQ(a.Add(V<A>(1)), 0);
  EXPECT_EQ(Peek(a).maxSize, 1);  // growth from no block is exact
  EXPECT_EQ(a.Add(V<A>(2)), 1);
  EXPECT_EQ(Peek(a).maxSize, 5);
  quarn::test::LeakCounter counter;
  EXPECT_EQ(a.Add(V<A>(3)), 2);
  EXPECT_EQ(counter.Allocations(), 0) << "a spare slot takes an Add without a new block";

  A b;
  b.SetAtGrow(5, V<A>(9));
  b.SetAtGrow(1, V<A>(4));
  b[2] = V<A>(5);
  EXPECT_EQ(Values(b), Vals<A>({0, 4, 5, 0, 0, 9}));
}

TYPED_TEST(ScalarArray, InsertAtValueOpensAGapOrPads) {
  using A = TypeParam;
  A a = Make<A>({1, 2, 3, 4});
  a.InsertAt(2, V<A>(9), 3);
  EXPECT_EQ(Values(a), Vals<A>({1, 2, 9, 9, 9, 3, 4}));
  A b = Make<A>({1, 2});
  b.InsertAt(6, V<A>(9));
  EXPECT_EQ(Values(b), Vals<A>({1, 2, 0, 0, 0, 0, 9}));

  A c = Make<A>({1, 2});
  c.InsertAt(1, V<A>(9), 0);
  c.InsertAt(2, V<A>(9), 0);
  EXPECT_EQ(Values(c), Vals<A>({1, 2}));
  c.InsertAt(4, V<A>(9), 0);
  EXPECT_EQ(Values(c), Vals<A>({1, 2, 0, 0}));
  c.RemoveAt(0, 4);
  c.InsertAt(0, V<A>(9), 0);  // at the end of an empty array with a block: releases it
  EXPECT_EQ(Peek(c).data, nullptr);
}

TYPED_TEST(ScalarArray, RemoveAtShiftsDownClampsAndKeepsTheBlock) {
  using A = TypeParam;
  A a = Make<A>({1, 2, 3, 4, 5});
  a.RemoveAt(1, 2);
  EXPECT_EQ(Values(a), Vals<A>({1, 4, 5}));
  a.RemoveAt(1, 100);
  a.RemoveAt(1, 1);
  EXPECT_EQ(Values(a), Vals<A>({1}));
  EXPECT_EQ(Peek(a).maxSize, 5);
}

TYPED_TEST(ScalarArray, InsertAtArrayCopiesTheOtherOrItselfAsItWas) {
  using A = TypeParam;
  A a = Make<A>({1, 2});
  const A other = Make<A>({7, 8}), empty;
  a.InsertAt(1, &other);
  a.InsertAt(9, &empty);
  a.InsertAt(9, static_cast<const A*>(nullptr));
  EXPECT_EQ(Values(a), Vals<A>({1, 7, 8, 2}));

  const std::vector<ValueOf<A>> expected[] = {
      Vals<A>({1, 2, 3, 1, 2, 3}), Vals<A>({1, 1, 2, 3, 2, 3}), Vals<A>({1, 2, 1, 2, 3, 3}),
      Vals<A>({1, 2, 3, 1, 2, 3}), Vals<A>({1, 2, 3, 0, 1, 2, 3})};
  for (int start = 0; start <= 4; ++start) {
    A self = Make<A>({1, 2, 3});
    self.InsertAt(start, &self);
    EXPECT_EQ(Values(self), expected[start]) << "start " << start;
  }
}

TYPED_TEST(ScalarArray, FreeExtraAndRemoveAllReleaseButKeepGrowBy) {
  using A = TypeParam;
  A a = Make<A>({1, 2, 3});
  a.SetSize(2, 3);
  a.FreeExtra();
  EXPECT_EQ(Values(a), Vals<A>({1, 2}));
  EXPECT_EQ(Peek(a).maxSize, 2);
  a.RemoveAt(0, 2);
  a.FreeExtra();
  EXPECT_EQ(Peek(a).data, nullptr);
  a.SetSize(4);
  a.RemoveAll();
  EXPECT_EQ(State(a), std::make_tuple(Vals<A>({}), nullptr, 0, 3));
}

TYPED_TEST(ScalarArray, NegativeArgumentsChangeNothing) {
  using A = TypeParam;
  A a = Make<A>({1, 2, 3});
  const auto before = State(a);
  a.SetSize(-1, 5);
  a.SetAtGrow(-1, V<A>(9));
  a.InsertAt(-1, V<A>(9), 1);
  a.InsertAt(1, V<A>(9), -1);
  a.InsertAt(-1, &a);
  a.RemoveAt(-1, 1);
  a.RemoveAt(0, -1);
  EXPECT_EQ(State(a), before);
}

TYPED_TEST(ScalarArray, CountsAboveIntMaxThrowBeforeAnyChange) {
  using A = TypeParam;
  A a = Make<A>({1, 2});
  const auto before = State(a);
  EXPECT_THROW(a.SetAtGrow(INT_MAX, V<A>(9)), std::bad_alloc);
  EXPECT_THROW(a.InsertAt(INT_MAX, V<A>(9), 1), std::bad_alloc);
  EXPECT_THROW(a.InsertAt(1, V<A>(9), INT_MAX - 1), std::bad_alloc);
  EXPECT_THROW(a.InsertAt(INT_MAX - 1, &a), std::bad_alloc);
  EXPECT_EQ(State(a), before);
  // INT_MAX elements: the block is requested at its exact size, or refused
  // where it cannot exist.
  using quarn::test::FailedRequestOf;
  const long long block = quarn::test::RequestFor(0x7FFFFFFFull * sizeof(ValueOf<A>));
  EXPECT_EQ(FailedRequestOf([&] { a.SetSize(INT_MAX); }), block);
  EXPECT_EQ(FailedRequestOf([&] { a.SetAtGrow(INT_MAX - 1, V<A>(9)); }), block);
  EXPECT_EQ(FailedRequestOf([&] { a.InsertAt(1, V<A>(9), INT_MAX - 2); }), block);
  EXPECT_EQ(FailedRequestOf([] {
              A fresh;
              fresh.SetSize(0x40000000);
            }),
            quarn::test::RequestFor(0x40000000ull * sizeof(ValueOf<A>)));
  EXPECT_EQ(State(a), before);
}

TYPED_TEST(ScalarArray, FailedAllocationLeavesTheArrayUnchanged) {
  using A = TypeParam;
  const A source = Make<A>({5, 6, 7});
  void (*const ops[])(A&, const A&) = {
      [](A& a, const A&) { a.SetSize(9); },
      [](A& a, const A&) { a.Add(V<A>(9)); },
      [](A& a, const A&) { a.SetAtGrow(6, V<A>(9)); },
      [](A& a, const A&) { a.InsertAt(1, V<A>(9), 2); },
      [](A& a, const A&) { a.InsertAt(1, &a); },
      [](A& a, const A& other) { a = other; },
      [](A&, const A& other) { A copy(other); },
  };
  for (auto op : ops) {
    A a = Make<A>({1, 2, 3, 4});
    const auto before = State(a);
    {
      quarn::test::FailureScope fail(1);
      EXPECT_THROW(op(a, source), std::bad_alloc);
    }
    EXPECT_EQ(State(a), before);
  }

  A a = Make<A>({1, 2, 3});
  a.RemoveAt(2);
  const auto before = State(a);
  {
    quarn::test::FailureScope fail(1);
    EXPECT_THROW(a.FreeExtra(), std::bad_alloc);
  }
  EXPECT_EQ(State(a), before);
  quarn::test::FailureScope fail(1);
  EXPECT_THROW(a.SetSize(5, 9), std::bad_alloc);
  EXPECT_EQ(Values(a), Vals<A>({1, 2}));
  EXPECT_EQ(Peek(a).growBy, 9) << "SetSize stores the increment before it allocates";
}

TYPED_TEST(ScalarArray, BeginAndEndSpanTheElementsInUse) {
  using A = TypeParam;
  A a = Make<A>({1, 2, 3});
  a.SetSize(2);  // the block keeps its third slot
  for (auto& value : a) value = V<A>(4);
  const A& c = a;
  static_assert(std::is_same_v<decltype(c.begin()), const ValueOf<A>*>);
  EXPECT_EQ(std::vector<ValueOf<A>>(c.begin(), c.end()), Vals<A>({4, 4}));
  const A none;
  EXPECT_TRUE(none.begin() == nullptr && none.end() == nullptr);
}

TYPED_TEST(ScalarArray, CopiesGetExactBlocksAndTheTargetKeepsItsGrowBy) {
  using A = TypeParam;
  A source = Make<A>({1, 2, 3});
  source.SetSize(10, 5);
  source.SetSize(3);
  A copy(source);
  copy.SetAt(0, V<A>(9));
  EXPECT_EQ(source.GetAt(0), V<A>(1)) << "the copy owns its own block";
  EXPECT_EQ(State(copy), std::make_tuple(Vals<A>({9, 2, 3}), Peek(copy).data, 3, 0));

  A target;
  target.SetSize(7, 4);
  target = source;
  EXPECT_EQ(State(target), std::make_tuple(Vals<A>({1, 2, 3}), Peek(target).data, 3, 4));
  target = A();
  EXPECT_EQ(State(target), std::make_tuple(Vals<A>({}), nullptr, 0, 4));

  const auto before = State(source);
  A& alias = source;
  source = alias;
  EXPECT_EQ(State(source), before);
}

// Debug builds assert the index; hardened ones (release builds included)
// check it and stop with a message naming the class, operation and values.
#if !defined(NDEBUG) || defined(QUARNBASE_HARDENED)
namespace {

template <class A>
class ScalarArrayDeathTest : public testing::Test {};
TYPED_TEST_SUITE(ScalarArrayDeathTest, ArrayTypes, ArrayName);

}  // namespace

TYPED_TEST(ScalarArrayDeathTest, AccessorsStopAtABadIndexInDebugAndHardenedBuilds) {
  using A = TypeParam;
  A a = Make<A>({1, 2});
  const A& ca = a;
  EXPECT_DEATH((void)a.GetAt(2), "index out of range");
  EXPECT_DEATH(a.SetAt(-1, V<A>(1)), "index out of range");
  EXPECT_DEATH((void)a.ElementAt(2), "index out of range");
  EXPECT_DEATH((void)ca[-1], "index out of range");
#if defined(QUARNBASE_HARDENED)
  EXPECT_DEATH(a.SetAt(5, V<A>(1)), "ArrayC::SetAt: index out of range: 5 \\(0-1 allowed\\)");
#endif
}
#endif
