// Tests of StringC comparison: Compare, the relational operators, CompareNoCase
// and Collate. The program runs in the C locale.
#include <quarnbase/StringC.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "AllocHarness.h"

namespace {

StringC Make(const std::string& bytes) {
  return StringC(bytes.data(), static_cast<int>(bytes.size()));
}

StrCompValE Exact(const std::string& a, const std::string& b) {
  return Make(a).Compare(Make(b), StrCompExact);
}

// Storage that holds no constructed text: its buffer is null.
class NullBufferString : public StringC {
 public:
  NullBufferString() { buffer = nullptr; }
};

TEST(StringCompare, OrdersSignedBytesWithTheShorterPrefixFirst) {
  EXPECT_EQ(Exact("", ""), StrCompEqual);
  EXPECT_EQ(Exact("abc", "abcd"), StrCompLess);
  EXPECT_EQ(Exact("abcd", "abc"), StrCompGreater);
  EXPECT_EQ(Exact("ac", "abc"), StrCompGreater);
  EXPECT_EQ(Exact("ABC", "abc"), StrCompLess);
  EXPECT_EQ(Exact("\xE9", "A"), StrCompLess);  // 0x80..0xFF sort before 0x00..0x7F
  EXPECT_EQ(Exact("\xFF", "\x80"), StrCompGreater);
  // Zero bytes compare like any other byte.
  EXPECT_EQ(Exact(std::string("ab\0", 3), "ab"), StrCompGreater);
  EXPECT_EQ(Exact(std::string("a\0c", 3), std::string("a\0b", 3)), StrCompGreater);
  EXPECT_EQ(Exact(std::string(1, '\0'), "\x80"), StrCompGreater);
  // Modes other than StrCompNoCase compare exactly.
  EXPECT_EQ(StringC("ABC").Compare("abc", static_cast<StrCompModE>(2)), StrCompLess);
}

// The first difference decides wherever it lies, also across the words and
// blocks of the fast scans (8, 16 and 32 bytes, rounds of 128, a last block
// overlapping the one before), and equal texts order by length.
TEST(StringCompare, FirstDifferenceAtAnyPosition) {
  for (std::size_t length = 0; length <= 300; length += length < 140 ? 1 : 53) {
    const std::string same(length, 'q');
    EXPECT_EQ(Exact(same, same), StrCompEqual) << length;
    EXPECT_EQ(Exact(same, same + "\x80"), StrCompLess) << length;
    EXPECT_EQ(Exact(same + "\x80", same), StrCompGreater) << length;
    for (std::size_t at = 0; at < length; ++at) {
      std::string low(length, 'q');
      std::string high = low;
      low[at] = '\x90';                        // negative as a signed byte
      high[at] = '\x10';                       // positive
      if (at + 1 < length) low[at + 1] = 'z';  // later bytes must not matter
      EXPECT_EQ(Exact(low, high), StrCompLess) << length << " " << at;
      EXPECT_EQ(Exact(high, low), StrCompGreater) << length << " " << at;
      EXPECT_EQ(Make(low).Compare(Make(high), StrCompNoCase), StrCompLess) << length << " " << at;
    }
  }
  const std::string prefix(1000, 'x');
  EXPECT_EQ(Exact(prefix + "a", prefix + "b"), StrCompLess);
  EXPECT_EQ(Exact(prefix + "b", prefix), StrCompGreater);
}

// Both sides are lowered; every byte, 0x80 to 0xFF included, reaches tolower
// safely, only A to Z change in the C locale, and the results order as signed.
TEST(StringCompare, NoCaseLowersBothSidesForEveryBytePair) {
  EXPECT_EQ(StringC("ABC").Compare("abc", StrCompNoCase), StrCompEqual);
  EXPECT_EQ(StringC("[").Compare("A", StrCompNoCase), StrCompLess);  // 0x5B before 'a'
  EXPECT_EQ(StringC("[").Compare("A", StrCompExact), StrCompGreater);
  EXPECT_EQ(Make(std::string("a\0C", 3)).Compare(Make(std::string("A\0c", 3)), StrCompNoCase),
            StrCompEqual);
  const auto lowered = [](int c) {
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    return c >= 128 ? c - 256 : c;
  };
  int mismatches = 0;
  for (int a = 0; a < 256; ++a) {
    const StringC left(static_cast<char>(a), 1);
    for (int b = 0; b < 256; ++b) {
      const int expected = (lowered(a) > lowered(b)) - (lowered(a) < lowered(b));
      if (left.Compare(StringC(static_cast<char>(b), 1), StrCompNoCase) != expected) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(StringCompare, NullBufferSortsFirst) {
  const NullBufferString none;
  const StringC empty;
  EXPECT_EQ(none.Compare(empty, StrCompExact), StrCompLess);
  EXPECT_EQ(empty.Compare(none, StrCompExact), StrCompGreater);
  EXPECT_EQ(none.Compare(NullBufferString(), StrCompNoCase), StrCompEqual);
  EXPECT_TRUE(none < "");
  EXPECT_FALSE(none == static_cast<const char*>(nullptr));
  EXPECT_LT(none.CompareNoCase("abc"), 0);  // reads as ""
}

// Equal strings hash alike whatever their capacity (the set keeps one of a and
// roomy); zero bytes count.
TEST(StringHash, HashesTheBytesThatEqualityCompares) {
  const std::string_view bytes("a\0b", 3);
  StringC a(bytes), roomy(bytes);
  roomy.GetBuffer(20);
  const std::hash<StringC> hash;
  EXPECT_EQ(hash(a), std::hash<std::string_view>()(bytes));
  EXPECT_EQ(hash(NullBufferString()), hash(StringC()));
  const std::unordered_set<StringC> set{a, roomy, StringC("a"),
                                        StringC(std::string_view("a\0c", 3))};
  EXPECT_EQ(set.size(), 3u);
}

// Every operator, against a StringC or a C text (const or not, on either
// side), agrees with Compare against StringC(text); strings hold zero and high
// bytes, two differ only after a zero byte, and a null text counts as "".
TEST(StringRelational, AgreeWithExactCompare) {
  const std::string strings[] = {
      "",    "a",    "ab", std::string("ab\0", 3), std::string("ab\0c", 4),
      "abc", "\xE9", "A",  std::string(1, '\0'),   std::string("ab\0d", 4)};
  const char* const texts[] = {nullptr, "", "a", "ab", "abc", "abd", "\xE9", "A", "aa"};
  // <, <=, >, >=, ==, != of a and b; and what Compare's order says they are.
  const auto ops = [](const auto& a, const auto& b) {
    return std::vector<bool>{a<b, a <= b, a> b, a >= b, a == b, a != b};
  };
  const auto wanted = [](StrCompValE order) {
    return std::vector<bool>{order == StrCompLess, order != StrCompGreater, order == StrCompGreater,
                             order != StrCompLess, order == StrCompEqual,   order != StrCompEqual};
  };
  for (const std::string& bytes : strings) {
    const StringC s = Make(bytes);
    for (const std::string& other : strings) {
      EXPECT_EQ(ops(s, Make(other)), wanted(s.Compare(Make(other), StrCompExact))) << other;
    }
    for (const char* text : texts) {
      std::string copy = text != nullptr ? text : "";
      char* const writable = text != nullptr ? &copy[0] : nullptr;
      const std::vector<bool> expected = wanted(s.Compare(StringC(text), StrCompExact));
      std::vector<bool> reversed = expected;  // a < b is b > a, a <= b is b >= a
      std::swap_ranges(reversed.begin(), reversed.begin() + 2, reversed.begin() + 2);
      const std::string where = bytes + " vs " + (text ? text : "null");
      EXPECT_TRUE(ops(s, text) == expected && ops(s, writable) == expected) << where;
      EXPECT_TRUE(ops(text, s) == reversed && ops(writable, s) == reversed) << where;
    }
  }
  EXPECT_TRUE(StringC("B") < StringC("a"));  // exact, never case-insensitive
}

TEST(StringRelational, TextFormsAllocateNothing) {
  const StringC s("abcdef");
  quarn::test::LeakCounter counter;
  EXPECT_TRUE(s == "abcdef");
  EXPECT_TRUE(s < "abcdeg");
  EXPECT_TRUE(s >= "abc");
  EXPECT_EQ(counter.Allocations(), 0);
}

// Both see the C text, up to the string's first zero byte; a null text is "".
TEST(StringCompareNoCaseAndCollate, CompareTheCText) {
  const StringC abc("abc");
  EXPECT_EQ(abc.CompareNoCase("ABC"), 0);
  EXPECT_LT(abc.CompareNoCase("ABD"), 0);
  EXPECT_GT(abc.CompareNoCase("AB"), 0);
  EXPECT_EQ(StringC("ab\0c", 4).CompareNoCase("AB"), 0);
  EXPECT_GT(abc.CompareNoCase(nullptr), 0);
  EXPECT_EQ(StringC().CompareNoCase(nullptr), 0);

  EXPECT_EQ(abc.Collate("abd"), std::strcoll("abc", "abd"));
  EXPECT_EQ(StringC("ab\0z", 4).Collate("ab"), 0);
  EXPECT_EQ(abc.Collate(nullptr), std::strcoll("abc", ""));
  EXPECT_EQ(StringC().Collate(nullptr), 0);
}

}  // namespace
