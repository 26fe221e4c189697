// Allocation-failure sweep: every public operation that allocates is run with
// its 1st, 2nd, ... allocation failing until it succeeds, once failing that one
// allocation only and once failing it and every later one. After each failure
// the sweep checks that std::bad_alloc reached the caller, that the object is
// in the state its class promises for a failure, that the invariants hold, and
// that nothing leaked.
#include <quarnbase/PtrListC.h>
#include <quarnbase/ScalarArrays.h>
#include <quarnbase/StringAC.h>
#include <quarnbase/StringC.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <new>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "AllocHarness.h"
#include "ObjectLayout.h"

namespace {

using quarn::test::FieldsOf;

// A sweep that has not succeeded after this many failure points never ends.
constexpr long long kMaxFailurePoints = 10000;

const char* SharedEmpty() { return StringC::emptyPrototype; }

// ---------------------------------------------------------------------------
// Descriptions: everything observable about an object, as text, so that
// "unchanged" is a string comparison with a readable diff.

std::string Escaped(const char* bytes, std::size_t count) {
  std::string out;
  char hex[8];
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (std::isprint(c) && c != '\\') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

std::string Describe(const StringC& s) {
  std::ostringstream out;
  out << "len=" << s.length() << " size=" << s.size()
      << " buf=" << static_cast<const void*>(static_cast<const char*>(s)) << " \""
      << Escaped(s, s.length()) << '"';
  return out.str();
}

std::string DescribeElements(const StringC& s) { return Describe(s); }

template <class Array>
std::string DescribeElements(const Array& a) {
  const auto f = FieldsOf(a);
  std::ostringstream out;
  out << "count=" << f.elementCount << " [";
  for (int i = 0; i < f.elementCount; ++i) out << (i ? ", " : "") << f.data[i];
  out << ']';
  return out.str();
}

std::string DescribeElements(const StringAC& a) {
  const auto f = FieldsOf(a);
  std::string out = "count=" + std::to_string(f.elementCount) + " [";
  for (int i = 0; i < f.elementCount; ++i) out += (i ? ", " : "") + Describe(f.data[i]);
  return out + ']';
}

template <class Array>
std::string Describe(const Array& a) {
  const auto f = FieldsOf(a);
  std::ostringstream out;
  out << "max=" << f.maxSize << " growBy=" << f.growBy
      << " data=" << static_cast<const void*>(f.data) << ' ' << DescribeElements(a);
  return out.str();
}

// A list is described by its elements and the positions (node addresses)
// holding them, so that a list counts as unchanged only when every position
// still names the same element.
std::string DescribeElements(const PtrListC& list) {
  std::ostringstream out;
  out << "count=" << list.GetCount() << " [";
  for (POSITION p = list.GetHeadPosition(); p != nullptr;) {
    out << static_cast<const void*>(p) << ':';
    out << list.GetNext(p) << (p != nullptr ? ", " : "");
  }
  out << ']';
  return out.str();
}

std::string Describe(const PtrListC& list) { return DescribeElements(list); }

// ---------------------------------------------------------------------------
// Invariants and the empty state of each class.

void ExpectInvariants(const StringC& s) {
  const char* buffer = s;
  ASSERT_NE(buffer, nullptr);
  EXPECT_LT(s.length(), s.size()) << "length within the capacity";
  EXPECT_EQ(buffer[s.length()], '\0') << "terminated at its length";
  if (buffer == SharedEmpty()) {
    EXPECT_EQ(s.size(), 1u) << "the shared buffer holds no capacity";
  }
  EXPECT_EQ(SharedEmpty()[0], '\0') << "the shared empty buffer was written";
}

template <class Array>
void ExpectInvariants(const Array& a) {
  EXPECT_TRUE(quarn::test::RecordIsValid(a)) << Describe(a);
}

void ExpectInvariants(const StringAC& a) {
  EXPECT_TRUE(quarn::test::RecordIsValid(a)) << Describe(a);
  const auto f = FieldsOf(a);
  for (int i = 0; i < f.elementCount; ++i) {
    ExpectInvariants(f.data[i]);
    for (int j = 0; j < i; ++j) {
      if (static_cast<const char*>(f.data[i]) != SharedEmpty()) {
        EXPECT_NE(static_cast<const char*>(f.data[i]), static_cast<const char*>(f.data[j]))
            << "elements " << j << " and " << i << " share a buffer";
      }
    }
  }
}

void ExpectInvariants(const PtrListC& list) {
  int forward = 0;
  POSITION last = nullptr;
  for (POSITION p = list.GetHeadPosition(); p != nullptr; ++forward) {
    last = p;
    list.GetNext(p);
    ASSERT_LE(forward, list.GetCount()) << "the links run past the count";
  }
  EXPECT_EQ(forward, list.GetCount());
  EXPECT_EQ(last, list.GetTailPosition());
  int backward = 0;
  for (POSITION p = list.GetTailPosition(); p != nullptr && backward <= forward; ++backward) {
    list.GetPrev(p);
  }
  EXPECT_EQ(backward, forward) << "prev links disagree with next links";
}

void ExpectEmptyState(const StringC& s) {
  EXPECT_EQ(s.length(), 0u);
  EXPECT_EQ(s.size(), 1u);
  EXPECT_EQ(static_cast<const char*>(s), SharedEmpty());
}

template <class Array>
void ExpectEmptyState(const Array& a) {
  const auto f = FieldsOf(a);
  EXPECT_EQ(f.elementCount, 0);
  EXPECT_EQ(f.maxSize, 0);
  EXPECT_EQ(f.data, nullptr);
}

void ExpectEmptyState(const PtrListC& list) { EXPECT_EQ(list.GetCount(), 0); }

// ---------------------------------------------------------------------------
// The sweep.

// The state an object must be in after a failed operation.
enum class After {
  kUnchanged,     // exactly as before: fields, block, every element
  kSameElements,  // the same elements (texts where they were); the block may differ
  kEmpty,         // the empty state of its class
  kCustom,        // only the invariants and the entry's own check
  kAbsorbed,      // the operation cannot fail: it must succeed (entry's check) anyway
};

// Every subject is a pair: `first` is the object operated on, `second` an
// operand that no operation may change.
template <class T>
struct Pair {
  T first;
  T second;
};

template <class T>
struct Entry {
  void (*setup)(Pair<T>&);
  void (*operation)(Pair<T>&);
  After after;
  // Extra check after a failure (may be null); `before` describes `first`.
  void (*check)(const Pair<T>& now, const std::string& before);
};

struct SweepCase {
  std::string name;
  // Runs the sweep in one mode; returns the failure points exercised, or -1
  // when the sweep did not finish.
  std::function<long long(bool andAfter)> run;
};

// gtest prints the case by name.
void PrintTo(const SweepCase& c, std::ostream* out) { *out << c.name; }

template <class T>
long long Sweep(const Entry<T>& entry, bool andAfter) {
  for (long long n = 1; n <= kMaxFailurePoints; ++n) {
    const long long liveBefore = quarn::test::Stats().liveBlocks;
    bool threw = false;
    long long injected = 0;
    {
      Pair<T> subject;
      entry.setup(subject);
      const std::string before = Describe(subject.first);
      const std::string elementsBefore = DescribeElements(subject.first);
      const std::string operandBefore = Describe(subject.second);
      {
        quarn::test::FailureScope fail(n, andAfter);
        try {
          entry.operation(subject);
        } catch (const std::bad_alloc&) {
          threw = true;
        }
        injected = quarn::test::InjectedFailures();
      }
      ExpectInvariants(subject.first);
      ExpectInvariants(subject.second);
      EXPECT_EQ(Describe(subject.second), operandBefore) << "the operand changed";
      if (entry.after == After::kAbsorbed) {
        EXPECT_FALSE(threw) << "an operation that cannot fail threw std::bad_alloc";
        if (entry.check != nullptr) entry.check(subject, before);
        threw = injected > 0;  // go on while failures are still being absorbed
      } else if (threw) {
        EXPECT_GT(injected, 0) << "std::bad_alloc without a failed allocation";
        switch (entry.after) {
          case After::kUnchanged:
            EXPECT_EQ(Describe(subject.first), before);
            break;
          case After::kSameElements:
            EXPECT_EQ(DescribeElements(subject.first), elementsBefore);
            break;
          case After::kEmpty:
            ExpectEmptyState(subject.first);
            break;
          case After::kCustom:
          case After::kAbsorbed:
            break;
        }
        if (entry.check != nullptr) entry.check(subject, before);
      } else {
        EXPECT_EQ(injected, 0) << "a failed allocation did not reach the caller";
      }
    }
    EXPECT_EQ(quarn::test::Stats().liveBlocks, liveBefore) << "leaked after a failure";
    if (::testing::Test::HasFailure()) return n;
    if (!threw) return n - 1;
  }
  return -1;
}

template <class T>
SweepCase Case(std::string name, void (*setup)(Pair<T>&), void (*operation)(Pair<T>&), After after,
               void (*check)(const Pair<T>&, const std::string&) = nullptr) {
  const Entry<T> entry{setup, operation, after, check};
  return {std::move(name), [entry](bool andAfter) { return Sweep(entry, andAfter); }};
}

// ---------------------------------------------------------------------------
// StringC

using StrPair = Pair<StringC>;

// "abc" in an exact buffer, and a longer operand.
void ShortAndLong(StrPair& p) {
  p.first = "abc";
  p.second = "a longer text";
}
// "abc" with room for 3 more characters (the next append of 3 fits, of 4 not).
void SpareCapacity(StrPair& p) {
  p.first = "abcdef";
  p.first = "abc";
  p.second = "wxyz";
}
// Meta patterns with several stars and escapes to normalise.
void Patterns(StrPair& p) {
  p.first = "a**b\\*c*?d";
  p.second = "a*\\**?d";
}
// An empty printf-style result: no characters, yet a private one-byte buffer.
void PrivateEmptyBuffer(StrPair& p) {
  p.first.~StringC();
  new (&p.first) StringC(8u, "%s", "");
}

std::vector<SweepCase> StringCases() {
  return {
      // Construction: nothing is built, the source stays as it was.
      Case<StringC>(
          "StringC copy constructor", ShortAndLong, [](StrPair& p) { StringC copy(p.first); },
          After::kUnchanged),
      Case<StringC>(
          "StringC(const char*)", ShortAndLong, [](StrPair&) { StringC s("text"); },
          After::kUnchanged),
      Case<StringC>(
          "StringC(char, int)", ShortAndLong, [](StrPair&) { StringC s('x', 40); },
          After::kUnchanged),
      Case<StringC>(
          "StringC(const char*, int)", ShortAndLong, [](StrPair&) { StringC s("a\0b", 3); },
          After::kUnchanged),
      Case<StringC>(
          "StringC(std::string_view)", ShortAndLong,
          [](StrPair&) { StringC s(std::string_view("a\0b", 3)); }, After::kUnchanged),
      Case<StringC>(
          "StringC printf-style", ShortAndLong, [](StrPair&) { StringC s(64u, "%s=%d", "n", 42); },
          After::kUnchanged),
      // Assignment releases before it allocates: a failure leaves the empty state.
      Case<StringC>(
          "StringC operator=(const StringC&)", ShortAndLong, [](StrPair& p) { p.first = p.second; },
          After::kEmpty),
      Case<StringC>(
          "StringC operator=(const char*)", ShortAndLong,
          [](StrPair& p) { p.first = "a longer text"; }, After::kEmpty),
      Case<StringC>(
          "StringC operator=(char) on the empty state", ShortAndLong,
          [](StrPair& p) {
            p.first.Empty();
            p.first = 'x';
          },
          After::kEmpty),
      Case<StringC>(
          "StringC operator=(char) on a private empty buffer", PrivateEmptyBuffer,
          [](StrPair& p) { p.first = 'x'; }, After::kEmpty),
      // The buffer protocol stores a new buffer only once it has it.
      Case<StringC>(
          "StringC GetBuffer", ShortAndLong, [](StrPair& p) { p.first.GetBuffer(20); },
          After::kUnchanged),
      Case<StringC>(
          "StringC GetBufferSetLength", ShortAndLong,
          [](StrPair& p) { p.first.GetBufferSetLength(20)[19] = 'z'; }, After::kUnchanged),
      // Appending keeps the string as it was on failure.
      Case<StringC>(
          "StringC operator+=(const char*)", ShortAndLong, [](StrPair& p) { p.first += "defg"; },
          After::kUnchanged),
      Case<StringC>(
          "StringC operator+=(const char*) past spare capacity", SpareCapacity,
          [](StrPair& p) { p.first += "defg"; }, After::kUnchanged),
      Case<StringC>(
          "StringC operator+=(char)", ShortAndLong, [](StrPair& p) { p.first += 'd'; },
          After::kUnchanged),
      Case<StringC>(
          "StringC operator+=(const StringC&)", ShortAndLong,
          [](StrPair& p) { p.first += p.second; }, After::kUnchanged),
      Case<StringC>(
          "StringC operator+= itself", ShortAndLong, [](StrPair& p) { p.first += p.first; },
          After::kUnchanged),
      Case<StringC>(
          "StringC operator+= its own text", ShortAndLong,
          [](StrPair& p) { p.first += static_cast<const char*>(p.first) + 1; }, After::kUnchanged),
      // New strings from operands that stay untouched.
      Case<StringC>(
          "operator+(StringC, StringC)", ShortAndLong,
          [](StrPair& p) { StringC r = p.first + p.second; }, After::kUnchanged),
      Case<StringC>(
          "operator+(StringC, const char*)", ShortAndLong,
          [](StrPair& p) { StringC r = p.first + "xy"; }, After::kUnchanged),
      Case<StringC>(
          "operator+(const char*, StringC)", ShortAndLong,
          [](StrPair& p) { StringC r = "xy" + p.first; }, After::kUnchanged),
      Case<StringC>(
          "operator+(StringC, char)", ShortAndLong, [](StrPair& p) { StringC r = p.first + 'x'; },
          After::kUnchanged),
      Case<StringC>(
          "operator+(char, StringC)", ShortAndLong, [](StrPair& p) { StringC r = 'x' + p.first; },
          After::kUnchanged),
      // Comparison with C text (may build a temporary).
      Case<StringC>(
          "StringC comparison operators with const char*", ShortAndLong,
          [](StrPair& p) {
            bool r = p.first == "abc";
            r = (p.first != "abd") && r;
            r = (p.first < "abd") && r;
            r = (p.first <= "abc") && r;
            r = (p.first > "abb") && r;
            r = (p.first >= "abc") && r;
            EXPECT_TRUE(r);
          },
          After::kUnchanged),
      // Meta patterns are read in place; only comparing long ones allocates a table.
      Case<StringC>(
          "StringC IsMetaMatch", Patterns,
          [](StrPair& p) { static_cast<void>(p.second.IsMetaMatch(p.first)); }, After::kUnchanged),
      Case<StringC>(
          "StringC MetaCompare", Patterns,
          [](StrPair& p) { static_cast<void>(p.first.MetaCompare(p.second)); }, After::kUnchanged),
      // Extraction builds new strings.
      Case<StringC>(
          "StringC Mid(start, count)", ShortAndLong,
          [](StrPair& p) { StringC r = p.first.Mid(1, 2); }, After::kUnchanged),
      Case<StringC>(
          "StringC Mid(start)", ShortAndLong, [](StrPair& p) { StringC r = p.first.Mid(1); },
          After::kUnchanged),
      Case<StringC>(
          "StringC Left", ShortAndLong, [](StrPair& p) { StringC r = p.first.Left(2); },
          After::kUnchanged),
      Case<StringC>(
          "StringC Right", ShortAndLong, [](StrPair& p) { StringC r = p.first.Right(2); },
          After::kUnchanged),
      Case<StringC>(
          "StringC SpanIncluding", ShortAndLong,
          [](StrPair& p) { StringC r = p.first.SpanIncluding("ab"); }, After::kUnchanged),
      Case<StringC>(
          "StringC SpanExcluding", ShortAndLong,
          [](StrPair& p) { StringC r = p.first.SpanExcluding("c"); }, After::kUnchanged),
      Case<StringC>(
          "StringC mid(start, end)", ShortAndLong,
          [](StrPair& p) { StringC r = p.first.mid(1, -1); }, After::kUnchanged),
      // Tokenising: the block of tokens and their texts.
      Case<StringC>(
          "StringC parse", [](StrPair& p) { p.first = ",ab,,c d,efg,"; },
          [](StrPair& p) { StringAC tokens = p.first.parse(", "); }, After::kUnchanged),
  };
}

// SetSize(n, 7) stores growBy 7 first; on failure nothing else changes.
template <class A>
void GrowByStored(const Pair<A>& now, const std::string& before) {
  std::string expected = before;
  expected.replace(expected.find("growBy=0"), 8, "growBy=7");
  EXPECT_EQ(Describe(now.first), expected);
}

// ---------------------------------------------------------------------------
// StringAC

using ArrPair = Pair<StringAC>;

// Three elements (one of them empty) in a full block, and a two-element operand.
void FullArray(ArrPair& p) {
  p.first.Add("one");
  p.first.Add("");
  p.first.Add("three");
  p.first.FreeExtra();
  p.second.Add("four");
  p.second.Add("five");
}
// The same elements with spare capacity.
void SpareArray(ArrPair& p) {
  FullArray(p);
  p.first.SetSize(8);
  p.first.SetSize(3);
}

std::vector<SweepCase> StringArrayCases() {
  return {
      Case<StringAC>(
          "StringAC(int)", FullArray, [](ArrPair&) { StringAC a(5); }, After::kUnchanged),
      Case<StringAC>(
          "StringAC copy constructor", FullArray, [](ArrPair& p) { StringAC copy(p.first); },
          After::kUnchanged),
      Case<StringAC>(
          "StringAC copy constructor, twelve texts",
          [](ArrPair& p) {
            for (int i = 0; i < 12; ++i) p.first.Add(i % 3 ? "text" : "");
            p.first.Add("last");
          },
          [](ArrPair& p) { StringAC copy(p.first); }, After::kUnchanged),
      // Copy assignment, like that of the other containers, copies first.
      Case<StringAC>(
          "StringAC operator=", FullArray, [](ArrPair& p) { p.first = p.second; },
          After::kUnchanged),
      Case<StringAC>(
          "StringAC operator= with spare capacity", SpareArray,
          [](ArrPair& p) { p.first = p.second; }, After::kUnchanged),
      Case<StringAC>(
          "StringAC operator+=(const StringAC&)", FullArray,
          [](ArrPair& p) { p.first += p.second; }, After::kUnchanged),
      Case<StringAC>(
          "StringAC operator+= itself", FullArray, [](ArrPair& p) { p.first += p.first; },
          After::kUnchanged),
      Case<StringAC>(
          "StringAC operator+=(const StringC&)", FullArray,
          [](ArrPair& p) { p.first += p.second[0]; }, After::kUnchanged),
      Case<StringAC>(
          "StringAC operator+= its own element", FullArray,
          [](ArrPair& p) { p.first += p.first[2]; }, After::kUnchanged),
      Case<StringAC>(
          "StringAC operator+(const StringAC&)", FullArray,
          [](ArrPair& p) { StringAC r = p.first + p.second; }, After::kUnchanged),
      Case<StringAC>(
          "StringAC operator+(const StringC&)", FullArray,
          [](ArrPair& p) { StringAC r = p.first + p.second[0]; }, After::kUnchanged),
      Case<StringAC>(
          "StringAC GetAt", FullArray,
          [](ArrPair& p) { StringC r = static_cast<const StringAC&>(p.first).GetAt(0); },
          After::kUnchanged),
      Case<StringAC>(
          "StringAC SetSize growing", FullArray, [](ArrPair& p) { p.first.SetSize(12, 7); },
          After::kCustom, GrowByStored<StringAC>),
      Case<StringAC>(
          "StringAC FreeExtra", SpareArray, [](ArrPair& p) { p.first.FreeExtra(); },
          After::kUnchanged),
      Case<StringAC>(
          "StringAC SetAt", FullArray, [](ArrPair& p) { p.first.SetAt(1, "two"); }, After::kCustom,
          [](const ArrPair& now, const std::string&) {
            // The element is a StringC assignment target: as it was (empty) or empty.
            EXPECT_EQ(now.first.GetSize(), 3);
            EXPECT_EQ(FieldsOf(now.first).data[1].length(), 0u);
          }),
      Case<StringAC>(
          "StringAC SetAtGrow", FullArray, [](ArrPair& p) { p.first.SetAtGrow(5, "six"); },
          After::kSameElements),
      Case<StringAC>(
          "StringAC Add", FullArray, [](ArrPair& p) { p.first.Add("four"); }, After::kSameElements),
      Case<StringAC>(
          "StringAC Add within capacity", SpareArray, [](ArrPair& p) { p.first.Add("four"); },
          After::kUnchanged),
      Case<StringAC>(
          "StringAC InsertAt(text)", FullArray, [](ArrPair& p) { p.first.InsertAt(1, "new", 3); },
          After::kSameElements),
      Case<StringAC>(
          "StringAC InsertAt(text) past the end", FullArray,
          [](ArrPair& p) { p.first.InsertAt(5, "new", 2); }, After::kSameElements),
      Case<StringAC>(
          "StringAC InsertAt(array)", FullArray, [](ArrPair& p) { p.first.InsertAt(1, &p.second); },
          After::kSameElements),
      Case<StringAC>(
          "StringAC InsertAt(itself)", SpareArray,
          [](ArrPair& p) { p.first.InsertAt(1, &p.first); }, After::kSameElements),
      Case<StringAC>(
          "StringAC sort unique, no case",
          [](ArrPair& p) {
            FullArray(p);
            p.first.Add("ONE");
          },
          [](ArrPair& p) { p.first.sort(1, 1); }, After::kAbsorbed,
          [](const ArrPair& now, const std::string&) {
            // "one" and "ONE" are one element without regard to case.
            ASSERT_EQ(now.first.GetSize(), 3);
            EXPECT_EQ(now.first.GetAt(0).length(), 0u);
            EXPECT_EQ(now.first.GetAt(1).CompareNoCase("one"), 0);
            EXPECT_TRUE(now.first.GetAt(2) == "three");
          }),
  };
}

// ---------------------------------------------------------------------------
// Scalar arrays: one list of cases for the three classes.

double ValueOf(DblArrayC*, int i) { return i + 0.5; }
void* ValueOf(PtrArrayC*, int i) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(16 * i));
}
unsigned int ValueOf(UIntArrayC*, int i) { return 1000u + static_cast<unsigned int>(i); }

template <class A>
auto V(int i) {
  return ValueOf(static_cast<A*>(nullptr), i);
}

// Four elements in a full block; a three-element operand.
template <class A>
void FullScalars(Pair<A>& p) {
  for (int i = 1; i <= 4; ++i) p.first.Add(V<A>(i));
  p.first.FreeExtra();
  for (int i = 5; i <= 7; ++i) p.second.Add(V<A>(i));
}
template <class A>
void SpareScalars(Pair<A>& p) {
  FullScalars(p);
  p.first.SetSize(9);
  p.first.SetSize(4);
}

template <class A>
std::vector<SweepCase> ScalarCases(const std::string& cls) {
  using P = Pair<A>;
  return {
      Case<A>(
          cls + " copy constructor", FullScalars<A>, [](P& p) { A copy(p.first); },
          After::kUnchanged),
      Case<A>(
          cls + " operator=", FullScalars<A>, [](P& p) { p.first = p.second; }, After::kUnchanged),
      Case<A>(
          cls + " SetSize growing", FullScalars<A>, [](P& p) { p.first.SetSize(10, 7); },
          After::kCustom, GrowByStored<A>),
      Case<A>(
          cls + " FreeExtra", SpareScalars<A>, [](P& p) { p.first.FreeExtra(); },
          After::kUnchanged),
      Case<A>(
          cls + " Add", FullScalars<A>, [](P& p) { p.first.Add(V<A>(9)); }, After::kUnchanged),
      Case<A>(
          cls + " SetAtGrow", FullScalars<A>, [](P& p) { p.first.SetAtGrow(8, V<A>(9)); },
          After::kUnchanged),
      Case<A>(
          cls + " InsertAt(value, count)", FullScalars<A>,
          [](P& p) { p.first.InsertAt(2, V<A>(9), 3); }, After::kUnchanged),
      Case<A>(
          cls + " InsertAt past the end", FullScalars<A>,
          [](P& p) { p.first.InsertAt(6, V<A>(9), 0); }, After::kUnchanged),
      Case<A>(
          cls + " InsertAt(array)", FullScalars<A>, [](P& p) { p.first.InsertAt(1, &p.second); },
          After::kUnchanged),
      Case<A>(
          cls + " InsertAt(itself)", FullScalars<A>, [](P& p) { p.first.InsertAt(1, &p.first); },
          After::kUnchanged),
  };
}

// ---------------------------------------------------------------------------
// PtrListC

using ListPair = Pair<PtrListC>;

void* Item(int i) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(8 * i)); }

// Four elements filling two blocks of two nodes; a three-element operand.
void FullList(ListPair& p) {
  p.first = PtrListC(2);
  for (int i = 1; i <= 4; ++i) p.first.AddTail(Item(i));
  p.second = PtrListC(1);
  for (int i = 5; i <= 7; ++i) p.second.AddTail(Item(i));
}

std::vector<void*> Items(const PtrListC& list) {
  std::vector<void*> items;
  for (POSITION p = list.GetHeadPosition(); p != nullptr;) items.push_back(list.GetNext(p));
  return items;
}

// After AddHead(other) fails, the list is a tail of other's elements in front of
// its own; after AddTail(other), its own followed by a head of other's.
void PartialAddHead(const ListPair& now, const std::string&) {
  const std::vector<void*> own{Item(1), Item(2), Item(3), Item(4)};
  const std::vector<void*> added{Item(5), Item(6), Item(7)};
  const std::vector<void*> items = Items(now.first);
  ASSERT_GE(items.size(), own.size());
  const std::size_t extra = items.size() - own.size();
  ASSERT_LT(extra, added.size());
  EXPECT_EQ(std::vector<void*>(items.end() - 4, items.end()), own);
  EXPECT_EQ(std::vector<void*>(items.begin(), items.end() - 4),
            std::vector<void*>(added.end() - static_cast<long>(extra), added.end()));
}
void PartialAddTail(const ListPair& now, const std::string&) {
  const std::vector<void*> own{Item(1), Item(2), Item(3), Item(4)};
  const std::vector<void*> added{Item(5), Item(6), Item(7)};
  const std::vector<void*> items = Items(now.first);
  ASSERT_GE(items.size(), own.size());
  const std::size_t extra = items.size() - own.size();
  ASSERT_LT(extra, added.size());
  EXPECT_EQ(std::vector<void*>(items.begin(), items.begin() + 4), own);
  EXPECT_EQ(std::vector<void*>(items.begin() + 4, items.end()),
            std::vector<void*>(added.begin(), added.begin() + static_cast<long>(extra)));
}

std::vector<SweepCase> ListCases() {
  return {
      Case<PtrListC>(
          "PtrListC AddHead", FullList, [](ListPair& p) { p.first.AddHead(Item(9)); },
          After::kUnchanged),
      Case<PtrListC>(
          "PtrListC AddTail", FullList, [](ListPair& p) { p.first.AddTail(Item(9)); },
          After::kUnchanged),
      Case<PtrListC>(
          "PtrListC InsertBefore", FullList,
          [](ListPair& p) { p.first.InsertBefore(p.first.FindIndex(2), Item(9)); },
          After::kUnchanged),
      Case<PtrListC>(
          "PtrListC InsertAfter", FullList,
          [](ListPair& p) { p.first.InsertAfter(p.first.FindIndex(3), Item(9)); },
          After::kUnchanged),
      Case<PtrListC>(
          "PtrListC AddHead(list)", FullList, [](ListPair& p) { p.first.AddHead(&p.second); },
          After::kCustom, PartialAddHead),
      Case<PtrListC>(
          "PtrListC AddTail(list)", FullList, [](ListPair& p) { p.first.AddTail(&p.second); },
          After::kCustom, PartialAddTail),
      Case<PtrListC>(
          "PtrListC copy constructor", FullList, [](ListPair& p) { PtrListC copy(p.first); },
          After::kUnchanged),
      // Three one-node blocks: the copy fails at its first, second or third block.
      Case<PtrListC>(
          "PtrListC copy constructor, one node per block", FullList,
          [](ListPair& p) { PtrListC copy(p.second); }, After::kUnchanged),
      Case<PtrListC>(
          "PtrListC operator= from one-node blocks",
          [](ListPair& p) {
            FullList(p);
            p.first = PtrListC(1);
            p.first.AddTail(Item(9));
          },
          [](ListPair& p) { p.first = p.second; }, After::kUnchanged),
      Case<PtrListC>(
          "PtrListC operator=", FullList, [](ListPair& p) { p.first = p.second; },
          After::kUnchanged),
  };
}

std::vector<SweepCase> AllCases() {
  std::vector<SweepCase> all;
  for (auto part :
       {StringCases(), StringArrayCases(), ScalarCases<DblArrayC>("DblArrayC"),
        ScalarCases<PtrArrayC>("PtrArrayC"), ScalarCases<UIntArrayC>("UIntArrayC"), ListCases()}) {
    for (SweepCase& c : part) all.push_back(std::move(c));
  }
  return all;
}

std::string TestName(const testing::TestParamInfo<SweepCase>& info) {
  std::string name;
  for (char c : info.param.name) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += c;
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name + "_" + std::to_string(info.index);
}

class AllocFailureSweep : public testing::TestWithParam<SweepCase> {};

TEST_P(AllocFailureSweep, FailureLeavesPromisedStateAndLeaksNothing) {
  const SweepCase& c = GetParam();
  const long long single = c.run(false);
  ASSERT_FALSE(HasFailure()) << c.name << ": failing only allocation " << single;
  const long long andAfter = c.run(true);
  ASSERT_FALSE(HasFailure()) << c.name << ": failing allocation " << andAfter << " and later";
  EXPECT_NE(single, -1) << c.name << " still failing after " << kMaxFailurePoints << " points";
  EXPECT_NE(andAfter, -1) << c.name << " still failing after " << kMaxFailurePoints << " points";
  std::printf("[  sweep   ] %-52s %3lld failure points (single), %3lld (and after)\n",
              c.name.c_str(), single, andAfter);
}

INSTANTIATE_TEST_SUITE_P(Operations, AllocFailureSweep, testing::ValuesIn(AllCases()), TestName);

}  // namespace
