// Tests of StringC character access, search, extraction and in-place conversion.
// The program runs in the C locale.
#include <quarnbase/StringC.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <random>
#include <string>

#include "AllocHarness.h"

namespace {

// The bytes in use, zero bytes included.
std::string Bytes(const StringC& s) { return std::string(static_cast<char*>(s), s.length()); }

bool IsEmptyState(const StringC& s) {
  return static_cast<char*>(s) == static_cast<char*>(StringC::emptyPrototype) && s.length() == 0 &&
         s.size() == 1;
}

// The five bytes a, b, zero, c, d.
StringC WithZero() { return StringC("ab\0cd", 5); }

TEST(StringAccess, SetAtChangesCharactersButNeverTheLength) {
  StringC s("abc");
  s.SetAt(1, '\0');
  EXPECT_EQ(Bytes(s), std::string("a\0c", 3));
#ifndef QUARNBASE_HARDENED  // which stops the process at these (the death test below)
  // At or past the length nothing is stored: the terminator stays.
  s.SetAt(3, 'y');
  s.SetAt(100, 'y');
  EXPECT_EQ(Bytes(s), std::string("a\0c", 3));
  EXPECT_EQ(s.GetAt(3u), '\0');
  // The shared empty buffer is never written.
  StringC empty;
  empty.SetAt(0, 'z');
  EXPECT_EQ(*static_cast<char*>(StringC::emptyPrototype), '\0');
#endif
}

#if defined(QUARNBASE_HARDENED)
// A hardened build stops at a position outside the string, naming it; GetAt
// keeps its answer of 0.
TEST(StringAccessDeathTest, HardenedBuildsStopAtABadPosition) {
  const StringC s("abc");
  EXPECT_DEATH((void)s[4u], "StringC::operator\\[\\]: index out of range: 4 \\(0-3 allowed\\)");
  EXPECT_DEATH((void)s[-1], "index out of range: -1");
  EXPECT_DEATH((void)s[std::size_t{9}], "index out of range: 9");
  EXPECT_DEATH(s.SetAt(3, 'x'), "StringC::SetAt: index out of range: 3 \\(length 3\\)");
  EXPECT_EQ(s.GetAt(9), '\0');
}
#endif

TEST(StringAccess, TakesAnIndexOfEveryIntegerType) {
  const StringC s("abc");
  // Each index type compiles to one overload; the checked read judges the
  // full value, never a truncated one.
  EXPECT_EQ(s[std::size_t{2}], 'c');
  EXPECT_EQ(s[std::ptrdiff_t{1}], 'b');
  EXPECT_EQ(s[2L] + s[2UL] + s[2LL] + s[2ULL], 4 * 'c');
  EXPECT_EQ(s[static_cast<short>(3)], '\0');
  EXPECT_EQ(s.GetAt(std::size_t{1}), 'b');
  EXPECT_EQ(s.GetAt(3L), '\0');
  EXPECT_EQ(s.GetAt(4UL), '\0');
  EXPECT_EQ(s.GetAt(-1L), '\0');
  EXPECT_EQ(s.GetAt(1ULL << 32), '\0');
  EXPECT_EQ(s.GetAt(-(1LL << 32) + 1), '\0');
}

TEST(StringFind, SearchesTheCText) {
  const StringC s("abcb");
  EXPECT_EQ(s.Find('b'), 1);
  EXPECT_EQ(s.ReverseFind('b'), 3);
  EXPECT_EQ(s.Find('z'), -1);
  EXPECT_EQ(s.ReverseFind('z'), -1);
  EXPECT_EQ(s.Find('\0'), 4);
  EXPECT_EQ(s.Find("cb"), 2);
  EXPECT_EQ(s.Find("bcbx"), -1);
  EXPECT_EQ(s.Find(""), 0);
  EXPECT_EQ(s.FindOneOf("xc"), 2);
  EXPECT_EQ(s.FindOneOf(""), -1);
  EXPECT_EQ(StringC().Find('a'), -1);
  // A null text counts as "".
  EXPECT_EQ(s.Find(static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(s.FindOneOf(nullptr), -1);
  // A zero byte ends the searched text.
  const StringC z = WithZero();
  EXPECT_EQ(z.Find('c'), -1);
  EXPECT_EQ(z.ReverseFind('d'), -1);
  EXPECT_EQ(z.ReverseFind('\0'), 2);
  EXPECT_EQ(z.Find("cd"), -1);
  // A long text: a needle that ends with it, and one that would run past it.
  const StringC longText((std::string(300, 'a') + "xyz").c_str());
  EXPECT_EQ(longText.Find("xyz"), 300);
  EXPECT_EQ(longText.Find("xyzw"), -1);
  EXPECT_EQ(z.FindOneOf("dc"), -1);
  EXPECT_EQ(z.FindOneOf("dcb"), 1);
}

// Find and ReverseFind give what strchr, strstr and strrchr give on the C
// text, for short texts and long ones, few letters (many near misses) or more,
// with a zero byte inside the stored bytes or not.
TEST(StringFind, AgreesWithTheCLibraryOnTheCText) {
  std::mt19937 random(5);
  for (const std::size_t length : {0, 7, 255, 256, 700, 3000}) {
    for (const std::string alphabet : {"ab", "abcdefghij"}) {
      std::string bytes(length, 'a');
      for (char& c : bytes) c = alphabet[random() % alphabet.size()];
      for (const bool zero : {false, true}) {
        std::string stored = bytes;
        if (zero && length > 2) stored[length * 2 / 3] = '\0';
        const StringC s(stored.data(), static_cast<int>(stored.size()));
        const char* const text = stored.c_str();
        const auto offset = [text](const char* hit) {
          return hit != nullptr ? static_cast<int>(hit - text) : -1;
        };
        const std::string where =
            std::to_string(length) + " " + alphabet + " " + std::to_string(zero);
        for (const char ch : {'a', 'b', 'j', 'z'}) {
          EXPECT_EQ(s.Find(ch), offset(std::strchr(text, ch))) << where << " " << ch;
          EXPECT_EQ(s.ReverseFind(ch), offset(std::strrchr(text, ch))) << where << " " << ch;
        }
        // Pieces of the text from several places, the end and the zero byte's included.
        for (const std::size_t at : {std::size_t{0}, length / 3, length * 2 / 3 - 3, length - 7}) {
          for (const std::size_t count : {1, 6, 7, 8}) {
            if (at > length || count > length - at) continue;
            const std::string needle = bytes.substr(at, count);
            EXPECT_EQ(s.Find(needle.c_str()), offset(std::strstr(text, needle.c_str())))
                << where << " " << needle;
          }
        }
      }
    }
  }
}

// A byte that occurs once is found wherever it stands, in short texts and in
// every block of long ones; a zero byte before it hides it.
TEST(StringFind, FindsALoneByteAtEveryOffset) {
  for (const int length : {1, 63, 64, 65, 300, 700}) {
    for (int at = 0; at < length; ++at) {
      std::string bytes(static_cast<std::size_t>(length), 'x');
      bytes[static_cast<std::size_t>(at)] = 'y';
      EXPECT_EQ(StringC(bytes.data(), length).Find('y'), at) << length;
      if (at == length - 1) continue;
      bytes[static_cast<std::size_t>(at)] = '\0';
      bytes.back() = 'y';
      const StringC hidden(bytes.data(), length);
      EXPECT_EQ(hidden.Find('y'), -1) << length << " " << at;
      EXPECT_EQ(hidden.Find('\0'), at) << length;
    }
  }
}

TEST(StringExtract, MidLeftAndRightClampToTheText) {
  StringC s("abcdef");
  s.GetBuffer(40);  // spare capacity is not passed on
  EXPECT_EQ(Bytes(s.Mid(1, 2)), "bc");
  EXPECT_EQ(Bytes(s.Mid(4, 10)), "ef");
  EXPECT_EQ(Bytes(s.Mid(0, 0xFFFFFFFFu)), "abcdef");  // start + count would wrap
  EXPECT_EQ(Bytes(s.Mid(2)), "cdef");
  EXPECT_EQ(Bytes(s.Left(2)), "ab");
  EXPECT_EQ(Bytes(s.Left(10)), "abcdef");
  EXPECT_EQ(Bytes(s.Right(2)), "ef");
  EXPECT_EQ(Bytes(s.Right(10)), "abcdef");
  EXPECT_EQ(s.Mid(4, 10).size(), 3u);
  EXPECT_EQ(s.Right(10).size(), 7u);
  const StringC nothing[] = {s.Mid(6, 1), s.Mid(7, 1), s.Mid(0xFFFFFFFFu, 2), s.Mid(9), s.Mid(2, 0),
                             s.Left(0),   s.Right(0),  StringC().Right(3)};
  for (const StringC& r : nothing) EXPECT_TRUE(IsEmptyState(r));
}

TEST(StringExtract, ByLengthCopiesZeroBytes) {
  const StringC s = WithZero();
  EXPECT_EQ(Bytes(s.Mid(3, 2)), "cd");
  EXPECT_EQ(Bytes(s.Mid(1)), std::string("b\0cd", 4));
  EXPECT_EQ(Bytes(s.Left(4)), std::string("ab\0c", 4));
  EXPECT_EQ(Bytes(s.Right(3)), std::string("\0cd", 3));
  EXPECT_EQ(Bytes(s.mid(1, 3)), std::string("b\0c", 3));
}

TEST(StringExtract, SpansTakeAPrefixOfTheCText) {
  const StringC s("abcxa");
  EXPECT_EQ(Bytes(s.SpanIncluding("abc")), "abc");
  EXPECT_EQ(Bytes(s.SpanExcluding("x")), "abc");
  EXPECT_EQ(s.SpanExcluding("x").size(), 4u);
  EXPECT_TRUE(IsEmptyState(s.SpanIncluding("z")));
  EXPECT_EQ(Bytes(s.SpanExcluding("")), "abcxa");
  // A null set counts as "".
  EXPECT_TRUE(IsEmptyState(s.SpanIncluding(nullptr)));
  EXPECT_EQ(Bytes(s.SpanExcluding(nullptr)), "abcxa");
  // A zero byte ends the C text.
  EXPECT_EQ(Bytes(WithZero().SpanIncluding("abcd")), "ab");
  EXPECT_EQ(Bytes(WithZero().SpanExcluding(nullptr)), "ab");
}

TEST(StringExtract, MidByEndTakesAnInclusiveClampedRange) {
  const StringC s("abcdef");
  EXPECT_EQ(Bytes(s.mid(1, 3)), "bcd");
  EXPECT_EQ(Bytes(s.mid(2, -1)), "cdef");
  EXPECT_EQ(Bytes(s.mid(0, -5)), "a");    // other negative ends count as 0
  EXPECT_EQ(Bytes(s.mid(2, 6)), "cdef");  // an end past the text is clamped
  EXPECT_EQ(Bytes(s.mid(0, 1000000)), "abcdef");
  EXPECT_EQ(s.mid(1, 3).size(), 7u);  // capacity of the source's length
  StringC spare;
  spare.GetBuffer(10);
  const StringC nothing[] = {s.mid(3, -5), s.mid(4, 2), s.mid(6, 100), spare.mid(0, -1)};
  for (const StringC& r : nothing) EXPECT_TRUE(IsEmptyState(r));
}

TEST(StringCase, ConvertsTheCTextInPlace) {
  StringC s("aB1c");
  quarn::test::LeakCounter counter;
  s.MakeUpper();
  EXPECT_EQ(Bytes(s), "AB1C");
  s.MakeLower();
  EXPECT_EQ(Bytes(s), "ab1c");
  EXPECT_EQ(counter.Allocations(), 0);
  StringC empty;
  empty.MakeUpper();
  EXPECT_TRUE(IsEmptyState(empty));
  StringC zero("aB\0cD", 5);
  zero.MakeUpper();
  EXPECT_EQ(Bytes(zero), std::string("AB\0cD", 5));
  zero.MakeLower();
  EXPECT_EQ(Bytes(zero), std::string("ab\0cD", 5));
}

// Bytes 0x80 to 0xFF reach the classification functions safely and, in the C
// locale, are left alone; only A to Z and a to z change.
TEST(StringCase, EveryByteIsHandledSafely) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string upper = all;
  std::string lower = all;
  for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  StringC s(all.data(), static_cast<int>(all.size()));
  s.MakeUpper();
  EXPECT_EQ(Bytes(s), upper);
  s.MakeLower();
  EXPECT_EQ(Bytes(s), lower);
}

TEST(StringReverse, ReversesTheCTextInPlace) {
  const char* const cases[][2] = {{"abc", "cba"}, {"abcd", "dcba"}, {"a", "a"}};
  for (const auto& c : cases) {
    StringC s(c[0]);
    s.MakeReverse();
    EXPECT_EQ(Bytes(s), c[1]);
  }
  StringC empty;
  empty.MakeReverse();
  EXPECT_TRUE(IsEmptyState(empty));
  StringC zero = WithZero();
  zero.MakeReverse();
  EXPECT_EQ(Bytes(zero), std::string("ba\0cd", 5));
}

}  // namespace
