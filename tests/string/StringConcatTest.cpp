// Tests of StringC concatenation: operator+= and the free operator+ forms.
#include <quarnbase/StringC.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "AllocHarness.h"

namespace {

using quarn::test::FailureScope;
using quarn::test::LeakCounter;

// The bytes in use, zero bytes included.
std::string Bytes(const StringC& s) { return std::string(static_cast<char*>(s), s.length()); }

bool IsEmptyState(const StringC& s) {
  return static_cast<char*>(s) == static_cast<char*>(StringC::emptyPrototype) && s.size() == 1;
}

// A string of `text` whose capacity is `capacity` characters.
StringC WithCapacity(const char* text, unsigned int capacity) {
  StringC s(text);
  s.GetBuffer(capacity);
  return s;
}

// Claims a length near the 32-bit limit over a small real buffer, to reach the
// length checks without allocating gigabytes. Only its first 16 bytes may be
// read: its C text "huge" and what follows.
class HugeString : public StringC {
 public:
  explicit HugeString(unsigned int length = 0xFFFFFFF0u) {
    buffer = static_cast<char*>(quarn::test::Allocate(16));  // the library releases it
    std::memcpy(buffer, "huge", 5);
    allocLength = dataLength = length;
  }
  // The protected AllocCopy, for `count` characters from the start.
  void CopyInto(StringC& target, unsigned int count, int extra) const {
    AllocCopy(target, count, 0, extra);
  }
};

// A HugeString described without reading past its real buffer.
std::string HugeState(const StringC& s) {
  return std::to_string(s.length()) + "|" + std::to_string(s.size()) + "|" + static_cast<char*>(s) +
         "|";
}

// What a failed append must leave exactly as it was.
std::string State(const StringC& s) {
  return Bytes(s) + "|" + std::to_string(s.size()) + "|" +
         std::to_string(reinterpret_cast<std::uintptr_t>(static_cast<char*>(s)));
}

TEST(StringAppend, GrowsIntoAnExactNewBuffer) {
  StringC s;
  LeakCounter counter;
  s += 'a';  // the first character costs exactly two bytes
  EXPECT_EQ(counter.LiveBytes(), 2);
  s += 'b';
  const char* old = s;
  s += "cd";
  EXPECT_NE(static_cast<char*>(s), old);
  EXPECT_EQ(s.size(), 5u);
  s += StringC("ef");
  EXPECT_EQ(Bytes(s), "abcdef");
  EXPECT_EQ(s.size(), 7u);
  EXPECT_EQ(counter.LiveBlocks(), 1);
}

TEST(StringAppend, UsesSpareCapacityWithoutAllocating) {
  StringC s = WithCapacity("ab", 10);
  const char* old = s;
  const StringC tail("fghij");
  LeakCounter counter;
  s += "cd";
  s += 'e';
  s += tail;
  EXPECT_EQ(counter.Allocations(), 0);
  EXPECT_EQ(Bytes(s), "abcdefghij");
  EXPECT_EQ(static_cast<char*>(s), old);
  EXPECT_EQ(s.size(), 11u);
}

TEST(StringAppend, NothingLeavesTheStringAsItWas) {
  StringC s = WithCapacity("abc", 8);
  StringC empty;
  const std::string before = State(s);
  LeakCounter counter;
  for (StringC* target : {&s, &empty}) {
    *target += static_cast<const char*>(nullptr);
    *target += "";
    *target += StringC();
  }
  empty += empty;
  EXPECT_EQ(counter.Allocations(), 0);
  EXPECT_EQ(State(s), before);
  EXPECT_TRUE(IsEmptyState(empty));
  EXPECT_EQ(*static_cast<char*>(StringC::emptyPrototype), '\0');
}

TEST(StringAppend, ToItselfThroughANewBufferAndInPlace) {
  for (const unsigned int capacity : {3u, 6u, 20u}) {  // 3: new buffer, else in place
    StringC s = WithCapacity("abc", capacity);
    const char* old = s;
    s += s;
    EXPECT_EQ(Bytes(s), "abcabc");
    EXPECT_EQ(s.size(), (capacity < 6 ? 6u : capacity) + 1);
    EXPECT_EQ(static_cast<char*>(s) == old, capacity >= 6);

    StringC t = WithCapacity("abc", capacity);
    t += static_cast<const char*>(t) + 1;  // a C text inside its own buffer
    EXPECT_EQ(Bytes(t), "abcbc");
  }
  StringC z("a\0", 2);
  z += z;
  EXPECT_EQ(Bytes(z), std::string("a\0a\0", 4));
}

TEST(StringAppend, FailedGrowthLeavesTheStringUnchanged) {
  void (*const appends[])(StringC&) = {
      [](StringC& s) { s += "de"; },
      [](StringC& s) { s += 'd'; },
      [](StringC& s) { s += s; },
      [](StringC& s) { s += static_cast<const char*>(s); },
  };
  for (const auto append : appends) {
    StringC s("abc");
    const std::string before = State(s);
    {
      FailureScope fail(1);
      EXPECT_THROW(append(s), std::bad_alloc);
    }
    EXPECT_EQ(State(s), before);
  }
}

// Each operation that adds or takes lengths, on `huge` (0xFFFFFFF0 characters)
// or `full` (0xFFFFFFFE, the largest length). A result beyond the largest
// length is refused before any allocation (request 0); one within it requests
// exactly its buffer, or nothing where no block that large can exist (32-bit
// targets). Every allocation fails, and no string changes.
TEST(StringConcat, LengthBeyond32BitsThrowsBeforeAnyChange) {
  using quarn::test::FailedRequestOf;
  using quarn::test::RequestFor;
  struct Strings {
    HugeString huge;
    HugeString full{0xFFFFFFFEu};
    StringC x{"x"};
  };
  struct Row {
    const char* name;
    void (*operation)(Strings& s);
    long long request;
  };
  const Row rows[] = {
      {"+= text one past the limit", [](Strings& s) { s.huge += "0123456789abcde"; }, 0},
      {"+= text wrapping 32 bits", [](Strings& s) { s.huge += "0123456789abcdefghij"; }, 0},
      {"+= text up to the limit", [](Strings& s) { s.huge += "0123456789abcd"; },
       RequestFor(0xFFFFFFFFu)},
      {"+= char", [](Strings& s) { s.full += 'x'; }, 0},
      {"+= string", [](Strings& s) { s.full += s.x; }, 0},
      {"+= itself", [](Strings& s) { s.huge += s.huge; }, 0},
      {"+= its own text", [](Strings& s) { s.huge += static_cast<const char*>(s.huge); },
       RequestFor(0xFFFFFFF5u)},
      {"string + string", [](Strings& s) { StringC r = s.huge + s.huge; }, 0},
      {"string + text", [](Strings& s) { StringC r = s.full + "ab"; }, 0},
      {"text + string", [](Strings& s) { StringC r = "0123456789abcdefghij" + s.huge; }, 0},
      {"string + char", [](Strings& s) { StringC r = s.full + 'x'; }, 0},
      {"char + string", [](Strings& s) { StringC r = 'x' + s.full; }, 0},
      {"string + text within", [](Strings& s) { StringC r = s.huge + "ab"; },
       RequestFor(0xFFFFFFF3u)},
      {"char + string within", [](Strings& s) { StringC r = 'x' + s.huge; },
       RequestFor(0xFFFFFFF2u)},
      {"copy", [](Strings& s) { StringC r(s.huge); }, RequestFor(0xFFFFFFF1u)},
      {"mid keeps the capacity", [](Strings& s) { StringC r = s.huge.mid(1, 2); },
       RequestFor(0xFFFFFFF1u)},
      {"GetBuffer past the limit", [](Strings& s) { s.huge.GetBuffer(0xFFFFFFFFu); }, 0},
      {"GetBufferSetLength past the limit",
       [](Strings& s) { s.huge.GetBufferSetLength(0xFFFFFFFFu); }, 0},
      {"GetBuffer of the largest length", [](Strings& s) { s.huge.GetBuffer(0xFFFFFFFEu); },
       RequestFor(0xFFFFFFFFu)},
      {"printf hint", [](Strings&) { StringC r(0xFFFFFFFFu, "%s", "abc"); },
       RequestFor(0xFFFFFFFFu)},
      {"AllocCopy count + extra wrapping 32 bits",
       [](Strings& s) {
         StringC r;
         s.huge.CopyInto(r, 0xFFFFFFF0u, 0x7FFFFFFF);
       },
       0},
      {"AllocCopy count + extra within",
       [](Strings& s) {
         StringC r;
         s.huge.CopyInto(r, 4, 0x7FFFFFFF);
       },
       RequestFor(0x80000004u)},
  };
  Strings s;
  const std::string before = HugeState(s.huge) + HugeState(s.full) + Bytes(s.x);
  for (const Row& row : rows) {
    EXPECT_EQ(FailedRequestOf([&] { row.operation(s); }), row.request) << row.name;
    EXPECT_EQ(HugeState(s.huge) + HugeState(s.full) + Bytes(s.x), before) << row.name;
  }

  // Bounds near the limit take nothing, or only what lies in the real buffer.
  const HugeString& huge = s.huge;
  const StringC nothing[] = {huge.Mid(0xFFFFFFF0u, 5), huge.Mid(0xFFFFFFFFu, 0xFFFFFFFFu),
                             huge.Right(0), huge.Left(0), huge.mid(0xFFFFFFF0u, -1)};
  for (const StringC& r : nothing) EXPECT_TRUE(IsEmptyState(r));
  EXPECT_EQ(Bytes(huge.Left(4)), "huge");
  EXPECT_EQ(Bytes(huge.Mid(2, 2)), "ge");
  // A negative extra adds nothing: the copy still gets room for its count.
  StringC copy;
  huge.CopyInto(copy, 4, -2);
  EXPECT_EQ(Bytes(copy), "huge");
  EXPECT_EQ(copy.size(), 5u);
}

TEST(StringPlus, EachFormAllocatesOnceAndExactly) {
  const StringC bc = WithCapacity("bc", 30);
  LeakCounter counter;
  const StringC results[] = {'a' + bc,  bc + 'd', "xy" + bc,
                             bc + "de", bc + bc,  static_cast<const char*>(nullptr) + bc};
  EXPECT_EQ(counter.Allocations(), 6);
  const char* const expected[] = {"abc", "bcd", "xybc", "bcde", "bcbc", "bc"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(Bytes(results[i]), expected[i]);
    EXPECT_EQ(results[i].size(), results[i].length() + 1);
  }
  EXPECT_EQ(Bytes(bc), "bc");
  EXPECT_EQ(bc.size(), 31u);
}

TEST(StringPlus, EmptyOperandsGiveTheEmptyStateWithoutAllocating) {
  const StringC empty = WithCapacity("", 10);
  LeakCounter counter;
  const StringC results[] = {StringC() + empty, empty + "",
                             empty + static_cast<const char*>(nullptr), "" + empty};
  EXPECT_EQ(counter.Allocations(), 0);
  for (const StringC& r : results) EXPECT_TRUE(IsEmptyState(r));
}

// A StringC or char operand carries zero bytes; a C text stops at its first one.
TEST(StringConcat, ZeroBytesTravelByLengthButEndACText) {
  const StringC zeroed("a\0b", 3);
  EXPECT_EQ(Bytes(zeroed + zeroed), std::string("a\0ba\0b", 6));
  EXPECT_EQ(Bytes(zeroed + "x\0y"), std::string("a\0bx", 4));
  EXPECT_EQ(Bytes("x\0y" + zeroed), std::string("xa\0b", 4));
  EXPECT_EQ(Bytes('\0' + zeroed + '\0'), std::string("\0a\0b\0", 5));
  for (const unsigned int capacity : {1u, 20u}) {
    StringC s = WithCapacity("x", capacity);
    s += zeroed;
    s += static_cast<const char*>(zeroed);
    s += '\0';
    EXPECT_EQ(Bytes(s), std::string("xa\0ba\0", 6));
  }
}

TEST(StringPlus, FailedAllocationLeaksNothing) {
  const StringC ab("ab");
  LeakCounter counter;
  {
    FailureScope fail(1, true);
    EXPECT_THROW(static_cast<void>(ab + ab), std::bad_alloc);
    EXPECT_THROW(static_cast<void>(ab + "cd"), std::bad_alloc);
    EXPECT_THROW(static_cast<void>("cd" + ab), std::bad_alloc);
    EXPECT_THROW(static_cast<void>(ab + 'c'), std::bad_alloc);
    EXPECT_THROW(static_cast<void>('c' + ab), std::bad_alloc);
  }
  EXPECT_EQ(counter.LiveBlocks(), 0);
  EXPECT_EQ(Bytes(ab), "ab");
}

}  // namespace

TEST(StringAppend, AppendingNothingRestoresTheTerminator) {
  StringC s("abc");
  static_cast<char*>(s)[3] = 'X';  // a caller wrote over the terminator
  s += "";
  EXPECT_STREQ(static_cast<char*>(s), "abc");
  EXPECT_EQ(s.length(), 3u);
}
