#include "AllocHarness.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(QUARNBASE_ALLOCATION_HOOKS)
#include "Allocation.h"
#endif

namespace quarn::test {
namespace {

std::atomic<long long> liveBlocks{0};
std::atomic<long long> liveBytes{0};
std::atomic<long long> totalAllocations{0};
std::atomic<long long> injected{0};
// Size of the latest request that failed; 0 when none has since Reset().
std::atomic<std::size_t> lastFailedSize{0};
// Allocations left before the one that fails; 0 when disarmed.
std::atomic<long long> countdown{0};
std::atomic<bool> failAll{false};
// Whether the failure armed by countdown continues into every later allocation.
std::atomic<bool> failAfter{false};
// The largest single request granted.
std::atomic<std::size_t> requestCap{std::size_t{1} << 30};

// Header in front of each block; 16 bytes keep the block maximally aligned.
struct alignas(16) Header {
  std::size_t size;
};

bool ShouldFail() {
  if (failAll.load()) return true;
  long long left = countdown.load();
  while (left > 0) {
    if (countdown.compare_exchange_weak(left, left - 1)) {
      if (left - 1 == 0) {
        if (failAfter.load()) failAll.store(true);
        return true;
      }
      return false;
    }
  }
  return false;
}

void* Obtain(std::size_t size, bool nothrow) {
  for (;;) {
    if (ShouldFail()) {
      ++injected;
      lastFailedSize.store(size);
      std::new_handler handler = std::get_new_handler();
      if (handler == nullptr) {
        if (nothrow) return nullptr;
        throw std::bad_alloc();
      }
      if (nothrow) {
        try {
          handler();
        } catch (const std::bad_alloc&) {
          return nullptr;
        }
      } else {
        handler();
      }
      continue;
    }
    // A size above the cap, or too large for the header to go in front, fails
    // like one that the system refuses.
    void* raw = size <= requestCap.load() && size <= SIZE_MAX - sizeof(Header)
                    ? std::malloc(sizeof(Header) + size)
                    : nullptr;
    if (raw == nullptr) {
      lastFailedSize.store(size);
      if (nothrow) return nullptr;
      throw std::bad_alloc();
    }
    static_cast<Header*>(raw)->size = size;
    ++liveBlocks;
    liveBytes += static_cast<long long>(size);
    ++totalAllocations;
    return static_cast<Header*>(raw) + 1;
  }
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  Header* header = static_cast<Header*>(block) - 1;
  --liveBlocks;
  liveBytes -= static_cast<long long>(header->size);
  std::free(header);
}

}  // namespace

void* Allocate(std::size_t size) { return Obtain(size, false); }

AllocStats Stats() { return {liveBlocks.load(), liveBytes.load(), totalAllocations.load()}; }

void FailNth(long long n) {
  failAfter.store(false);
  countdown.store(n > 0 ? n : 0);
}

void FailAll() { failAll.store(true); }

void Reset() {
  failAll.store(false);
  failAfter.store(false);
  countdown.store(0);
  injected.store(0);
  lastFailedSize.store(0);
}

long long InjectedFailures() { return injected.load(); }

std::size_t LastFailedRequest() { return lastFailedSize.load(); }

std::size_t SetRequestCap(std::size_t bytes) { return requestCap.exchange(bytes); }

FailureScope::FailureScope(long long n, bool andAfter) {
  Reset();
  FailNth(n);
  failAfter.store(andAfter);
}

FailureScope::~FailureScope() {
  failAll.store(false);
  failAfter.store(false);
  countdown.store(0);
}

}  // namespace quarn::test

#if !defined(QUARNBASE_ALLOCATION_HOOKS)
// The replaced global allocation and release functions.
void* operator new(std::size_t size) { return quarn::test::Obtain(size, false); }
void* operator new[](std::size_t size) { return quarn::test::Obtain(size, false); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return quarn::test::Obtain(size, true);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return quarn::test::Obtain(size, true);
}
void operator delete(void* block) noexcept { quarn::test::Release(block); }
void operator delete[](void* block) noexcept { quarn::test::Release(block); }
void operator delete(void* block, std::size_t) noexcept { quarn::test::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { quarn::test::Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { quarn::test::Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { quarn::test::Release(block); }
#else
// The library's allocation functions, which it finds in the program's export
// table by this name.
extern "C" __declspec(dllexport) const quarn::platform::AllocationHooks
    quarn_test_allocation_hooks = {&quarn::test::Allocate, &quarn::test::Release};
#endif
