// Distinct objects used on several threads at once. The classes lock nothing,
// so this holds only if they share no mutable state: the empty strings all
// point at one shared buffer, tokenising must not keep hidden state between
// calls, and sorting must not pass its case mode through a global. Run under
// the thread sanitizer (the tsan preset), any such sharing is reported as a
// data race; without it, a leaked mode or position shows up as a wrong result.
#include <quarnbase/MemRecover.h>
#include <quarnbase/PtrListC.h>
#include <quarnbase/ScalarArrays.h>
#include <quarnbase/StringAC.h>
#include <quarnbase/StringC.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 300;

// Runs `work(thread)` on kThreads threads started together; returns the
// number of failed checks they reported.
int RunTogether(const std::function<int(int)>& work) {
  std::atomic<int> ready{0};
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      ready.fetch_add(1);
      while (ready.load() < kThreads) std::this_thread::yield();
      failures.fetch_add(work(t));
    });
  }
  for (std::thread& thread : threads) thread.join();
  return failures.load();
}

std::string Text(const StringC& s) { return std::string(s, s.length()); }

std::vector<std::string> Elements(const StringAC& a) {
  std::vector<std::string> out;
  for (int i = 0; i < a.GetSize(); ++i) out.push_back(Text(a.GetAt(i)));
  return out;
}

TEST(Concurrency, EmptyStringsShareTheirBufferSafely) {
  const int failures = RunTogether([](int) {
    int bad = 0;
    for (int round = 0; round < kRounds; ++round) {
      StringC a;
      StringC b("");
      StringC c(a);
      // Operations that may touch the shared buffer of an empty string.
      a = b;
      a = "";
      a += "";
      a += b;
      a.ReleaseBuffer(-1);
      a.ReleaseBuffer(0);
      a.GetBufferSetLength(0);
      b.MakeUpper();
      b.MakeReverse();
      c = a + b;
      bad += a.IsEmpty() && b.IsEmpty() && c.IsEmpty() ? 0 : 1;
      bad += static_cast<const char*>(a)[0] == '\0' ? 0 : 1;
      // And back to owning a buffer, then empty again.
      a += 'x';
      a.Empty();
      bad += a.Compare(b, StrCompExact) == StrCompEqual ? 0 : 1;
    }
    return bad;
  });
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(static_cast<const char*>(StringC::emptyPrototype)[0], '\0');
}

TEST(Concurrency, StringOperationsOnDistinctStrings) {
  const int failures = RunTogether([](int t) {
    int bad = 0;
    const std::string tag(1, static_cast<char>('a' + t));
    for (int round = 0; round < kRounds; ++round) {
      StringC s(tag.c_str());
      s += "-";
      s += StringC('x', round % 7 + 1);
      StringC upper = s;
      upper.MakeUpper();
      bad += upper.Compare(s, StrCompNoCase) == StrCompEqual ? 0 : 1;
      bad += Text(s.Left(1)) == tag ? 0 : 1;
      bad += s.Find('-') == 1 ? 0 : 1;
      bad += s.IsMetaMatch(StringC((tag + "-*").c_str())) == 1 ? 0 : 1;
      bad += StringC("*").MetaCompare(s) == StrCompGreater ? 0 : 1;
      StringC formatted(32u, "%s%d", tag.c_str(), round);
      bad += Text(formatted) == tag + std::to_string(round) ? 0 : 1;
    }
    return bad;
  });
  EXPECT_EQ(failures, 0);
}

TEST(Concurrency, ParseOnSeveralThreadsKeepsItsOwnPosition) {
  const int failures = RunTogether([](int t) {
    int bad = 0;
    // Each thread splits its own text at its own delimiters.
    const std::string delimiter(1, ",;: "[t % 4]);
    std::vector<std::string> expected;
    std::string text;
    for (int i = 0; i < 5 + t; ++i) {
      expected.push_back(std::string(1, static_cast<char>('a' + t)) + std::to_string(i));
      text += delimiter + delimiter + expected.back();
    }
    StringC source(text.c_str());
    for (int round = 0; round < kRounds; ++round) {
      const StringAC tokens = source.parse(delimiter.c_str());
      bad += Elements(tokens) == expected ? 0 : 1;
    }
    return bad;
  });
  EXPECT_EQ(failures, 0);
}

TEST(Concurrency, SortWithDifferentCaseModesOnDifferentThreads) {
  const int failures = RunTogether([](int t) {
    int bad = 0;
    const bool noCase = t % 2 == 1;
    const std::vector<std::string> expected =
        noCase ? std::vector<std::string>{"a", "b", "c"}
               : std::vector<std::string>{"A", "B", "C", "a", "b", "c"};
    for (int round = 0; round < kRounds; ++round) {
      StringAC words;
      for (const char* word : {"b", "C", "a", "B", "c", "A", "b", "a"}) words.Add(word);
      words.sort(1, noCase ? 1 : 0);
      std::vector<std::string> got = Elements(words);
      if (noCase) {
        // Which case variant survives is not defined: compare lowered.
        for (std::string& word : got) word[0] = static_cast<char>(word[0] | 0x20);
      }
      bad += got == expected ? 0 : 1;
      if (!noCase) bad += words.index(StringC("B")) == 1 ? 0 : 1;
    }
    return bad;
  });
  EXPECT_EQ(failures, 0);
}

TEST(Concurrency, ArraysAndListsOnDistinctInstances) {
  const int failures = RunTogether([](int t) {
    int bad = 0;
    // An out-of-range element access hands out a per-thread scratch string.
    StringAC none;
    none.ElementAt(t) = "scratch";
    bad += none.ElementAt(t).IsEmpty() == 1 ? 0 : 1;
    for (int round = 0; round < kRounds; ++round) {
      UIntArrayC numbers;
      DblArrayC reals;
      PtrArrayC pointers;
      PtrListC list(t + 1);
      StringAC strings(2);
      for (int i = 0; i < 20; ++i) {
        numbers.Add(static_cast<unsigned int>(i * t));
        reals.InsertAt(0, i + 0.5);
        pointers.SetAtGrow(i, &numbers);
        list.AddTail(&reals);
        strings.InsertAt(1, "s", 1);
      }
      UIntArrayC copy(numbers);
      PtrListC listCopy(list);
      list.RemoveHead();
      bad += copy.GetSize() == 20 && copy[19] == static_cast<unsigned int>(19 * t) ? 0 : 1;
      bad += reals[0] == 19.5 && pointers.GetSize() == 20 ? 0 : 1;
      bad += list.GetCount() == 19 && listCopy.GetCount() == 20 ? 0 : 1;
      bad += strings.GetSize() == 22 && strings.GetAt(0).IsEmpty() ? 0 : 1;
    }
    return bad;
  });
  EXPECT_EQ(failures, 0);
}

// The recovery hook's state (the counter, the installed handler, the support
// library's registration) when allocations fail on several threads at once and
// the hook is called meanwhile. The threads call the installed handler as the
// global operator new does when an allocation fails.
std::atomic<int> recoveries{0};
int Recover(unsigned int, unsigned int) {
  recoveries.fetch_add(1);
  return 1;
}

// Fails an allocation: runs the installed handler, if any. Returns whether
// there was one.
bool FailAnAllocation() {
  const std::new_handler handler = std::get_new_handler();
  if (handler == nullptr) return false;
  handler();
  return true;
}

TEST(Concurrency, RecoveryHookUnderConcurrentFailuresAndRegistration) {
  constexpr int kFailures = 200;  // a thread; fewer than 1001 in all
  int (*slot)(unsigned int, unsigned int) = &Recover;
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, nullptr), 1);
  EXPECT_EQ(RunTogether([](int) {
              for (int i = 0; i < kFailures; ++i) FailAnAllocation();
              return 0;
            }),
            0);
  // Each recovery counted once: exactly the rest of the 1001 remain.
  EXPECT_EQ(recoveries.exchange(0), kThreads * kFailures);
  while (FailAnAllocation()) {
  }
  EXPECT_EQ(recoveries.exchange(0), 1001 - kThreads * kFailures);

  // One thread registers again and again while the others fail allocations.
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, nullptr), 1);
  EXPECT_EQ(RunTogether([&](int t) {
              for (int i = 0; i < kFailures; ++i) {
                if (t == 0) {
                  quarn_mem_recover_func_cxx(&slot, nullptr);
                } else {
                  FailAnAllocation();
                }
              }
              return 0;
            }),
            0);
  // The last registration counts afresh.
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, nullptr), 1);
  recoveries.store(0);
  while (FailAnAllocation()) {
  }
  EXPECT_EQ(recoveries.load(), 1001);
  quarn_mem_recover_func_cxx(nullptr, nullptr);
}

}  // namespace
