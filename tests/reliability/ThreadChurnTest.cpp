// Ten thousand short threads, each using the library once. Whatever a
// thread's use leaves per thread (its out-of-range scratch, the pending request
// size, the sort mode, and the C++ runtime's own per-thread data for exceptions
// and thread-local storage) must go when the thread ends, although the library
// switches its thread notifications off: the library's live blocks and the
// process's heap stay where they were, and the program ends cleanly.
#include <quarnbase/MemRecover.h>
#include <quarnbase/StringAC.h>
#include <quarnbase/StringC.h>

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <malloc.h>
#endif

#include "AllocHarness.h"

namespace {

constexpr int kThreads = 10000;
constexpr int kBatch = 8;  // threads alive at a time

// Bytes the process's heaps hold in allocated blocks.
long long HeapBytesInUse() {
#if defined(_WIN32)
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  long long total = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    HeapLock(heaps[i]);
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) total += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return total;
#else
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long long>(info.uordblks + info.hblkhd);
#endif
}

int Recover(unsigned int, unsigned int) { return 0; }

// One thread's use of the library; returns the number of wrong results.
int UseTheLibrary(int n) {
  int wrong = 0;
  StringAC none;
  none.ElementAt(-1) = "kept in this thread's scratch until it ends";
  StringC text(8u, "%d,b,a", n);
  StringAC words = text.parse(",");
  words.sort(1, n % 2);
  wrong += words.GetSize() == 3 && words.GetAt(0) == std::to_string(n).c_str() ? 0 : 1;
  try {
    StringC huge;
    huge.GetBuffer(0xFFFFFFFFu);  // no such length: std::bad_alloc on this thread
    ++wrong;
  } catch (const std::bad_alloc&) {
  }
  return wrong;
}

// Runs `count` threads, kBatch at a time; returns the wrong results they saw.
int Churn(int count) {
  std::atomic<int> wrong{0};
  for (int first = 0; first < count; first += kBatch) {
    std::vector<std::thread> batch;
    for (int n = first; n < first + kBatch && n < count; ++n) {
      batch.emplace_back([&wrong, n] { wrong += UseTheLibrary(n); });
    }
    for (std::thread& thread : batch) thread.join();
  }
  return wrong.load();
}

TEST(ThreadChurn, WhatEachThreadKeepsLeavesWithIt) {
  int (*slot)(unsigned int, unsigned int) = &Recover;
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, nullptr), 1);  // allocations record their size
  testing::internal::CaptureStderr();
  EXPECT_EQ(Churn(kBatch * 16), 0);  // the runtime's one-time set-up
  const quarn::test::LeakCounter blocks;
  const long long heapBefore = HeapBytesInUse();
  EXPECT_EQ(Churn(kThreads), 0);
  const long long blocksLeft = blocks.LiveBlocks();
  const long long heapGrowth = HeapBytesInUse() - heapBefore;
  const std::string diagnostics = testing::internal::GetCapturedStderr();
  quarn_mem_recover_func_cxx(nullptr, nullptr);

  EXPECT_EQ(diagnostics.size(),
            (kBatch * 16 + kThreads) *
                std::string("StringAC index out of range -1 (0--1 allowed)").size());
  EXPECT_EQ(blocksLeft, 0);
  // A block left behind by each thread would add at least 16 bytes a thread;
  // a quarter of that is left for the allocators' own bookkeeping.
  EXPECT_LT(heapGrowth, 4 * kThreads) << "the heap grew by " << heapGrowth << " bytes";
}

}  // namespace
