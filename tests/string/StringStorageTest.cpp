// StringC storage: construction, assignment, capacity and the buffer protocol.
#include <quarnbase/StringAC.h>
#include <quarnbase/StringC.h>
#include <quarnbase/iostream.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iomanip>
#include <new>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

#include "AllocHarness.h"

namespace {

// The shared buffer every empty string points at.
const char* SharedEmpty() { return StringC::emptyPrototype; }

// The stored bytes of a string, zero bytes included.
std::string Bytes(const StringC& s) { return std::string(s, s.length()); }

// Checks the empty state: no characters, capacity 0, the shared buffer.
void ExpectEmptyState(const StringC& s) {
  EXPECT_EQ(s.length(), 0u);
  EXPECT_EQ(s.size(), 1u);
  EXPECT_EQ(static_cast<const char*>(s), SharedEmpty());
  EXPECT_EQ(s.IsEmpty(), 1);
}

// Checks the invariants that hold outside a GetBuffer window.
void ExpectInvariants(const StringC& s) {
  EXPECT_LE(s.length() + 1, s.size());
  EXPECT_EQ(static_cast<const char*>(s)[s.length()], '\0');
  if (static_cast<const char*>(s) == SharedEmpty()) {
    EXPECT_EQ(s.size(), 1u);
  }
}

}  // namespace

TEST(StringConstruction, EmptyFormsShareOneBufferAndAllocateNothing) {
  quarn::test::LeakCounter counter;
  const char* const nullText = nullptr;
  StringC a;
  StringC b(nullText);
  StringC c("");
  StringC d('x', 0);
  StringC e('x', -5);
  StringC f("abc", 0);
  StringC g(nullText, 0);
  StringC h(StringC{});
  for (const StringC* s : {&a, &b, &c, &d, &e, &f, &g, &h}) ExpectEmptyState(*s);
  EXPECT_NE(SharedEmpty(), nullptr);
  EXPECT_EQ(SharedEmpty()[0], '\0');
  EXPECT_EQ(counter.Allocations(), 0);
}

TEST(StringConstruction, ExactBuffersHoldEveryByte) {
  StringC aaa('a', 3);
  EXPECT_EQ(Bytes(aaa), "aaa");
  EXPECT_EQ(aaa.size(), 4u);

  StringC zeros('\0', 2);
  EXPECT_EQ(zeros.length(), 2u);
  EXPECT_EQ(Bytes(zeros), std::string(2, '\0'));

  const char raw[] = {'a', 'b', '\0', 'c', 'd'};
  StringC counted(raw, 5);
  EXPECT_EQ(counted.length(), 5u);
  EXPECT_EQ(std::strlen(counted), 2u);
  EXPECT_EQ(Bytes(counted), std::string(raw, 5));
  EXPECT_EQ(counted.size(), 6u);

  StringC text("hello");
  EXPECT_EQ(Bytes(text), "hello");
  EXPECT_EQ(text.size(), 6u);
  ExpectInvariants(text);
}

TEST(StringConstruction, BadCountedArgumentsGiveTheEmptyState) {
  const char* const nullText = nullptr;
  ExpectEmptyState(StringC("abc", -1));
  ExpectEmptyState(StringC(nullText, 4));
}

TEST(StringConstruction, CopyTakesOnlyTheCharactersInUse) {
  StringC source("abc");
  source.GetBuffer(10);
  StringC copy(source);
  EXPECT_EQ(Bytes(copy), "abc");
  EXPECT_EQ(copy.size(), 4u);
  EXPECT_NE(static_cast<char*>(copy), static_cast<char*>(source));

  StringC roomy("abcdef");
  roomy = "";
  EXPECT_EQ(roomy.size(), 7u);
  ExpectEmptyState(StringC(roomy));

  const char raw[] = {'x', '\0', 'y'};
  StringC withZero(raw, 3);
  EXPECT_EQ(Bytes(StringC(withZero)), std::string(raw, 3));
}

TEST(StringAssignment, ReusesCapacityAndNeverShrinks) {
  StringC s;
  s.GetBuffer(10);
  char* const buffer = s;
  s = "abc";
  EXPECT_EQ(Bytes(s), "abc");
  EXPECT_EQ(static_cast<char*>(s), buffer);
  EXPECT_EQ(s.size(), 11u);

  s = "";
  EXPECT_EQ(s.length(), 0u);
  EXPECT_EQ(s.size(), 11u);
  s = static_cast<const char*>(nullptr);
  EXPECT_EQ(s.length(), 0u);
  EXPECT_EQ(s.size(), 11u);
  EXPECT_EQ(s.IsEmpty(), 1);

  s = "eleven char";
  EXPECT_EQ(s.size(), 12u);
  EXPECT_EQ(Bytes(s), "eleven char");
  ExpectInvariants(s);

  const char raw[] = {'p', '\0', 'q'};
  s = StringC(raw, 3);
  EXPECT_EQ(Bytes(s), std::string(raw, 3));
}

TEST(StringAssignment, SelfAndOverlappingSources) {
  StringC s("abcdef");
  char* const buffer = s;
  const StringC& same = s;
  s = same;
  EXPECT_EQ(Bytes(s), "abcdef");
  EXPECT_EQ(static_cast<char*>(s), buffer);

  s = static_cast<const char*>(s) + 1;  // its own text from the second character on
  EXPECT_EQ(Bytes(s), "bcdef");
  EXPECT_EQ(static_cast<char*>(s), buffer);
  EXPECT_EQ(s.size(), 7u);
}

TEST(StringAssignment, SingleCharacter) {
  StringC empty;
  quarn::test::LeakCounter counter;
  empty = 'x';
  EXPECT_EQ(Bytes(empty), "x");
  EXPECT_EQ(empty.size(), 2u);
  EXPECT_EQ(counter.Allocations(), 1);
  EXPECT_EQ(counter.LiveBytes(), 2);

  StringC roomy;
  roomy.GetBuffer(10);
  char* const buffer = roomy;
  roomy = 'y';
  EXPECT_EQ(static_cast<char*>(roomy), buffer);
  EXPECT_EQ(roomy.size(), 11u);
  roomy = '\0';
  EXPECT_EQ(roomy.length(), 1u);
  EXPECT_EQ(Bytes(roomy), std::string(1, '\0'));
}

TEST(StringAssignment, EmptyReleasesTheBuffer) {
  StringC s("abc");
  quarn::test::LeakCounter counter;
  s.Empty();
  ExpectEmptyState(s);
  EXPECT_EQ(counter.LiveBlocks(), -1);
  s.Empty();
  ExpectEmptyState(s);
}

TEST(StringBufferAccess, GetBufferGrowsKeepingTheText) {
  StringC s("abc");
  char* const old = s;
  EXPECT_EQ(s.GetBuffer(2), old);
  EXPECT_EQ(s.size(), 4u);

  char* grown = s.GetBuffer(5);
  EXPECT_NE(grown, old);
  EXPECT_EQ(s.size(), 6u);
  EXPECT_EQ(s.length(), 3u);
  EXPECT_STREQ(grown, "abc");

  StringC empty;
  EXPECT_EQ(empty.GetBuffer(0), SharedEmpty());
  ExpectEmptyState(empty);
}

TEST(StringBufferAccess, ReleaseBufferSetsTheLength) {
  StringC s;
  std::memcpy(s.GetBuffer(10), "hello", 6);
  s.ReleaseBuffer(-1);
  EXPECT_EQ(Bytes(s), "hello");
  s.ReleaseBuffer(2);
  EXPECT_EQ(Bytes(s), "he");
  EXPECT_EQ(s.size(), 11u);
  ExpectInvariants(s);

  StringC abc("abc");
  char* const buffer = abc;
  EXPECT_EQ(abc.GetBufferSetLength(1), buffer);
  EXPECT_EQ(Bytes(abc), "a");
  EXPECT_EQ(abc.size(), 4u);

  StringC empty;
  empty.ReleaseBuffer(-1);
  empty.ReleaseBuffer(0);
  EXPECT_EQ(empty.GetBufferSetLength(0), SharedEmpty());
  ExpectEmptyState(empty);
}

TEST(StringBufferAccess, OutOfContractLengthsStayInsideTheBuffer) {
  StringC s;
  std::memset(s.GetBuffer(4), 'z', 4);  // no terminator within the capacity
  s.ReleaseBuffer(-1);
  EXPECT_EQ(Bytes(s), "zzzz");
  ExpectInvariants(s);

  s.ReleaseBuffer(-7);  // any negative length measures the text
  EXPECT_EQ(s.length(), 4u);
  s.ReleaseBuffer(99);  // clamped to the capacity
  EXPECT_EQ(s.length(), 4u);
  ExpectInvariants(s);

  StringC empty;
  empty.ReleaseBuffer(5);
  ExpectEmptyState(empty);
}

TEST(StringPrintf, FormatsExactly) {
  StringC fits(64, "n=%d", 42);
  EXPECT_EQ(Bytes(fits), "n=42");
  EXPECT_EQ(fits.size(), 5u);

  StringC nothing(64, "%s", "");
  EXPECT_EQ(nothing.length(), 0u);
  EXPECT_EQ(nothing.size(), 1u);
  EXPECT_NE(static_cast<const char*>(nothing), SharedEmpty());
  EXPECT_EQ(static_cast<const char*>(nothing)[0], '\0');
  nothing = 'q';  // the private one-byte buffer is replaced, not overrun
  EXPECT_EQ(Bytes(nothing), "q");

  StringC unconvertible(64u, "x%lsy", L"\x100");  // no such character in the C locale
  ExpectEmptyState(unconvertible);
}

TEST(StringPrintf, LongResultsAndZeroBytesAreKeptInFull) {
  const std::string longText(300, 'w');
  StringC grown(4, "<%s>", longText.c_str());
  EXPECT_EQ(Bytes(grown), "<" + longText + ">");
  EXPECT_EQ(grown.size(), 303u);

  StringC zero(16, "a%cb", 0);
  EXPECT_EQ(zero.length(), 3u);
  EXPECT_EQ(Bytes(zero), std::string("a\0b", 3));

  StringC tiny(0, "%d", 12345);
  EXPECT_EQ(Bytes(tiny), "12345");

  // C99 conversions, on Windows too.
  StringC wide(8, "%zu|%lld|%llu", std::size_t{7}, -5LL, 18446744073709551615ULL);
  EXPECT_EQ(Bytes(wide), "7|-5|18446744073709551615");
}

TEST(StringFailure, AssignmentFailuresLeaveTheEmptyState) {
  StringC s("ab");
  {
    quarn::test::FailureScope fail(1);
    EXPECT_THROW(s = "a longer text", std::bad_alloc);
  }
  ExpectEmptyState(s);

  StringC other("abc");
  StringC t("a");
  {
    quarn::test::FailureScope fail(1);
    EXPECT_THROW(t = other, std::bad_alloc);
  }
  ExpectEmptyState(t);

  StringC u;
  {
    quarn::test::FailureScope fail(1);
    EXPECT_THROW(u = 'x', std::bad_alloc);
  }
  ExpectEmptyState(u);
}

TEST(StringFailure, GetBufferFailuresLeaveTheStringUnchanged) {
  StringC s("abc");
  char* const buffer = s;
  for (int which = 0; which < 2; ++which) {
    quarn::test::FailureScope fail(1);
    if (which == 0) {
      EXPECT_THROW(s.GetBuffer(50), std::bad_alloc);
    } else {
      EXPECT_THROW(s.GetBufferSetLength(50), std::bad_alloc);
    }
  }
  EXPECT_EQ(static_cast<char*>(s), buffer);
  EXPECT_EQ(Bytes(s), "abc");
  EXPECT_EQ(s.size(), 4u);
}

TEST(StringFailure, ConstructorsLeakNothing) {
  // Fail each allocation a constructor makes in turn; nothing may stay behind.
  for (long long n = 1; n <= 3; ++n) {
    quarn::test::LeakCounter counter;
    {
      quarn::test::FailureScope fail(n);
      try {
        StringC a("text");
        StringC b('c', 4);
        StringC c("bytes", 5);
        StringC d(a);
        StringC e(2, "%s and %s", "long", "longer");
      } catch (const std::bad_alloc&) {
      }
    }
    EXPECT_EQ(counter.LiveBlocks(), 0) << "failing allocation " << n;
  }
}

TEST(StringLimits, LengthsThatDoNotFit32BitsThrowBeforeAnyChange) {
  StringC s("abc");
  char* const buffer = s;
  EXPECT_THROW(s.GetBuffer(0xFFFFFFFFu), std::bad_alloc);
  EXPECT_THROW(s.GetBufferSetLength(0xFFFFFFFFu), std::bad_alloc);
  EXPECT_EQ(static_cast<char*>(s), buffer);
  EXPECT_EQ(Bytes(s), "abc");
}

// A record without a buffer but with a length; only raw storage looks like this.
struct NoBuffer : StringC {
  NoBuffer() { buffer = nullptr, dataLength = 3; }
  ~NoBuffer() { Init(); }
};

TEST(StringInterop, RangeViewAndConstructionCoverEveryStoredByte) {
  const std::string bytes("a\0b", 3);
  StringC s{std::string_view(bytes)};
  for (char& c : s) c = static_cast<char>(c + 1);
  const StringC& cs = s;
  EXPECT_EQ(std::string(cs.begin(), cs.end()), std::string("b\1c", 3));
  EXPECT_TRUE(s.view() == Bytes(s) && s.size() == 4u);  // an exact buffer
  const NoBuffer none;
  EXPECT_TRUE(none.begin() == none.end() && none.view().empty());
  ExpectEmptyState(StringC{std::string_view()});
  // A size past 32 bits is refused, not truncated (to 1 byte on 64-bit targets).
  const auto huge = static_cast<std::size_t>(sizeof(std::size_t) > 4 ? 0x100000001ull : ~0ull);
  EXPECT_THROW(StringC{std::string_view(bytes.data(), huge)}, std::bad_alloc);
}

TEST(StringInterop, StreamOutputWritesEveryByteFormatted) {
  std::ostringstream out;
  out << std::setw(5) << std::left << StringC("a\0b", 3) << '|' << NoBuffer() << '|';
  EXPECT_EQ(out.str(), std::string("a\0b  ||", 7));
}

// Overloads as code moving to the standard library often has them.
int Overloaded(const char*) { return 1; }
int Overloaded(std::string_view) { return 2; }

// What clients wrote before the interop members existed compiles without
// ambiguity and still means the C text, through operator char*.
TEST(StringInterop, ExistingExpressionsKeepTheirMeaning) {
  static_assert(!std::is_convertible_v<StringC, std::string_view> &&
                !std::is_convertible_v<std::string_view, StringC>);
  const StringC s("a\0b", 3);
  StringC t = "x", n(nullptr);
  char printed[4];
  std::snprintf(printed, sizeof printed, "%s", (char*)s);
  std::string assigned;
  assigned = s;
  EXPECT_TRUE(std::string(s) == "a" && assigned == "a" && std::strcmp(printed, "a") == 0);
  EXPECT_TRUE(Overloaded(s) == 1 && std::strlen(s) == 1 && s[2] == 'b');
  EXPECT_TRUE(t == "x" && !(s == "a") && n == "");
  EXPECT_EQ(Bytes(s + "x" + ("x" + s)), std::string("a\0bxxa\0b", 8));
}

// A record of zero bytes, as a global of a Windows client is until its
// constructor runs, has a null buffer. Every operation takes it as the empty
// string (Compare and == keep it apart, sorting it first); one that writes
// gives it the empty state or a buffer of its own first.
namespace {

struct ZeroRecordCase {
  const char* name;
  std::string (*run)(StringC& zero);
  const char* expected;
};

std::string Int(long long value) { return std::to_string(value); }

// Text, capacity and buffer: the shared one, one of its own, or none.
std::string Shape(const StringC& s) {
  const char* data = s.view().data();
  return Bytes(s) + "|" + Int(s.size()) + "|" +
         (data == nullptr         ? "none"
          : data == SharedEmpty() ? "shared"
                                  : "own");
}

const ZeroRecordCase kZeroRecordCases[] = {
    {"Find",
     [](StringC& z) {
       return Int(z.Find('a')) + Int(z.Find('\0')) + Int(z.Find("a")) + Int(z.Find(""));
     },
     "-10-10"},
    {"ReverseFind, FindOneOf",
     [](StringC& z) { return Int(z.ReverseFind('a')) + Int(z.FindOneOf("a")); }, "-1-1"},
    {"GetAt",
     [](StringC& z) {
       return Int(z.GetAt(0u)) + Int(z.GetAt(0)) + Int(z.GetAt(std::size_t{0})) + Int(z.GetAt(2));
     },
     "0000"},
    {"operator[]", [](StringC& z) { return Int(z[0u]) + Int(z[0]) + Int(z[std::size_t{0}]); },
     "000"},
    {"operator char*, begin, end, view",
     [](StringC& z) {
       return std::string(z) + "|" + Int(z.end() - z.begin()) + Int(z.view().size());
     },
     "|00"},
    {"Mid, Left, Right, mid",
     [](StringC& z) {
       return Bytes(z.Mid(0, 2)) + Bytes(z.Mid(1)) + Bytes(z.Left(1)) + Bytes(z.Right(1)) +
              Bytes(z.mid(0, -1)) + "|";
     },
     "|"},
    {"SpanIncluding, SpanExcluding",
     [](StringC& z) { return Shape(z.SpanIncluding("a")) + Shape(z.SpanExcluding("a")); },
     "|1|shared|1|shared"},
    {"IsEmpty, CompareNoCase, Collate, hash",
     [](StringC& z) {
       return Int(z.IsEmpty()) + Int(z.CompareNoCase("")) + Int(z.Collate("")) +
              Int(std::hash<StringC>()(z) == std::hash<StringC>()(StringC()));
     },
     "1001"},
    {"Compare, ==",
     [](StringC& z) {
       return Int(z.Compare(StringC(), StrCompExact)) + Int(z.Compare(StringC(), StrCompNoCase)) +
              Int(z == StringC()) + Int(z == "") + Int(z != z);
     },
     "-1-1000"},
    {"IsMetaMatch, MetaCompare",
     [](StringC& z) {
       return Int(z.IsMetaMatch("*")) + Int(StringC("a").IsMetaMatch(z)) + Int(z.MetaCompare("*"));
     },
     "00-99"},
    {"parse", [](StringC& z) { return Int(z.parse(",").GetSize()); }, "0"},
    {"copy, operator+",
     [](StringC& z) { return Shape(StringC(z)) + Bytes(z + "a" + z) + Bytes('b' + z); },
     "|1|sharedab"},
    {"assigned to a string", [](StringC& z) { return Shape(StringC("x") = z); }, "|2|own"},
    {"MakeUpper, MakeLower, MakeReverse",
     [](StringC& z) { return z.MakeUpper(), z.MakeLower(), z.MakeReverse(), Bytes(z); }, ""},
#ifndef QUARNBASE_HARDENED  // which stops at SetAt beyond the length
    {"SetAt, Empty", [](StringC& z) { return z.SetAt(0, 'x'), z.Empty(), Shape(z); }, "|1|shared"},
#endif
    {"+= \"\", += empty", [](StringC& z) { return (z += ""), (z += StringC()), Shape(z); },
     "|1|shared"},
    {"+= text", [](StringC& z) { return (z += "ab"), Shape(z); }, "ab|3|own"},
    {"+= char", [](StringC& z) { return (z += 'x'), Shape(z); }, "x|2|own"},
    {"= \"\", = empty", [](StringC& z) { return (z = ""), (z = StringC()), Shape(z); },
     "|1|shared"},
    {"= text", [](StringC& z) { return (z = "ab"), Shape(z); }, "ab|3|own"},
    {"= char", [](StringC& z) { return (z = 'x'), Shape(z); }, "x|2|own"},
    {"GetBuffer(0)",
     [](StringC& z) { return z.GetBuffer(0) == SharedEmpty() ? Shape(z) : "another buffer"; },
     "|1|shared"},
    {"GetBuffer(3), ReleaseBuffer",
     [](StringC& z) { return std::strcpy(z.GetBuffer(3), "ab"), z.ReleaseBuffer(), Shape(z); },
     "ab|4|own"},
    {"ReleaseBuffer", [](StringC& z) { return z.ReleaseBuffer(-1), z.ReleaseBuffer(0), Shape(z); },
     "|1|shared"},
    {"GetBufferSetLength",
     [](StringC& z) { return std::memcpy(z.GetBufferSetLength(2), "xy", 2), Shape(z); },
     "xy|3|own"},
};

}  // namespace

TEST(StringZeroRecord, EveryOperationTakesItAsTheEmptyString) {
  for (const ZeroRecordCase& c : kZeroRecordCases) {
    const quarn::test::LeakCounter leaks;
    alignas(StringC) unsigned char raw[sizeof(StringC)] = {};
    StringC& zero = *std::launder(reinterpret_cast<StringC*>(raw));
    EXPECT_EQ(c.run(zero), c.expected) << c.name;
    zero.~StringC();
    EXPECT_EQ(leaks.LiveBlocks(), 0) << c.name;
  }
}
