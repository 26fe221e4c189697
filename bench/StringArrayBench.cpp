// StringC::parse against a strtok_r loop into std::vector<std::string>, and
// StringAC::sort against std::sort (and std::unique) on std::vector<std::string>:
// inputs of seven short shapes and of long equal and long shared-prefix
// strings, each sorted plainly and with duplicate removal, with and without
// regard to case (the peer then orders by strcasecmp).
#include <quarnbase/StringAC.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport.h"

namespace bench {
namespace {

constexpr int kTokens = 100000;
constexpr int kSortCount = 500000;
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

// The input shapes of the sort benchmarks. The short ones hold kSortCount
// strings of at most 40 bytes; LongEqual repeats one string of `length` bytes,
// LongPrefix appends 10 random letters to one prefix of `length` bytes.
enum class Shape {
  Random,
  Sorted,
  Reversed,
  AllEqual,
  FewDistinct,
  SharedPrefix,
  Numeric,
  LongEqual,
  LongPrefix
};

// One input of the sort benchmarks.
struct SortCase {
  std::string name;
  Shape shape;
  int count = kSortCount;
  std::size_t length = 0;  // of LongEqual's string, LongPrefix's prefix
};

bool LessNoCase(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) < 0;
}
bool EqualNoCase(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// 1 to 16 letters of either case; short ones repeat often.
std::string MixedCase(Random& random) {
  std::string s = random.Letters(1 + random.Below(16));
  for (char& c : s) {
    if (random.Below(2) == 0) c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// The strings of `input`; sorted ones are in the order of the mode sorted in.
std::vector<std::string> SortInput(const SortCase& input, int noCase) {
  const Shape shape = input.shape;
  Random random(11);
  std::vector<std::string> strings;
  strings.reserve(static_cast<std::size_t>(input.count));
  std::vector<std::string> words;
  for (int i = 0; i < 1000; ++i) words.push_back(MixedCase(random));
  const std::string longText = random.Letters(input.length);
  for (int i = 0; i < input.count; ++i) {
    switch (shape) {
      case Shape::LongEqual:
        strings.push_back(longText);
        break;
      case Shape::LongPrefix:
        strings.push_back(longText + random.Letters(10));
        break;
      case Shape::AllEqual:
        strings.emplace_back("/usr/share/doc/quarnbase/README.md");
        break;
      case Shape::FewDistinct:
        strings.push_back(words[random.Below(1000)]);
        break;
      case Shape::SharedPrefix:
        strings.push_back("/usr/share/doc/package-" + std::to_string(random.Below(50000)) +
                          "/changelog." + std::to_string(random.Below(10)));
        break;
      case Shape::Numeric:
        strings.push_back(std::to_string(random.Below(1000000000)));
        break;
      default:
        strings.push_back(MixedCase(random));
        break;
    }
  }
  if (shape == Shape::Sorted || shape == Shape::Reversed) {
    if (noCase != 0) {
      std::sort(strings.begin(), strings.end(), LessNoCase);
    } else {
      std::sort(strings.begin(), strings.end());
    }
    if (shape == Shape::Reversed) std::reverse(strings.begin(), strings.end());
  }
  return strings;
}

// Registers one sort pair. Each iteration sorts a fresh copy of the input;
// making the copy is not timed.
void RegisterSort(const SortCase& input, int unique, int noCase) {
  const std::string caseName =
      input.name + (unique != 0 ? "/unique" : "/plain") + (noCase != 0 ? "-no-case" : "");
  auto pair = RegisterPair(
      "Sort", caseName,
      [input, unique, noCase](benchmark::State& state) {
        StringAC source;
        {
          const std::vector<std::string> strings = SortInput(input, noCase);
          source.SetSize(0, input.count);
          for (const std::string& s : strings) source.Add(s.c_str());
        }
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
      [input, unique, noCase](benchmark::State& state) {
        const std::vector<std::string> strings = SortInput(input, noCase);
        for (auto _ : state) {
          state.PauseTiming();
          std::vector<std::string> work(strings);
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
  std::vector<SortCase> inputs = {{"random", Shape::Random},
                                  {"sorted", Shape::Sorted},
                                  {"reverse", Shape::Reversed},
                                  {"all-equal", Shape::AllEqual},
                                  {"few-distinct", Shape::FewDistinct},
                                  {"shared-prefix", Shape::SharedPrefix},
                                  {"numeric", Shape::Numeric}};
  for (const int count : {100000, 200000}) {
    const std::string n = "-" + std::to_string(count / 1000) + "k";
    for (const std::size_t length : {100, 300, 1000}) {
      inputs.push_back(
          {"equal-" + std::to_string(length) + "B" + n, Shape::LongEqual, count, length});
    }
    for (const std::size_t length : {100, 990}) {
      inputs.push_back(
          {"prefix-" + std::to_string(length) + "B" + n, Shape::LongPrefix, count, length});
    }
  }
  for (const SortCase& input : inputs) {
    for (int noCase = 0; noCase < 2; ++noCase) {
      for (int unique = 0; unique < 2; ++unique) RegisterSort(input, unique, noCase);
    }
  }
}

}  // namespace bench
