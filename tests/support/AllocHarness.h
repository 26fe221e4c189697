// AllocHarness.h - test support: allocation functions that count live
// allocations and inject allocation failures, in place of the global operator
// new and delete.
//
// A failing allocation behaves like the standard one: it calls the installed
// std::new_handler and retries while there is one, and throws std::bad_alloc
// when there is none.
//
// Where the library is a shared object (ELF), linking the harness into a test
// program replaces the global operators for the program and the libraries it
// loads. The Windows DLLs bind the C++ runtime's DLL, whose operator new no
// program can replace for them (and replacing it for the program alone would
// pair the runtime's allocations with the program's releases): there the
// program keeps the runtime's operators, and the test builds of the library
// allocate through the harness, which they find in the program
// (src/platform/Allocation.h). Either way every allocation of the library is
// counted and can be failed.
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

/// The harness's allocation function, which the library's allocations reach:
/// counts the block and fails when a failure is armed (throws std::bad_alloc).
/// A block from it may be handed to the library, which releases it.
void* Allocate(std::size_t size);

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

/// Sets the largest single request the harness grants (1 GiB at first) and
/// returns the previous cap. A larger request fails as if memory were
/// exhausted, so a size computed wrongly fails its test at once instead of
/// allocating gigabytes; a test that needs more raises the cap.
std::size_t SetRequestCap(std::size_t bytes);

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

}  // namespace quarn::test

#endif  // QUARNBASE_TESTS_SUPPORT_ALLOCHARNESS_H
