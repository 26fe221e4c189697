// AllocHarness.h - test support: a replacement of the global operator new and
// delete that counts live allocations and injects allocation failures.
//
// A failing allocation behaves like the standard one: it calls the installed
// std::new_handler and retries while there is one, and throws std::bad_alloc
// when there is none. Linking the harness into a test program replaces the
// global operators for the program and for the libraries it loads.
#ifndef QUARNBASE_TESTS_SUPPORT_ALLOCHARNESS_H
#define QUARNBASE_TESTS_SUPPORT_ALLOCHARNESS_H

#include <cstddef>
#include <cstdint>
#include <new>

namespace quarn::test {

/// Live allocations and bytes, and the number of allocations made so far.
struct AllocStats {
  long long liveBlocks;
  long long liveBytes;
  long long totalAllocations;
};

/// Current counters (all threads).
AllocStats Stats();

/// Makes the n-th allocation from now fail (n = 1: the next one); n <= 0 disarms.
void FailNth(long long n);
/// Makes every allocation from now fail until Reset().
void FailAll();
/// Stops injecting failures.
void Reset();
/// Number of injected failures since the last Reset().
long long InjectedFailures();
/// Size of the latest allocation request that failed since the last Reset(); 0 for none.
std::size_t LastFailedRequest();

/// Fails allocations for the scope of the object, and stops on leaving it.
class FailureScope {
 public:
  /// Fails the n-th allocation from now; with `andAfter`, every one after it too.
  explicit FailureScope(long long n, bool andAfter = false);
  ~FailureScope();
  FailureScope(const FailureScope&) = delete;
  FailureScope& operator=(const FailureScope&) = delete;
};

/// Runs `operation` with every allocation failing. Returns the size of the
/// failed request when it threw std::bad_alloc after one, 0 when it threw
/// before requesting anything, and -1 when it did not throw.
template <class F>
long long FailedRequestOf(F&& operation) {
  FailureScope fail(1, true);
  try {
    operation();
  } catch (const std::bad_alloc&) {
    return static_cast<long long>(LastFailedRequest());
  }
  return -1;
}

/// The request an operation needing a block of `bytes` makes: `bytes` where a
/// block that large can exist (within PTRDIFF_MAX), else 0, as the library
/// refuses it before asking.
constexpr long long RequestFor(unsigned long long bytes) {
  return bytes <= static_cast<unsigned long long>(PTRDIFF_MAX) ? static_cast<long long>(bytes) : 0;
}

/// Counts the blocks allocated and not released since construction.
class LeakCounter {
 public:
  LeakCounter() : start(Stats()) {}
  long long LiveBlocks() const { return Stats().liveBlocks - start.liveBlocks; }
  long long LiveBytes() const { return Stats().liveBytes - start.liveBytes; }
  long long Allocations() const { return Stats().totalAllocations - start.totalAllocations; }

 private:
  AllocStats start;
};

/// Whether a replaced operator new reaches allocations made inside the
/// library (false where the library binds its own allocator, as a DLL does).
bool ReachesLibrary();

}  // namespace quarn::test

/// Skips the current test, with a message, where the replaced operator new
/// does not reach allocations made inside the library (a Windows DLL binds its
/// own allocator and its own allocation-failure handler). Use it first in a test
/// that counts or fails the library's allocations, or that reads the handler the
/// library installs. Needs <gtest/gtest.h>.
#define QUARN_REQUIRE_HARNESS_REACH()                                                    \
  do {                                                                                   \
    if (!::quarn::test::ReachesLibrary()) {                                              \
      GTEST_SKIP() << "the replaced operator new and the new handler do not reach into " \
                      "the library here (it is a DLL with its own allocator)";           \
    }                                                                                    \
  } while (0)

#endif  // QUARNBASE_TESTS_SUPPORT_ALLOCHARNESS_H
