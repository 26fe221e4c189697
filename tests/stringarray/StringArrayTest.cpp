#include <quarnbase/StringAC.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <initializer_list>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "AllocHarness.h"

namespace {

using quarn::test::FailureScope;
using V = std::vector<std::string>;

// Reads the protected fields of an array.
struct Peek : StringAC {
  static const StringC* Data(const StringAC& a) { return a.*(&Peek::data); }
  static int GrowBy(const StringAC& a) { return a.*(&Peek::growBy); }
};

// The elements' bytes, zero bytes included.
V Texts(const StringAC& a) {
  V out;
  for (int i = 0; i < a.GetSize(); ++i) {
    const StringC& s = Peek::Data(a)[i];
    out.emplace_back(static_cast<char*>(s), s.length());
  }
  return out;
}

StringAC Make(std::initializer_list<const char*> texts) {
  StringAC a;
  for (const char* t : texts) a.Add(t);
  return a;
}

template <class F>
std::string Stderr(F f) {
  testing::internal::CaptureStderr();
  f();
  return testing::internal::GetCapturedStderr();
}

// Element count, capacity and growBy.
std::vector<int> Shape(const StringAC& a) { return {a.GetSize(), a.size(), Peek::GrowBy(a)}; }

const std::string kYZ("y\0z", 3);

// Runs `op` on a fresh [a, b, c] (capacity 11), failing its 1st, 2nd, ...
// allocation until it succeeds; each failure must leave `expected` behind.
template <class Op>
void ExpectFailuresLeave(const V& expected, int expectedSize, Op op) {
  for (long long n = 1; n < 50; ++n) {
    StringAC a = Make({"a", "b", "c"});
    try {
      FailureScope fail(n);
      return op(a);
    } catch (const std::bad_alloc&) {
    }
    EXPECT_EQ(Texts(a), expected) << "failing allocation " << n;
    EXPECT_EQ(a.size(), expectedSize) << "failing allocation " << n;
  }
  ADD_FAILURE() << "operation never succeeded";
}

TEST(StringACStorage, ConstructionAndGrowthPolicy) {
  StringAC none, three(3), grown, a(11);
  EXPECT_EQ(Shape(none), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(none.GetUpperBound() + none.length(), -1);
  EXPECT_EQ(Texts(three), V(3));
  EXPECT_EQ(static_cast<char*>(Peek::Data(three)[2]), static_cast<char*>(StringC::emptyPrototype));
  std::vector<int> sizes;
  for (int i = 0; i < 27; ++i) {
    EXPECT_EQ(grown.Add("x"), i);
    if (i == 0 || i == 1 || i == 11 || i == 26) sizes.push_back(grown.size());
  }
  EXPECT_EQ(sizes, (std::vector<int>{1, 11, 26, 49}));

  auto sizeAfter = [&](int newSize, int newGrowBy) {
    return a.SetSize(newSize, newGrowBy), a.size();
  };
  // growBy 4, kept by -1, then the default (40 / 2 + 10), then exact for a negative one.
  EXPECT_EQ(
      (std::vector<int>{sizeAfter(11, 4), sizeAfter(12, -1), sizeAfter(40, -1), sizeAfter(41, 0),
                        sizeAfter(0, 7), sizeAfter(2, -5), sizeAfter(3, -1)}),
      (std::vector<int>{11, 15, 40, 70, 0, 2, 3}));
  EXPECT_EQ(Peek::GrowBy(a), -5);
}

TEST(StringACStorage, NegativeSizeAndOutOfRangeReads) {
  StringAC* bad = nullptr;
  EXPECT_EQ(Stderr([&] { bad = new StringAC(-2); }), "Invalid size (-2) for StringAC");
  EXPECT_EQ(Shape(*bad), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(bad->Add("ok"), 0);
  delete bad;

  StringAC a = Make({"a", "b", "c"}), empty;
  const StringAC& ca = a;
  quarn::test::LeakCounter leaks;
  // On a thread of its own, since a thread's scratch lives as long as the thread.
  std::thread([&] {
    EXPECT_EQ(
        Stderr([&] { EXPECT_TRUE(a.ElementAt(5).IsEmpty() && ca.GetAt(3).IsEmpty()); }),
        "StringAC index out of range 5 (0-2 allowed)StringAC index out of range 3 (0-2 allowed)");
    EXPECT_EQ(
        Stderr([&] { empty[0], ca[-1]; }),
        "StringAC index out of range 0 (0--1 allowed)StringAC index out of range -1 (0-2 allowed)");
    quarn::test::LeakCounter text;  // the scratch starts empty and gives up what it was given
    Stderr([&] { a[9] = "written into the scratch"; });
    EXPECT_EQ(text.LiveBlocks(), 1);
    Stderr([&] { EXPECT_TRUE(a[9].IsEmpty()); });
    EXPECT_EQ(text.LiveBlocks(), 0);
    Stderr([&] { a[9] = "kept until the thread ends"; });
  }).join();
  EXPECT_EQ(leaks.LiveBlocks(), 0);
  a[1] = "B";  // in range: the element itself
  EXPECT_EQ(Texts(a), (V{"a", "B", "c"}));
}

TEST(StringACStorage, MutatorsIgnoreArgumentsOutsideTheElements) {
  StringAC a = Make({"a", "b", "c"});
#ifndef QUARNBASE_HARDENED  // which stops at most of these (the death test below)
  EXPECT_EQ(Stderr([&] {
              a.SetAt(3, "x"), a.SetAt(-1, "x"), a.SetSize(-1, 9), a.SetAtGrow(-1, "x");
              a.InsertAt(-1, "x", 1), a.InsertAt(0, "x", -1), a.InsertAt(-1, &a);
              a.RemoveAt(-1, 1), a.RemoveAt(0, -1), a.RemoveAt(3, 1), a.truncate(4), a.truncate(-1);
            }),
            "");
#endif
  EXPECT_THROW(a.InsertAt(1, "x", INT_MAX), std::bad_alloc);
  EXPECT_THROW(a.SetAtGrow(INT_MAX, "x"), std::bad_alloc);
  // INT_MAX records: requested exactly, or refused.
  using quarn::test::FailedRequestOf;
  const long long block = quarn::test::RequestFor(0x7FFFFFFFull * sizeof(StringC));
  EXPECT_EQ(FailedRequestOf([&] { a.SetSize(INT_MAX); }), block);
  EXPECT_EQ(FailedRequestOf([&] { a.InsertAt(1, "x", INT_MAX - 3); }), block);
  EXPECT_EQ(FailedRequestOf([] { StringAC big(INT_MAX); }), block);
  EXPECT_EQ(Texts(a), (V{"a", "b", "c"}));
  EXPECT_EQ(Peek::GrowBy(a), 0);
#ifndef QUARNBASE_HARDENED
  a.RemoveAt(1, 100);  // clamped to the elements present
  EXPECT_EQ(Texts(a), V{"a"});
#endif
}

#if defined(QUARNBASE_HARDENED)
// A hardened build stops where the default one ignores the arguments; the
// read accessors still print their message and go on.
TEST(StringACStorageDeathTest, HardenedBuildsStopAtMutatorArgumentsOutsideTheElements) {
  StringAC a = Make({"a", "b", "c"});
  EXPECT_DEATH(a.SetAt(3, "x"), "StringAC::SetAt: index out of range: 3 \\(0-2 allowed\\)");
  EXPECT_DEATH(a.InsertAt(0, "x", -1), "StringAC::InsertAt: negative index 0 or count -1");
  EXPECT_DEATH(a.InsertAt(-1, &a), "StringAC::InsertAt: negative index -1");
  EXPECT_DEATH(a.RemoveAt(2, 2),
               "StringAC::RemoveAt: index 2 and count 2 out of range \\(3 elements\\)");
  EXPECT_DEATH(a.RemoveAt(-1, 1), "RemoveAt: index -1");
  a.RemoveAt(3, 0);  // in range: nothing to remove
  EXPECT_EQ(Stderr([&] { EXPECT_TRUE(a[3].IsEmpty()); }),
            "StringAC index out of range 3 (0-2 allowed)");
}
#endif

TEST(StringACStorage, InsertRemoveAndTruncate) {
  StringAC a = Make({"a", "b", "c"}), other = Make({"x"}), blockOnly(2);
  a.InsertAt(1, "x", 2);
  EXPECT_EQ(Texts(a), (V{"a", "x", "x", "b", "c"}));
  a.RemoveAt(1, 3), a.InsertAt(4, "x", 1), a.InsertAt(5, nullptr, 0), a.SetAtGrow(6, "y");
  EXPECT_EQ(Texts(a), (V{"a", "c", "", "", "x", "", "y"}));
  EXPECT_EQ(a.size(), 11);
  a.truncate(1, 0);
  other += StringC(kYZ.data(), 3);
  a.InsertAt(0, &other), a.InsertAt(5, static_cast<const StringAC*>(nullptr));
  EXPECT_EQ(Texts(a), (V{"x", "y", "a"}));  // C texts: cut at the zero byte
  a.InsertAt(1, &a);                        // the elements as they were
  EXPECT_EQ(Texts(a), (V{"x", "x", "y", "a", "y", "a"}));
  blockOnly.truncate(0), blockOnly.InsertAt(0, "v", 0);  // SetSize(0): the block goes
  EXPECT_EQ(blockOnly.size(), 0);
  a.SetSize(1, 3), a.RemoveAll();
  EXPECT_EQ(Shape(a), (std::vector<int>{0, 0, 3}));
}

TEST(StringACStorage, CopyAssignAppendAndFreeExtra) {
  StringAC a = Make({"a", "b", "c"});
  a.SetSize(3, 5);
  StringAC copy(a);
  EXPECT_EQ(Texts(copy), Texts(a));
  EXPECT_EQ(Shape(copy), (std::vector<int>{3, 3, 0}));
  EXPECT_NE(static_cast<char*>(copy[0]), static_cast<char*>(a[0]));
  StringAC& alias = copy;
  copy = StringAC(2), copy = a, copy = alias;
  EXPECT_EQ(Texts(copy), Texts(a));
  StringAC moved(std::move(a));  // rvalues are copied: an exact block, growBy 0
  EXPECT_EQ(Texts(moved), (V{"a", "b", "c"}));
  EXPECT_EQ(Shape(moved), (std::vector<int>{3, 3, 0}));
  EXPECT_EQ(Shape(a), (std::vector<int>{3, 11, 5}));

  const char* b = moved[1];
  moved += moved[1];  // records move to an exact block; texts stay
  EXPECT_EQ(static_cast<char*>(moved[1]), b);
  moved += moved;
  EXPECT_EQ(Texts(moved), (V{"a", "b", "c", "b", "a", "b", "c", "b"}));
  moved += StringAC(), moved.SetSize(2);
  EXPECT_EQ(moved.size(), 8);
  const StringAC sum = moved + Make({"z"}) + StringC("w");
  EXPECT_EQ(Texts(sum), (V{"a", "b", "z", "w"}));
  EXPECT_EQ(Shape(sum), (std::vector<int>{4, 4, 0}));
  EXPECT_EQ(Shape(StringAC() + StringAC()), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Texts(moved), (V{"a", "b"}));

  moved.FreeExtra();
  const StringC* exact = Peek::Data(moved);
  moved.FreeExtra();
  EXPECT_EQ(Peek::Data(moved), exact);
  EXPECT_EQ(moved.size(), 2);
  moved.truncate(0), moved.FreeExtra();
  EXPECT_EQ(Peek::Data(moved), nullptr);
}

TEST(StringACStorage, RangeCoversTheElementsNotTheCapacity) {
  StringAC a = Make({"a", "b"});
  for (StringC& s : a) s += "!";
  const StringAC& c = a;
  EXPECT_EQ(V(c.begin(), c.end()), (V{"a!", "b!"}));
  EXPECT_EQ(std::find(c.begin(), c.end(), StringC("b!")) - c.begin(), 1);
  const StringAC none;
  EXPECT_TRUE(none.begin() == nullptr && none.end() == nullptr);
}

TEST(StringACStorage, FailedAllocationsLeaveTheElements) {
  const V abc{"a", "b", "c"};
  const StringAC xy = Make({"x", "y"});
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { a.SetSize(12); });
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { a.FreeExtra(); });
  ExpectFailuresLeave(abc, 11, [&](StringAC& a) { a += xy; });
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { a += a[0]; });
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { a += a; });
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { a.Add("x"); });
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { a.SetAtGrow(5, "y"); });
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { a.InsertAt(1, "x", 3); });
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { a.InsertAt(1, &a); });
  ExpectFailuresLeave(abc, 11, [](StringAC& a) { StringAC copy(a); });
  ExpectFailuresLeave(abc, 11, [&](StringAC& a) { a = xy; });
}

TEST(StringACQuery, ParseGivesTheTokensOfStrtokWithoutItsState) {
  EXPECT_EQ(Texts(StringC("a,b,,c").parse(",")), (V{"a", "b", "c"}));
  EXPECT_EQ(Texts(StringC(" x  y ").parse(" ")), (V{"x", "y"}));
  EXPECT_EQ(Texts(StringC("a, b,c").parse(", ")), (V{"a", "b", "c"}));
  EXPECT_EQ(Texts(StringC("abc").parse("")), Texts(StringC("abc").parse(nullptr)));
  EXPECT_EQ(Texts(StringC("abc").parse("")), V{"abc"});
  EXPECT_EQ(Texts(StringC("a\0b,c", 5).parse(",")), V{"a"});
  const char highBytes[] = {'\xff', 'a', '\xff', '\0'};
  EXPECT_EQ(Texts(StringC(highBytes).parse(highBytes + 2)), V{"a"});
  EXPECT_EQ(Shape(StringC(",,,").parse(",")), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Shape(StringC().parse(",")), (std::vector<int>{0, 0, 0}));

  StringC text("t1 t2 t3 t4 t5 t6 t7 t8 t9 t10 t11 t12");
  const StringAC tokens = text.parse(" ");
  EXPECT_EQ(Shape(tokens), (std::vector<int>{12, 12, 0}));
  EXPECT_EQ(std::strlen(text), 38u);  // the string is not cut

  char own[] = "p q r";
  EXPECT_STREQ(std::strtok(own, " "), "p");
  static_cast<void>(StringC("u v").parse(" "));
  EXPECT_STREQ(std::strtok(nullptr, " "), "q");  // the caller's sequence goes on
}

TEST(StringACQuery, IndexAndSort) {
  const StringAC aba = Make({"a", "b", "a"});
  EXPECT_EQ((std::vector<int>{aba.index("a", 0), aba.index("a", 1), aba.index("a", 3),
                              aba.index("a", -4), aba.index("A", 0), aba.index(StringC("a", 2))}),
            (std::vector<int>{0, 2, -1, 0, -1, -1}));

  StringAC bac = Make({"b", "a", "C"}), dup = Make({"b", "a", "b", "a", "c", "b"});
  bac.sort(0, 0);
  EXPECT_EQ(Texts(bac), (V{"C", "a", "b"}));
  bac.sort(0, 1);
  EXPECT_EQ(Texts(bac), (V{"a", "b", "C"}));
  {
    FailureScope fail(1, true);  // removing duplicates allocates nothing
    dup.sort(1, 0);
  }
  EXPECT_EQ(Texts(dup), (V{"a", "b", "c"}));
  EXPECT_EQ(dup.size(), 11);
  StringAC cased = Make({"B", "a", "b"});
  cased.sort(1, 1);
  EXPECT_TRUE(Texts(cased) == (V{"a", "B"}) || Texts(cased) == (V{"a", "b"}));

  // The case mode is per thread: concurrent sorts keep their own.
  auto sortMany = [](int noCase, V expected) {
    for (int i = 0; i < 2000; ++i) {
      StringAC s = Make({"b", "a", "C"});
      s.sort(0, noCase);
      if (Texts(s) != expected) return false;
    }
    return true;
  };
  bool exact = false;
  std::thread other([&] { exact = sortMany(0, V{"C", "a", "b"}); });
  EXPECT_TRUE(sortMany(1, V{"a", "b", "C"}));
  other.join();
  EXPECT_TRUE(exact);
}

// Inputs of every shape the sort meets, named, each with duplicates, prefixes
// and ties at and across the 7-byte steps of its keys.
std::vector<std::pair<std::string, V>> SortShapes() {
  std::mt19937 random(7);
  const auto text = [&](std::size_t length, const std::string& alphabet) {
    std::string t(length, ' ');
    for (char& c : t) c = alphabet[random() % alphabet.size()];
    return t;
  };
  std::string anyByte;
  for (int b = 0; b < 256; ++b) anyByte += static_cast<char>(b);
  const std::string cased = "aAbBzZ[_`\x80";
  V bytes, letters, few, paths, numbers, prefixes;
  for (int i = 0; i < 600; ++i) bytes.push_back(text(random() % 21, anyByte));
  for (int i = 0; i < 2000; ++i) letters.push_back(text(random() % 17, cased));
  const V words{
      "pear",  "Pear", "PEAR",      "apple",          "apples",          "",
      "a\x80", "a",    "\xe9t\xe9", "zebra-crossing", "zebra-crossingS", "zebra-crossings"};
  for (int i = 0; i < 1500; ++i) few.push_back(words[random() % words.size()]);
  for (int i = 0; i < 800; ++i) {
    paths.push_back("/usr/share/doc/package-" + std::to_string(random() % 40) + "/changelog." +
                    std::to_string(random() % 20));
    numbers.push_back(std::to_string(random() % 3000));
  }
  numbers.push_back("007"), numbers.push_back("0");
  for (std::size_t n = 0; n <= 22; ++n) {  // each a prefix of the next, across key steps
    prefixes.push_back(std::string(n, '\x80'));
    prefixes.push_back(std::string(n, '\0'));
    prefixes.push_back("a" + std::string(n, '\x80'));
    prefixes.push_back(std::string(n, 'q') + "Q");
  }
  std::shuffle(prefixes.begin(), prefixes.end(), random);
  // Long equal texts and long shared prefixes, with case variants and
  // prefixes of each other deep inside, so the keys jump far.
  std::string longText = text(300, cased);
  const std::string longPrefix = text(1000, cased);
  longText[250] = 'q';
  V longRuns(200, longText);
  longRuns[7][250] = 'Q';
  longRuns[9] += 'x', longRuns[11].pop_back(), longRuns[13][0] = 'b';
  for (int i = 0; i < 200; ++i) longRuns.push_back(longPrefix + text(random() % 12, cased));
  std::shuffle(longRuns.begin(), longRuns.end(), random);
  V sorted = letters, reversed;
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return StringC(a.data(), static_cast<int>(a.size()))
               .Compare(StringC(b.data(), static_cast<int>(b.size())), StrCompExact) == StrCompLess;
  });
  reversed.assign(sorted.rbegin(), sorted.rend());
  return {{"edge bytes",
           {"b", "", "a", std::string("a\0", 2), "a\x80", "a\x7f", "\xe9t\xe9", "A", "abcdefghY",
            "abcdefghX", "abcdefgh", "ABCDEFGHx", "Z", "z", "\xff", "a"}},
          {"none", {}},
          {"one", {"x"}},
          {"random bytes", bytes},
          {"random letters", letters},
          {"sorted", sorted},
          {"reverse sorted", reversed},
          {"all equal", V(300, "an element of forty bytes, all the same.")},
          {"few distinct", few},
          {"long shared prefixes", paths},
          {"numbers", numbers},
          {"prefix chains", prefixes},
          {"long runs", longRuns}};
}

// Each byte through tolower, as Compare lowers it in StrCompNoCase mode.
V Lowered(V texts) {
  for (std::string& t : texts) {
    for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return texts;
}

// sort against a model: std::sort with Compare as the order, then the first of
// each run of equal neighbours. In both modes, with and without duplicate
// removal, with memory for the sort's key table and without it.
TEST(StringACQuery, SortMatchesTheModelOnEveryShape) {
  for (const auto& [shape, texts] : SortShapes()) {
    for (int noCase = 0; noCase < 2; ++noCase) {
      const StrCompModE mode = noCase != 0 ? StrCompNoCase : StrCompExact;
      std::vector<StringC> model;
      for (const std::string& t : texts) model.emplace_back(t.data(), static_cast<int>(t.size()));
      std::sort(model.begin(), model.end(), [mode](const StringC& a, const StringC& b) {
        return a.Compare(b, mode) == StrCompLess;
      });
      V all, firsts;
      for (const StringC& s : model) {
        if (all.empty() || s.Compare(model[all.size() - 1], mode) != StrCompEqual) {
          firsts.emplace_back(static_cast<char*>(s), s.length());
        }
        all.emplace_back(static_cast<char*>(s), s.length());
      }
      for (int unique = 0; unique < 2; ++unique) {
        for (long long failFirst : {0, 1}) {  // with the key table, and without
          StringAC a;
          for (const std::string& t : texts) a += StringC(t.data(), static_cast<int>(t.size()));
          const int capacity = a.size();
          {
            FailureScope fail(failFirst, true);
            a.sort(unique, noCase);
          }
          const std::string where = shape + ", mode " + std::to_string(noCase) + ", unique " +
                                    std::to_string(unique) + ", table " +
                                    std::to_string(failFirst == 0);
          const V expected = unique != 0 ? firsts : all;
          V got = Texts(a);
          EXPECT_EQ(a.size(), capacity) << where;
          if (noCase == 0) {
            EXPECT_EQ(got, expected) << where;
            continue;
          }
          // Without case, equal elements may be any of their case variants.
          EXPECT_EQ(Lowered(got), Lowered(expected)) << where;
          V kept = got, input = texts;
          std::sort(kept.begin(), kept.end()), std::sort(input.begin(), input.end());
          EXPECT_TRUE(std::includes(input.begin(), input.end(), kept.begin(), kept.end())) << where;
        }
      }
    }
  }
}

TEST(StringACQuery, RawStorageSortsFirst) {
  for (int noCase = 0; noCase < 2; ++noCase) {
    StringAC a = Make({"b", "", "a"});
    a[2].Empty();
    std::memset(static_cast<void*>(&a[2]), 0, sizeof(StringC));  // a record of raw storage
    a.sort(0, noCase);
    EXPECT_EQ(a[0].view().data(), nullptr) << noCase;
    EXPECT_EQ(std::string(a[1].view()) + std::string(a[2].view()), "b") << noCase;
    EXPECT_NE(a[1].view().data(), nullptr) << noCase;
  }
}

TEST(StringACQuery, DumpFormats) {
  StringAC xy = Make({"x", "y"});
  EXPECT_EQ(Stderr([&] { xy.dump(0, -1); }),
            "\n  Dump of 2 StringCs (2 avail, 11 alloc'ed):\n"
            "    Index: 0   StringC: [x]\n    Index: 1   StringC: [y]\n\n");
  EXPECT_EQ(Stderr([&] { xy.dump(1, 9); }),  // a last past the end is clamped
            "\n  Dump of 1 StringCs (2 avail, 11 alloc'ed):\n    Index: 1   StringC: [y]\n\n");
  EXPECT_EQ(Stderr([&] { StringAC().dump(0, -1), xy.dump(2, 1), xy.dump(-1, 3), xy.dump(5, 9); }),
            "\n  Bad dump StringAC range: 0 - -1\n\n  Bad dump StringAC range: 2 - 1\n"
            "\n  Bad dump StringAC range: -1 - 3\n\n  Bad dump StringAC range: 5 - 1\n");
  xy[1].Empty();
  std::memset(static_cast<void*>(&xy[1]), 0, sizeof(StringC));  // a record of raw storage
  EXPECT_EQ(Stderr([&] { xy.dump(1, 1); }),
            "\n  Dump of 1 StringCs (2 avail, 11 alloc'ed):\n    Index: 1   StringC: [(null)]\n\n");
  xy[0] = StringC(kYZ.data(), 3);
  EXPECT_EQ(Stderr([&] { xy.dump(), StringAC().dump(); }), "y");
}

}  // namespace
