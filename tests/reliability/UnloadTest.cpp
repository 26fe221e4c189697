// Unloading the library while threads that used it still run: what they keep
// in the library is released at unload, and their ends run nothing in the
// unloaded code. The library arrives with scratch_user.dll, which this program
// loads itself; it links neither.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include <windows.h>

#include "AllocHarness.h"

namespace {

constexpr int kThreads = 4;

TEST(Unload, ThreadsThatUsedTheLibraryEndAfterIt) {
  const quarn::test::LeakCounter blocks;
  HMODULE user = LoadLibraryW(L"scratch_user.dll");
  ASSERT_NE(user, nullptr);
  ASSERT_NE(GetModuleHandleW(L"quarnbase.dll"), nullptr);
  // Through void (*)(), the type that stands for any function in a cast.
  const auto keepInScratch = reinterpret_cast<void (*)(const char*)>(
      reinterpret_cast<void (*)()>(GetProcAddress(user, "KeepInScratch")));
  ASSERT_NE(keepInScratch, nullptr);

  // Each thread leaves text in its scratch, then waits for the unload.
  HANDLE unloaded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  testing::internal::CaptureStderr();
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      keepInScratch("kept until the thread ends or the library goes");
      ++ready;
      WaitForSingleObject(unloaded, INFINITE);
    });
  }
  while (ready.load() < kThreads) std::this_thread::yield();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(blocks.LiveBlocks(), 2 * kThreads);  // a scratch and its text each

  ASSERT_TRUE(FreeLibrary(user));
  EXPECT_EQ(GetModuleHandleW(L"quarnbase.dll"), nullptr);
  EXPECT_EQ(blocks.LiveBlocks(), 0);

  // The threads end now; a clean-up left registered would run in unloaded code.
  SetEvent(unloaded);
  for (std::thread& thread : threads) thread.join();
  CloseHandle(unloaded);
}

}  // namespace
