// IsMetaMatch against fnmatch(3) with flags 0, on file-name patterns and on
// patterns that make a naive backtracking matcher take exponential time, and
// MetaCompare on the comparable worst case (which has no C-library peer).
#include <fnmatch.h>
#include <quarnbase/StringC.h>

#include <string>

#include "BenchSupport.h"

namespace bench {
namespace {

struct MatchCase {
  const char* label;
  const char* text;
  const char* pattern;
};

// Typical file-name patterns, matching and not.
constexpr MatchCase kTypical[] = {
    {"suffix", "StringStorage.cpp", "*.cpp"},
    {"suffix-miss", "CMakeLists.txt", "*.cpp"},
    {"prefix", "report_2024_07.txt", "report_*"},
    {"question-marks", "img0042.png", "img????.png"},
    {"two-stars", "unit_test_results.log", "*test*.log"},
    {"two-stars-miss", "unit_tset_results.log", "*test*.log"},
    {"literal", "Makefile", "Makefile"},
    {"long-name", "quarnbase-1.0.0-x86_64-linux-gnu-release-with-debug-info.tar.gz",
     "quarnbase-*-linux-*.tar.gz"},
};

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

void RegisterMatch(const std::string& caseName, const std::string& text,
                   const std::string& pattern) {
  RegisterPair(
      "MetaMatch", caseName,
      [text, pattern](benchmark::State& state) {
        StringC t(text.c_str());
        const StringC p(pattern.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(t.IsMetaMatch(p));
        }
      },
      [text, pattern](benchmark::State& state) {
        for (auto _ : state) {
          benchmark::DoNotOptimize(fnmatch(pattern.c_str(), text.c_str(), 0));
        }
      });
}

}  // namespace

void RegisterMetaBenchmarks() {
  for (const MatchCase& c : kTypical) RegisterMatch(c.label, c.text, c.pattern);
  // 200 'a' against (*a){15}b: no match, after trying every way to place the stars.
  const std::string manyA(200, 'a');
  const std::string starA = Repeat("*a", 15) + "b";
  RegisterPair(
      "MetaMatchPathological", "200a-vs-15-star-a-b",
      [manyA, starA](benchmark::State& state) {
        StringC t(manyA.c_str());
        const StringC p(starA.c_str());
        for (auto _ : state) benchmark::DoNotOptimize(t.IsMetaMatch(p));
      },
      [manyA, starA](benchmark::State& state) {
        for (auto _ : state) benchmark::DoNotOptimize(fnmatch(starA.c_str(), manyA.c_str(), 0));
      });
  // Two 120-character patterns made of stars, any-ones and literals that
  // cannot be ordered: the comparison has no peer, so it is registered alone.
  const std::string left = Repeat("*a?", 40);
  const std::string right = Repeat("?*a", 40);
  benchmark::RegisterBenchmark("BM_MetaCompare/40-star-a-q-vs-40-q-star-a",
                               [left, right](benchmark::State& state) {
                                 StringC a(left.c_str());
                                 const StringC b(right.c_str());
                                 for (auto _ : state) benchmark::DoNotOptimize(a.MetaCompare(b));
                               });
}

}  // namespace bench
