// StringC against std::string: construction, copy, assignment and comparison
// of texts of 8 B to 4 KiB, search and extraction, appending, and searches of
// 4 KiB of ordinary text.
//
// The strings compared are equal in length; the unequal ones differ only in
// their last byte, so both sides must look at every byte.
#include <quarnbase/StringC.h>

#include <string>

#include "BenchSupport.h"

namespace bench {
namespace {

struct Size {
  const char* label;
  std::size_t bytes;
  bool search;  // also measured by the search pairs
};
constexpr Size kSizes[] = {{"8B", 8, true},
                           {"16B", 16, false},
                           {"64B", 64, true},
                           {"1KiB", 1024, false},
                           {"4KiB", 4096, true}};

// Keeps the compiler from dropping work whose result is a string.
inline void Keep(const StringC& s) { benchmark::DoNotOptimize(static_cast<char*>(s)); }
inline void Keep(const std::string& s) { benchmark::DoNotOptimize(s.data()); }

// Gives `s` room for `capacity` characters and no text.
void Reserve(StringC& s, unsigned int capacity) {
  s.GetBuffer(capacity);
  s.ReleaseBuffer(0);
}

void RegisterStorage(const Size& size, const std::string& text) {
  const std::string n = size.label;
  RegisterPair(
      "StringConstruct", n,
      [text](benchmark::State& state) {
        for (auto _ : state) {
          StringC s(text.c_str());
          Keep(s);
        }
      },
      [text](benchmark::State& state) {
        for (auto _ : state) {
          std::string s(text.c_str());
          Keep(s);
        }
      });
  RegisterPair(
      "StringCopy", n,
      [text](benchmark::State& state) {
        const StringC source(text.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&source);
          StringC s(source);
          Keep(s);
        }
      },
      [text](benchmark::State& state) {
        const std::string source(text);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&source);
          std::string s(source);
          Keep(s);
        }
      });
  RegisterPair(
      "StringAssign", n,
      [text](benchmark::State& state) {
        const StringC source(text.c_str());
        StringC target;
        Reserve(target, static_cast<unsigned int>(text.size()));
        for (auto _ : state) {
          benchmark::DoNotOptimize(&source);
          target = source;
          Keep(target);
        }
      },
      [text](benchmark::State& state) {
        const std::string source(text);
        std::string target;
        target.reserve(text.size());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&source);
          target = source;
          Keep(target);
        }
      });
}

// Appends pieces of `piece` bytes, 4 KiB in all, into reserved capacity; each
// iteration ends by emptying the text without giving the capacity back.
void RegisterAppend(std::size_t piece, const std::string& label) {
  constexpr std::size_t kTotal = 4096;
  const std::string text(piece, 'x');
  const std::size_t rounds = kTotal / piece;
  RegisterPair(
      "StringAppend", label,
      [text, rounds](benchmark::State& state) {
        StringC target;
        Reserve(target, static_cast<unsigned int>(kTotal));
        const StringC p(text.c_str());
        for (auto _ : state) {
          for (std::size_t i = 0; i < rounds; ++i) {
            if (p.length() == 1) {
              target += p[0u];
            } else {
              target += p;
            }
          }
          Keep(target);
          target.ReleaseBuffer(0);
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTotal));
      },
      [text, rounds](benchmark::State& state) {
        std::string target;
        target.reserve(kTotal);
        const std::string p(text);
        for (auto _ : state) {
          for (std::size_t i = 0; i < rounds; ++i) {
            if (p.size() == 1) {
              target += p[0];
            } else {
              target += p;
            }
          }
          Keep(target);
          target.clear();
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTotal));
      });
}

void RegisterComparison(const Size& size, const std::string& text) {
  std::string other = text;
  other.back() = static_cast<char>(other.back() == 'z' ? 'a' : other.back() + 1);
  for (const bool equal : {true, false}) {
    const std::string n = std::string(size.label) + (equal ? "-equal" : "-unequal");
    const std::string right = equal ? text : other;
    RegisterPair(
        "StringCompare", n,
        [text, right](benchmark::State& state) {
          const StringC a(text.c_str());
          const StringC b(right.c_str());
          for (auto _ : state) {
            benchmark::DoNotOptimize(&a);
            benchmark::DoNotOptimize(&b);
            benchmark::DoNotOptimize(a.Compare(b, StrCompExact));
          }
        },
        [text, right](benchmark::State& state) {
          const std::string a(text);
          const std::string b(right);
          for (auto _ : state) {
            benchmark::DoNotOptimize(&a);
            benchmark::DoNotOptimize(&b);
            benchmark::DoNotOptimize(a.compare(b));
          }
        });
    RegisterPair(
        "StringEqual", n,
        [text, right](benchmark::State& state) {
          const StringC a(text.c_str());
          const StringC b(right.c_str());
          for (auto _ : state) {
            benchmark::DoNotOptimize(&a);
            benchmark::DoNotOptimize(&b);
            benchmark::DoNotOptimize(a == b);
          }
        },
        [text, right](benchmark::State& state) {
          const std::string a(text);
          const std::string b(right);
          for (auto _ : state) {
            benchmark::DoNotOptimize(&a);
            benchmark::DoNotOptimize(&b);
            benchmark::DoNotOptimize(a == b);
          }
        });
  }
}

// Searches the C text for its last character and for its last 8 characters,
// and takes pieces of `piece` bytes from its middle and its start.
void RegisterSearch(const Size& size, const std::string& text) {
  const std::string n = size.label;
  // The searched-for character and text occur only at the end.
  std::string haystack = text;
  haystack.back() = '#';
  const std::string needle = text.size() >= 8 ? haystack.substr(text.size() - 8) : haystack;
  RegisterPair(
      "StringFindChar", n,
      [haystack](benchmark::State& state) {
        const StringC s(haystack.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.Find('#'));
        }
      },
      [haystack](benchmark::State& state) {
        const std::string s(haystack);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.find('#'));
        }
      });
  RegisterPair(
      "StringReverseFind", n,
      [haystack](benchmark::State& state) {
        const StringC s(haystack.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.ReverseFind('#'));
        }
      },
      [haystack](benchmark::State& state) {
        const std::string s(haystack);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.rfind('#'));
        }
      });
  RegisterPair(
      "StringFindText", n,
      [haystack, needle](benchmark::State& state) {
        const StringC s(haystack.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.Find(needle.c_str()));
        }
      },
      [haystack, needle](benchmark::State& state) {
        const std::string s(haystack);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.find(needle.c_str()));
        }
      });
}

// About `bytes` of English-like text: common words (none with q, x or z),
// spaces and full stops, ending in "... quartz jewel." so that a search for
// 'q' or "quartz" finds its one match near the end.
std::string OrdinaryText(std::size_t bytes) {
  static const char* const kWords[] = {
      "the",  "of",    "and",   "to",    "in",    "a",      "is",   "that",    "for",   "it",
      "as",   "was",   "with",  "be",    "by",    "on",     "not",  "he",      "this",  "are",
      "or",   "his",   "from",  "at",    "which", "but",    "have", "an",      "they",  "you",
      "were", "her",   "she",   "there", "would", "their",  "we",   "him",     "been",  "has",
      "when", "who",   "will",  "more",  "no",    "if",     "out",  "so",      "said",  "what",
      "up",   "its",   "about", "into",  "than",  "them",   "can",  "only",    "other", "new",
      "some", "could", "time",  "these", "two",   "may",    "then", "do",      "first", "any",
      "my",   "now",   "such",  "like",  "our",   "over",   "man",  "me",      "even",  "most",
      "made", "after", "also",  "did",   "many",  "before", "must", "through", "back",  "years"};
  const std::string ending = " quartz jewel.";
  Random random(3);
  std::string text;
  while (text.size() + ending.size() < bytes) {
    if (!text.empty()) text += random.Below(12) == 0 ? ". " : " ";
    text += kWords[random.Below(sizeof kWords / sizeof kWords[0])];
  }
  text += ending;
  return text;
}

// Searches of 4 KiB of ordinary text whose match lies near the end: the first
// 'q', the first "quartz" and the last 'q'.
void RegisterTextSearch() {
  const std::string text = OrdinaryText(4096);
  RegisterPair(
      "StringFindChar", "text-4KiB",
      [text](benchmark::State& state) {
        const StringC s(text.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.Find('q'));
        }
      },
      [text](benchmark::State& state) {
        const std::string s(text);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.find('q'));
        }
      });
  RegisterPair(
      "StringFindText", "text-4KiB",
      [text](benchmark::State& state) {
        const StringC s(text.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.Find("quartz"));
        }
      },
      [text](benchmark::State& state) {
        const std::string s(text);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.find("quartz"));
        }
      });
  RegisterPair(
      "StringReverseFind", "text-4KiB",
      [text](benchmark::State& state) {
        const StringC s(text.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.ReverseFind('q'));
        }
      },
      [text](benchmark::State& state) {
        const std::string s(text);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          benchmark::DoNotOptimize(s.rfind('q'));
        }
      });
  // The same searches against the C library's, which also stop at a zero byte.
  const auto againstC = [&text](const char* group, const std::string& peerName, auto quarn,
                                auto peer) {
    RegisterPair(
        group, "text-4KiB-" + peerName,
        [text, quarn](benchmark::State& state) {
          const StringC s(text.c_str());
          for (auto _ : state) {
            benchmark::DoNotOptimize(&s);
            benchmark::DoNotOptimize(quarn(s));
          }
        },
        [text, peer](benchmark::State& state) {
          const std::string s(text);
          for (auto _ : state) {
            benchmark::DoNotOptimize(&s);
            benchmark::DoNotOptimize(peer(s.c_str()));
          }
        });
  };
  againstC(
      "StringFindChar", "strchr", [](const StringC& s) { return s.Find('q'); },
      [](const char* t) { return std::strchr(t, 'q'); });
  againstC(
      "StringFindText", "strstr", [](const StringC& s) { return s.Find("quartz"); },
      [](const char* t) { return std::strstr(t, "quartz"); });
  againstC(
      "StringReverseFind", "strrchr", [](const StringC& s) { return s.ReverseFind('q'); },
      [](const char* t) { return std::strrchr(t, 'q'); });
}

void RegisterExtraction(unsigned int piece, const std::string& label) {
  Random random(5);
  const std::string text = random.Letters(4096);
  const unsigned int start = 1000;
  RegisterPair(
      "StringMid", label,
      [text, piece](benchmark::State& state) {
        const StringC s(text.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          StringC part = s.Mid(start, piece);
          Keep(part);
        }
      },
      [text, piece](benchmark::State& state) {
        const std::string s(text);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          std::string part = s.substr(start, piece);
          Keep(part);
        }
      });
  RegisterPair(
      "StringLeft", label,
      [text, piece](benchmark::State& state) {
        const StringC s(text.c_str());
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          StringC part = s.Left(piece);
          Keep(part);
        }
      },
      [text, piece](benchmark::State& state) {
        const std::string s(text);
        for (auto _ : state) {
          benchmark::DoNotOptimize(&s);
          std::string part = s.substr(0, piece);
          Keep(part);
        }
      });
}

}  // namespace

void RegisterStringBenchmarks() {
  Random random(42);
  for (const Size& size : kSizes) {
    const std::string text = random.Letters(size.bytes);
    RegisterStorage(size, text);
    RegisterComparison(size, text);
    if (size.search) RegisterSearch(size, text);
  }
  RegisterTextSearch();
  RegisterExtraction(8, "8B");
  RegisterExtraction(64, "64B");
  RegisterExtraction(1024, "1KiB");
  RegisterAppend(1, "char");
  RegisterAppend(8, "8B-pieces");
  RegisterAppend(64, "64B-pieces");
}

}  // namespace bench
