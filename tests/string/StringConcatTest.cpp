// Tests of StringC concatenation: operator+= and the free operator+ forms.
#include <quarnbase/StringC.h>

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

#include "AllocHarness.h"

namespace {

using quarn::test::FailureScope;
using quarn::test::LeakCounter;

// The bytes in use, zero bytes included.
std::string Bytes(const StringC& s) { return std::string(static_cast<char*>(s), s.length()); }

const char* EmptyBuffer() { return static_cast<char*>(StringC::emptyPrototype); }

// A string of `text` with spare capacity: allocLength is `capacity`.
StringC WithCapacity(const char* text, unsigned int capacity) {
  StringC s(text);
  s.GetBuffer(capacity);
  return s;
}

// A string that claims a length near the 32-bit limit over a small real buffer,
// to reach the length-overflow checks without allocating gigabytes. Nothing may
// read its bytes.
class HugeString : public StringC {
 public:
  HugeString() {
    buffer = static_cast<char*>(::operator new(16));
    std::memcpy(buffer, "huge", 5);
    allocLength = dataLength = 0xFFFFFFF0u;
  }
  char* Buffer() const { return buffer; }
};

// Snapshot of the observable state that a failed append must not change.
struct State {
  explicit State(const StringC& s) : text(Bytes(s)), size(s.size()), buffer(s) {}
  bool operator==(const State& o) const {
    return text == o.text && size == o.size && buffer == o.buffer;
  }
  std::string text;
  unsigned int size;
  const char* buffer;
};

TEST(StringAppend, GrowsIntoAnExactNewBuffer) {
  StringC s("ab");
  const char* old = s;
  s += "cd";
  EXPECT_EQ(Bytes(s), "abcd");
  EXPECT_NE(static_cast<char*>(s), old);
  EXPECT_EQ(s.size(), 5u);
  s += 'e';
  EXPECT_EQ(Bytes(s), "abcde");
  EXPECT_EQ(s.size(), 6u);
  s += StringC("fg");
  EXPECT_EQ(Bytes(s), "abcdefg");
  EXPECT_EQ(s.size(), 8u);
}

TEST(StringAppend, UsesSpareCapacityWithoutAllocating) {
  StringC s = WithCapacity("ab", 10);
  const char* old = s;
  const StringC tail("fghij");
  LeakCounter counter;
  s += "cd";
  s += 'e';
  s += StringC::emptyPrototype;
  s += tail;
  EXPECT_EQ(counter.Allocations(), 0);
  EXPECT_EQ(Bytes(s), "abcdefghij");
  EXPECT_EQ(static_cast<char*>(s), old);
  EXPECT_EQ(s.size(), 11u);
  s += 'k';  // one past the capacity
  EXPECT_EQ(Bytes(s), "abcdefghijk");
  EXPECT_EQ(s.size(), 12u);
}

TEST(StringAppend, FirstCharacterOfAnEmptyStringAllocatesTwoBytes) {
  StringC s;
  LeakCounter counter;
  s += 'x';
  EXPECT_EQ(counter.Allocations(), 1);
  EXPECT_EQ(counter.LiveBytes(), 2);
  EXPECT_EQ(Bytes(s), "x");
  EXPECT_EQ(s.size(), 2u);
}

TEST(StringAppend, NothingLeavesTheStringAsItWas) {
  StringC s = WithCapacity("abc", 8);
  const char* old = s;
  s += static_cast<const char*>(nullptr);
  s += "";
  s += StringC();
  EXPECT_EQ(Bytes(s), "abc");
  EXPECT_EQ(s.size(), 9u);
  EXPECT_EQ(static_cast<char*>(s), old);

  StringC empty;
  LeakCounter counter;
  empty += static_cast<const char*>(nullptr);
  empty += "";
  empty += StringC();
  empty += empty;
  EXPECT_EQ(counter.Allocations(), 0);
  EXPECT_EQ(static_cast<char*>(empty), EmptyBuffer());
  EXPECT_EQ(empty.size(), 1u);
  EXPECT_EQ(*EmptyBuffer(), '\0');
}

TEST(StringAppend, ZeroBytesTravelByLengthButEndACText) {
  StringC s("ab");
  s += '\0';
  EXPECT_EQ(s.length(), 3u);
  s += "cd";
  EXPECT_EQ(Bytes(s), std::string("ab\0cd", 5));

  StringC byString("x");
  byString += s;
  EXPECT_EQ(Bytes(byString), std::string("xab\0cd", 6));

  StringC byText("x");
  byText += static_cast<const char*>(s);
  EXPECT_EQ(Bytes(byText), "xab");

  // In place, too.
  StringC inPlace = WithCapacity("x", 20);
  inPlace += s;
  inPlace += static_cast<const char*>(s);
  EXPECT_EQ(Bytes(inPlace), std::string("xab\0cdab", 8));
}

TEST(StringAppend, ToItselfThroughANewBuffer) {
  StringC s("abc");
  s += s;
  EXPECT_EQ(Bytes(s), "abcabc");
  EXPECT_EQ(s.size(), 7u);

  StringC t("abc");
  t += static_cast<const char*>(t) + 1;  // a C text inside its own buffer
  EXPECT_EQ(Bytes(t), "abcbc");
  EXPECT_EQ(t.size(), 6u);

  StringC z("a");
  z += '\0';
  z += z;  // zero bytes included
  EXPECT_EQ(Bytes(z), std::string("a\0a\0", 4));
}

TEST(StringAppend, ToItselfInPlace) {
  StringC s = WithCapacity("abc", 6);
  const char* old = s;
  s += s;
  EXPECT_EQ(Bytes(s), "abcabc");
  EXPECT_EQ(static_cast<char*>(s), old);

  StringC t = WithCapacity("abc", 10);
  old = t;
  t += static_cast<const char*>(t) + 1;
  EXPECT_EQ(Bytes(t), "abcbc");
  t += static_cast<const char*>(t);
  EXPECT_EQ(Bytes(t), "abcbcabcbc");
  EXPECT_EQ(static_cast<char*>(t), old);
  EXPECT_EQ(t.size(), 11u);
}

TEST(StringAppend, FailedGrowthLeavesTheStringUnchanged) {
  if (!quarn::test::ReachesLibrary()) GTEST_SKIP() << "allocations inside the library are not seen";
  void (*const appends[])(StringC&, const StringC&) = {
      [](StringC& s, const StringC&) { s += "de"; },
      [](StringC& s, const StringC&) { s += 'd'; },
      [](StringC& s, const StringC& other) { s += other; },
      [](StringC& s, const StringC&) { s += s; },
      [](StringC& s, const StringC&) { s += static_cast<const char*>(s); },
  };
  const StringC other("de");
  for (const auto append : appends) {
    StringC s("abc");
    const State before(s);
    {
      FailureScope fail(1);
      EXPECT_THROW(append(s, other), std::bad_alloc);
    }
    EXPECT_TRUE(State(s) == before);
    append(s, other);  // the string still works after the failure
    EXPECT_EQ(s.size(), s.length() + 1);
  }
}

TEST(StringAppend, LengthBeyond32BitsThrowsBeforeAnyChange) {
  HugeString huge;
  const char* buffer = huge.Buffer();
  LeakCounter counter;
  EXPECT_THROW(huge += "0123456789abcde", std::bad_alloc);       // one past the limit
  EXPECT_THROW(huge += "0123456789abcdefghij", std::bad_alloc);  // wraps 32 bits
  EXPECT_THROW(huge += huge, std::bad_alloc);
  EXPECT_EQ(counter.Allocations(), 0);
  EXPECT_EQ(huge.length(), 0xFFFFFFF0u);
  EXPECT_EQ(huge.Buffer(), buffer);
  EXPECT_STREQ(huge.Buffer(), "huge");

  EXPECT_THROW(huge + huge, std::bad_alloc);
  EXPECT_THROW(huge + "0123456789abcde", std::bad_alloc);
  EXPECT_THROW("0123456789abcdefghij" + huge, std::bad_alloc);
  EXPECT_EQ(counter.Allocations(), 0);
  EXPECT_EQ(counter.LiveBlocks(), 0);
}

TEST(StringPlus, EachFormConcatenatesInOperandOrder) {
  const StringC ab("ab");
  const StringC cd = WithCapacity("cd", 20);
  EXPECT_EQ(Bytes(ab + cd), "abcd");
  EXPECT_EQ(Bytes(ab + "xy"), "abxy");
  EXPECT_EQ(Bytes("xy" + ab), "xyab");
  EXPECT_EQ(Bytes(ab + 'z'), "abz");
  EXPECT_EQ(Bytes('z' + ab), "zab");
  EXPECT_EQ(Bytes(ab + static_cast<const char*>(nullptr)), "ab");
  EXPECT_EQ(Bytes(static_cast<const char*>(nullptr) + cd), "cd");
  EXPECT_EQ(Bytes(ab + ab), "abab");
  // Operands are left as they were.
  EXPECT_EQ(Bytes(ab), "ab");
  EXPECT_EQ(Bytes(cd), "cd");
  EXPECT_EQ(cd.size(), 21u);
}

TEST(StringPlus, AllocatesOnceAndExactly) {
  const StringC bc = WithCapacity("bc", 30);
  const auto check = [](const StringC& result, const char* text) {
    EXPECT_EQ(Bytes(result), text);
    EXPECT_EQ(result.size(), std::strlen(text) + 1);
  };
  {
    LeakCounter counter;
    const StringC r = 'a' + bc;
    EXPECT_EQ(counter.Allocations(), 1);
    check(r, "abc");
  }
  {
    LeakCounter counter;
    const StringC r = static_cast<const char*>(nullptr) + bc;
    EXPECT_EQ(counter.Allocations(), 1);
    check(r, "bc");
  }
  {
    LeakCounter counter;
    const StringC r = bc + bc;
    EXPECT_EQ(counter.Allocations(), 1);
    check(r, "bcbc");
  }
  {
    LeakCounter counter;
    const StringC r = bc + "de";
    const StringC q = "de" + bc;
    const StringC p = bc + 'd';
    EXPECT_EQ(counter.Allocations(), 3);
    check(r, "bcde");
    check(q, "debc");
    check(p, "bcd");
  }
}

TEST(StringPlus, EmptyOperandsGiveTheEmptyStateWithoutAllocating) {
  const StringC empty = WithCapacity("", 10);
  LeakCounter counter;
  const StringC results[] = {StringC() + StringC(), empty + "",
                             empty + static_cast<const char*>(nullptr), "" + empty,
                             static_cast<const char*>(nullptr) + StringC()};
  EXPECT_EQ(counter.Allocations(), 0);
  for (const StringC& r : results) {
    EXPECT_EQ(static_cast<char*>(r), EmptyBuffer());
    EXPECT_EQ(r.size(), 1u);
  }
}

TEST(StringPlus, ZeroBytesTravelByLengthButEndACText) {
  const StringC zeroed("a\0b", 3);
  EXPECT_EQ(Bytes(zeroed + zeroed), std::string("a\0ba\0b", 6));
  EXPECT_EQ(Bytes(zeroed + "x\0y"), std::string("a\0bx", 4));
  EXPECT_EQ(Bytes("x\0y" + zeroed), std::string("xa\0b", 4));
  EXPECT_EQ(Bytes(zeroed + '\0'), std::string("a\0b\0", 4));
  EXPECT_EQ(Bytes('\0' + zeroed), std::string("\0a\0b", 4));
  EXPECT_EQ(Bytes('\0' + StringC()), std::string(1, '\0'));
}

TEST(StringPlus, FailedAllocationLeaksNothingAndLeavesOperands) {
  if (!quarn::test::ReachesLibrary()) GTEST_SKIP() << "allocations inside the library are not seen";
  const StringC ab("ab");
  LeakCounter counter;
  {
    FailureScope fail(1, true);
    EXPECT_THROW(ab + ab, std::bad_alloc);
    EXPECT_THROW(ab + "cd", std::bad_alloc);
    EXPECT_THROW("cd" + ab, std::bad_alloc);
    EXPECT_THROW(ab + 'c', std::bad_alloc);
    EXPECT_THROW('c' + ab, std::bad_alloc);
    EXPECT_EQ(quarn::test::InjectedFailures(), 5);
  }
  EXPECT_EQ(counter.LiveBlocks(), 0);
  EXPECT_EQ(Bytes(ab), "ab");
}

}  // namespace
