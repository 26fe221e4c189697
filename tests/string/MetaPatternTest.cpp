// Tests of StringC::IsMetaMatch and StringC::MetaCompare, including their
// equivalence with the recursive model in MetaReference.h.
#include <gtest/gtest.h>

#include <quarnbase/StringC.h>

#include <cstdint>
#include <new>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "AllocHarness.h"
#include "MetaReference.h"

namespace ref = quarn::reference;

namespace {

using namespace std::string_literals;

// A StringC holding exactly the bytes of `bytes`, zero bytes included.
StringC Make(const std::string& bytes) {
  return StringC(bytes.data(), static_cast<int>(bytes.size()));
}

// `bytes` quoted, with zero bytes shown as \0.
std::string Show(const std::string& bytes) {
  std::string shown = "\"";
  for (const char c : bytes) shown += c == '\0' ? "\\0"s : std::string(1, c);
  return shown + "\"";
}

int Match(const std::string& text, const std::string& pattern) {
  StringC t = Make(text);
  return t.IsMetaMatch(Make(pattern));
}

StrCompValE Compare(const std::string& first, const std::string& second) {
  StringC f = Make(first);
  return f.MetaCompare(Make(second));
}

// A generated input, as the model takes it and as a StringC.
struct Sample {
  explicit Sample(std::string b) : bytes(std::move(b)), string(Make(bytes)) {}
  std::string bytes;
  StringC string;
};

// Every string over `alphabet` of at most `maxLength` characters, "" first.
std::vector<Sample> AllStrings(const std::string& alphabet, std::size_t maxLength) {
  std::vector<std::string> all{""};
  for (std::size_t begin = 0, length = 1; length <= maxLength; ++length) {
    const std::size_t end = all.size();
    for (std::size_t k = begin; k < end; ++k) {
      for (const char c : alphabet) all.push_back(all[k] + c);
    }
    begin = end;
  }
  return std::vector<Sample>(all.begin(), all.end());
}

// Counts comparisons with the model and disagreements; keeps the first one.
struct Disagreements {
  long long compared = 0;
  long long count = 0;
  std::string first;
  void Add(const std::string& what) {
    if (count++ == 0) first = what;
  }
};

void CheckMatch(Disagreements& result, Sample& text, const Sample& pattern) {
  ++result.compared;
  const int expected = ref::IsMetaMatch(text.bytes, pattern.bytes);
  const int actual = text.string.IsMetaMatch(pattern.string);
  if (actual != expected) {
    result.Add("text " + Show(text.bytes) + " pattern " + Show(pattern.bytes) + ": " +
               std::to_string(actual) + ", model " + std::to_string(expected));
  }
}

// Also checks that exchanging the operands reverses the result.
void CheckCompare(Disagreements& result, Sample& first, Sample& second) {
  ++result.compared;
  const StrCompValE expected = ref::MetaCompare(first.bytes, second.bytes);
  const StrCompValE actual = first.string.MetaCompare(second.string);
  const StrCompValE reversed = second.string.MetaCompare(first.string);
  if (actual != expected || reversed != ref::ReverseMetaResult(actual)) {
    result.Add(Show(first.bytes) + " vs " + Show(second.bytes) + ": " + std::to_string(actual) +
               ", reversed " + std::to_string(reversed) + ", model " + std::to_string(expected));
  }
}

// A random string over `alphabet` of minLength..maxLength characters holding
// at most `maxStars` stars (which keeps the model's exponential cost down).
std::string RandomString(std::mt19937& engine, const std::string& alphabet, std::size_t minLength,
                         std::size_t maxLength, int maxStars) {
  const std::size_t length = minLength + engine() % (maxLength - minLength + 1);
  std::string s;
  int stars = 0;
  while (s.size() < length) {
    const char c = alphabet[engine() % alphabet.size()];
    if (c == '*' && ++stars > maxStars) continue;
    s += c;
  }
  return s;
}

const std::string kAlphabet = "ab*?\\";

}  // namespace

TEST(MetaCompare, WorkedTable) {
  const struct {
    const char* first;
    const char* second;
    StrCompValE expected;
  } rows[] = {
      {"abc", "abc", StrCompEqual},    {"ab", "ac", StrCompUnrelated},
      {"ab", "abc", StrCompUnrelated}, {"a?c", "abc", StrCompGreater},
      {"abc", "a?c", StrCompLess},     {"*", "abc", StrCompGreater},
      {"*", "*", StrCompEqual},        {"a**b", "a*b", StrCompEqual},
      {"a\\b", "ab", StrCompEqual},    {"a*", "a", StrCompGreater},
      {"*a", "a", StrCompUnrelated},   {"a*b", "ab", StrCompUnrelated},
      {"*a", "ba", StrCompGreater},    {"*.?", "*.c", StrCompGreater},
      {"a*c", "a?c", StrCompGreater},  {"a*b*c", "a*c", StrCompLess},
      {"?", "*", StrCompLess},         {"*", "*?", StrCompGreater},
      {"?b", "a?", StrCompUnrelated},  {"*?", "?*", StrCompUnrelated},
      {"\\?", "?", StrCompLess},       {"\\*", "*", StrCompLess},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Compare(row.first, row.second), row.expected) << row.first << " vs " << row.second;
    EXPECT_EQ(ref::MetaCompare(row.first, row.second), row.expected)
        << "model: " << row.first << " vs " << row.second;
  }
}

TEST(IsMetaMatch, WorkedExamples) {
  const struct {
    const char* text;
    const char* pattern;
    int expected;
  } cases[] = {
      {"abc", "a*", 1},    {"abc", "*c", 1},   {"abc", "a?c", 1},   {"abc", "*", 1},
      {"abc", "?*", 1},    {"abc", "abc*", 1}, {"abc", "a*b*c", 1}, {"abc", "a**c", 1},
      {"abc", "a?", 0},    {"abc", "abc?", 0}, {"abc", "*b", 0},    {"abc", "a\\*c", 0},
      {"a*c", "a\\*c", 1}, {"a?c", "abc", 0},  {"a", "*a", 1},      {"ab", "a*?b", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Match(c.text, c.pattern), c.expected) << c.text << " with " << c.pattern;
    EXPECT_EQ(ref::IsMetaMatch(c.text, c.pattern), c.expected)
        << "model: " << c.text << " with " << c.pattern;
  }
}

TEST(IsMetaMatch, EmptyOperandsNeverMatch) {
  for (const char* pattern : {"*", "", "?", "a"}) EXPECT_EQ(Match("", pattern), 0) << pattern;
  for (const char* text : {"a", "*", "ab"}) EXPECT_EQ(Match(text, ""), 0) << text;
}

TEST(IsMetaMatch, EscapesAndPatternCharactersInTheText) {
  EXPECT_EQ(Match("x*", "*\\*"), 1);
  EXPECT_EQ(Match("x*y", "*\\*"), 0);
  EXPECT_EQ(Match("a\\", "a\\"), 0);  // lone escape
  EXPECT_EQ(Match("a\\", "a\\\\"), 1);
  EXPECT_EQ(Match("a", "a\\"), 0);
  EXPECT_EQ(Match("ab", "a*\\"), 0);
  EXPECT_EQ(Match("a?", "a\\?"), 1);
  EXPECT_EQ(Match("ab", "a\\?"), 0);
  EXPECT_EQ(Match("a\\*", "a\\\\*"), 1);
  EXPECT_EQ(Match("*", "\\**"), 1);
}

TEST(IsMetaMatch, ZeroByteEndsTextAndPattern) {
  EXPECT_EQ(Match("ab", "ab\0x"s), 1);
  EXPECT_EQ(Match("abx", "ab\0x"s), 0);
  EXPECT_EQ(Match("ab\0c"s, "ab"), 1);
  EXPECT_EQ(Match("\0a"s, "*"), 1);  // an empty text once read up to its zero byte
  EXPECT_EQ(Match("\0a"s, "?*"), 0);
  EXPECT_EQ(Match("\0a"s, "\0b"s), 1);
  EXPECT_EQ(Match("a", "\0a"s), 0);
  EXPECT_EQ(Match("a\\", "a\\\0\\"s), 0);  // the escape before the zero byte is lone
}

TEST(MetaCompare, EmptyOperandsAndLoneEscapesAreUnrelated) {
  EXPECT_EQ(Compare("", "*"), StrCompUnrelated);
  EXPECT_EQ(Compare("*", ""), StrCompUnrelated);
  EXPECT_EQ(Compare("", ""), StrCompUnrelated);
  EXPECT_EQ(Compare("*", "a\\"), StrCompUnrelated);
  EXPECT_EQ(Compare("a\\", "*"), StrCompUnrelated);
  EXPECT_EQ(Compare("a\\", "a\\"), StrCompUnrelated);
  EXPECT_EQ(Compare("*\\", "*\\"), StrCompUnrelated);
}

TEST(MetaCompare, EscapesAndZeroBytes) {
  EXPECT_EQ(Compare("?", "\\?"), StrCompGreater);
  EXPECT_EQ(Compare("\\?", "?"), StrCompLess);
  EXPECT_EQ(Compare("?a", "\\?a"), StrCompGreater);
  EXPECT_EQ(Compare("\\\\*", "\\\\**"), StrCompEqual);
  EXPECT_EQ(Compare("\\**", "\\*"), StrCompGreater);
  EXPECT_EQ(Compare("ab\0x"s, "ab"), StrCompEqual);
  EXPECT_EQ(Compare("\0x"s, "\0y"s), StrCompEqual);  // both read as empty patterns
  EXPECT_EQ(Compare("*\0x"s, "\0"s), StrCompGreater);
  for (const char* p : {"a", "*", "?*", "a\\*b", "*?*a*", "\\\\"}) {
    EXPECT_EQ(Compare(p, p), StrCompEqual) << p;
  }
}

// StringC storage that has a length but no buffer; only raw records look like this.
struct NoBuffer : StringC {
  NoBuffer() {
    buffer = nullptr;
    dataLength = 3;
  }
  ~NoBuffer() { Init(); }
};

TEST(MetaPattern, OperandWithoutBufferCountsAsEmpty) {
  NoBuffer none;
  StringC text("abc");
  StringC star("*");
  EXPECT_EQ(text.IsMetaMatch(none), 0);
  EXPECT_EQ(none.IsMetaMatch(star), 0);
  EXPECT_EQ(none.MetaCompare(star), StrCompUnrelated);
  EXPECT_EQ(star.MetaCompare(none), StrCompUnrelated);
}

TEST(MetaPattern, ShortPatternsAllocateNothing) {
  StringC text("report-2024.txt");
  const StringC pattern("*-20??.t*t");
  StringC wide = Make("*" + std::string(250, 'a') + "?*");
  const StringC narrow = Make("?" + std::string(250, 'a') + "?");
  quarn::test::LeakCounter counter;
  EXPECT_EQ(text.IsMetaMatch(pattern), 1);
  EXPECT_EQ(wide.MetaCompare(narrow), StrCompGreater);
  EXPECT_EQ(counter.Allocations(), 0);
}

TEST(MetaCompare, LongPatternsUseAnAllocatedTable) {
  std::string tail;
  for (int k = 0; k < 200; ++k) tail += "ab?";
  const std::string wide = "*" + tail + "*";
  const std::string narrow = "?" + tail + "b";
  EXPECT_EQ(Compare(wide, narrow), ref::MetaCompare(wide, narrow));
  EXPECT_EQ(Compare(narrow, wide), ref::MetaCompare(narrow, wide));
  EXPECT_EQ(Compare(wide, narrow), StrCompGreater);

  StringC first = Make(wide);
  const StringC second = Make(narrow);
  quarn::test::LeakCounter counter;
  {
    quarn::test::FailureScope fail(1);
    EXPECT_THROW(static_cast<void>(first.MetaCompare(second)), std::bad_alloc);
  }
  EXPECT_EQ(counter.LiveBlocks(), 0);
  EXPECT_EQ(first.MetaCompare(second), StrCompGreater);
  EXPECT_EQ(counter.LiveBlocks(), 0);
}

TEST(MetaPattern, StarHeavyInputsFinish) {
  std::string pattern;
  for (int k = 0; k < 15; ++k) pattern += "*a";
  EXPECT_EQ(Match(std::string(200, 'a'), pattern + "b"), 0);
  EXPECT_EQ(Match(std::string(200, 'a') + "b", pattern + "b"), 1);
  EXPECT_EQ(Match(std::string(14, 'a') + "b", pattern + "b"), 0);

  std::string first;
  std::string second;
  for (int k = 0; k < 40; ++k) {
    first += "*a?";
    second += "?*a";
  }
  EXPECT_EQ(Compare(first, second), StrCompUnrelated);  // as for every shorter repetition
  EXPECT_EQ(Compare(second, first), StrCompUnrelated);
  EXPECT_EQ(Compare(first, first), StrCompEqual);
  EXPECT_EQ(Compare(first + "*", first), StrCompGreater);
}

TEST(MetaEquivalence, MatchingAllShortTextsAndPatterns) {
  std::vector<Sample> texts = AllStrings(kAlphabet, 4);
  const std::vector<Sample> patterns = AllStrings(kAlphabet, 5);
  Disagreements result;
  for (const Sample& pattern : patterns) {
    for (Sample& text : texts) CheckMatch(result, text, pattern);
  }
  EXPECT_EQ(result.count, 0) << "first: " << result.first;
}

TEST(MetaEquivalence, ComparingAllShortPatterns) {
  std::vector<Sample> patterns = AllStrings(kAlphabet, 4);
  Disagreements result;
  for (Sample& first : patterns) {
    for (Sample& second : patterns) CheckCompare(result, first, second);
  }
  EXPECT_EQ(result.count, 0) << "first: " << result.first;
}

TEST(MetaEquivalence, ShortInputsWithZeroBytes) {
  std::vector<Sample> all = AllStrings("a*\\\0"s, 4);
  Disagreements result;
  for (Sample& first : all) {
    for (Sample& second : all) {
      CheckMatch(result, first, second);
      CheckCompare(result, first, second);
    }
  }
  EXPECT_EQ(result.count, 0) << "first: " << result.first;
}

TEST(MetaEquivalence, RandomLongerInputs) {
  std::mt19937 engine(20240613);
  Disagreements result;
  for (int k = 0; k < 20000; ++k) {
    Sample pattern(RandomString(engine, kAlphabet, 5, 12, 4));
    Sample plainText(RandomString(engine, "ab", 0, 16, 0));
    Sample text(RandomString(engine, kAlphabet, 4, 12, 12));
    Sample other(RandomString(engine, kAlphabet, 5, 12, 4));
    CheckMatch(result, plainText, pattern);
    CheckMatch(result, text, pattern);
    CheckCompare(result, pattern, other);
  }
  EXPECT_EQ(result.count, 0) << "first: " << result.first;
}

// After StrCompGreater every text that `second` matches also matches `first`;
// after StrCompEqual both match the same texts.
TEST(MetaCompare, AgreesWithMatching) {
  std::vector<Sample> patterns = AllStrings(kAlphabet, 4);
  std::vector<Sample> texts = AllStrings(kAlphabet, 5);
  const std::size_t words = (texts.size() + 63) / 64;
  std::vector<std::uint64_t> matches(patterns.size() * words, 0);
  for (std::size_t p = 0; p < patterns.size(); ++p) {
    for (std::size_t t = 0; t < texts.size(); ++t) {
      if (texts[t].string.IsMetaMatch(patterns[p].string) != 0)
        matches[p * words + t / 64] |= std::uint64_t{1} << (t % 64);
    }
  }
  // Whether every text matched by pattern q is matched by pattern p.
  auto covers = [&](std::size_t p, std::size_t q) {
    for (std::size_t w = 0; w < words; ++w) {
      if ((matches[q * words + w] & ~matches[p * words + w]) != 0) return false;
    }
    return true;
  };
  long long ordered = 0;
  for (std::size_t p = 0; p < patterns.size(); ++p) {
    for (std::size_t q = 0; q < patterns.size(); ++q) {
      const StrCompValE result = patterns[p].string.MetaCompare(patterns[q].string);
      if (result == StrCompUnrelated || result == StrCompLess) continue;
      ++ordered;
      EXPECT_TRUE(covers(p, q)) << patterns[p].bytes << " vs " << patterns[q].bytes;
      if (result == StrCompEqual) {
        EXPECT_TRUE(covers(q, p)) << patterns[p].bytes << " = " << patterns[q].bytes;
      }
    }
  }
  EXPECT_GT(ordered, 1000);
}
