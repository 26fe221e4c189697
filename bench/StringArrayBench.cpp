// StringC::parse against a strtok_r loop into std::vector<std::string>, and
// StringAC::sort (plain, unique, case-insensitive) against std::sort (and
// std::unique) on std::vector<std::string>.
#include <quarnbase/StringAC.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace bench {
namespace {

constexpr int kTokens = 100000;
constexpr int kSortCount = 1000000;
constexpr const char* kDelimiters = ",; ";

// kTokens words of 1 to 12 letters, separated by runs of one or two delimiters.
std::string TokenText() {
  Random random(7);
  std::string text;
  for (int i = 0; i < kTokens; ++i) {
    text += random.Letters(1 + random.Below(12));
    text += kDelimiters[random.Below(3)];
    if (random.Below(4) == 0) text += kDelimiters[random.Below(3)];
  }
  return text;
}

// kSortCount strings of 1 to 16 mixed-case letters; short ones repeat often,
// which gives the unique pass work.
std::vector<std::string> SortInput() {
  Random random(11);
  std::vector<std::string> strings;
  strings.reserve(kSortCount);
  for (int i = 0; i < kSortCount; ++i) {
    std::string s = random.Letters(1 + random.Below(16));
    for (char& c : s) {
      if (random.Below(2) == 0) c = static_cast<char>(c - 'a' + 'A');
    }
    strings.push_back(std::move(s));
  }
  return strings;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) < 0;
}
bool EqualNoCase(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Registers one sort pair. Each iteration sorts a fresh copy of the input;
// making the copy is not timed.
void RegisterSort(const std::string& caseName, int unique, int noCase) {
  auto pair = RegisterPair(
      "Sort", caseName,
      [unique, noCase](benchmark::State& state) {
        const std::vector<std::string> input = SortInput();
        StringAC source;
        source.SetSize(0, kSortCount);
        for (const std::string& s : input) source.Add(s.c_str());
        for (auto _ : state) {
          state.PauseTiming();
          StringAC work(source);
          state.ResumeTiming();
          work.sort(unique, noCase);
          benchmark::DoNotOptimize(work.GetSize());
          state.PauseTiming();  // the copy's release is not timed either
          work.RemoveAll();
          state.ResumeTiming();
        }
      },
      [unique, noCase](benchmark::State& state) {
        const std::vector<std::string> input = SortInput();
        for (auto _ : state) {
          state.PauseTiming();
          std::vector<std::string> work(input);
          state.ResumeTiming();
          if (noCase != 0) {
            std::sort(work.begin(), work.end(), LessNoCase);
            if (unique != 0)
              work.erase(std::unique(work.begin(), work.end(), EqualNoCase), work.end());
          } else {
            std::sort(work.begin(), work.end());
            if (unique != 0) work.erase(std::unique(work.begin(), work.end()), work.end());
          }
          benchmark::DoNotOptimize(work.size());
          state.PauseTiming();
          work.clear();
          work.shrink_to_fit();
          state.ResumeTiming();
        }
      });
  for (auto* b : {pair.first, pair.second}) b->Unit(benchmark::kMillisecond)->Iterations(3);
}

}  // namespace

void RegisterStringArrayBenchmarks() {
  const std::string text = TokenText();
  auto parse = RegisterPair(
      "Parse", "100k-tokens",
      [text](benchmark::State& state) {
        StringC source(text.c_str());
        for (auto _ : state) {
          StringAC tokens = source.parse(kDelimiters);
          benchmark::DoNotOptimize(tokens.GetSize());
        }
      },
      [text](benchmark::State& state) {
        for (auto _ : state) {
          std::string copy(text);
          std::vector<std::string> tokens;
          char* rest = nullptr;
          for (char* t = strtok_r(&copy[0], kDelimiters, &rest); t != nullptr;
               t = strtok_r(nullptr, kDelimiters, &rest)) {
            tokens.emplace_back(t);
          }
          benchmark::DoNotOptimize(tokens.size());
        }
      });
  for (auto* b : {parse.first, parse.second}) b->Unit(benchmark::kMillisecond);
  RegisterSort("plain", 0, 0);
  RegisterSort("unique", 1, 0);
  RegisterSort("no-case", 0, 1);
  RegisterSort("unique-no-case", 1, 1);
}

}  // namespace bench
