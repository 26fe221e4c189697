// The out-of-memory recovery hook: installation, the retry limit, and the
// sizes and answers that pass between the allocator and the client.
#include <quarnbase/MemRecover.h>
#include <quarnbase/ScalarArrays.h>
#include <quarnbase/StringC.h>

#include <basesup/basesup.h>
#include <gtest/gtest.h>

#include <new>

#include "AllocHarness.h"

namespace {

// Every test that counts or fails the library's allocations relies on the
// harness reaching them, on every platform, the Windows DLLs included.
TEST(AllocHarness, CountsAndFailsTheLibrarysOwnAllocations) {
  quarn::test::LeakCounter counter;
  {
    StringC probe("x");
    EXPECT_EQ(counter.LiveBlocks(), 1);
    quarn::test::FailureScope fail(1);
    EXPECT_THROW(probe += "longer", std::bad_alloc);
    EXPECT_EQ(quarn::test::InjectedFailures(), 1);
  }
  EXPECT_EQ(counter.LiveBlocks(), 0);
  EXPECT_EQ(counter.Allocations(), 1);
}

// A client's recovery function: counts its calls and answers from a script.
struct Recovery {
  static int calls;
  static int answerOnceFrom;  // calls at or past this index answer 0; -1: always 1
  static unsigned int lastSize;
  static unsigned int lastArg;
  static int Recover(unsigned int size, unsigned int arg) {
    lastSize = size;
    lastArg = arg;
    const int index = calls++;
    return (answerOnceFrom >= 0 && index >= answerOnceFrom) ? 0 : 1;
  }
};
int Recovery::calls = 0;
int Recovery::answerOnceFrom = -1;
unsigned int Recovery::lastSize = 0;
unsigned int Recovery::lastArg = 0;

class MemRecover : public testing::Test {
 protected:
  void SetUp() override {
    Recovery::calls = 0;
    Recovery::lastSize = 0;
    Recovery::answerOnceFrom = -1;
    slot = &Recovery::Recover;
  }
  void TearDown() override {
    quarn::test::Reset();
    quarn_mem_recover_func_cxx(nullptr, nullptr);
  }

  // Makes one library allocation while every allocation fails.
  static void FailingLibraryAllocation() {
    StringC s;
    quarn::test::FailureScope fail(1, true);
    s.GetBuffer(99);
  }

  int (*slot)(unsigned int, unsigned int) = nullptr;
  unsigned int arg = 7;
};

TEST_F(MemRecover, NullSlotsInstallNothingAndPassTheArgumentsOn) {
  int (*nullSlot)(unsigned int, unsigned int) = nullptr;
  std::set_new_handler([] {});
  EXPECT_EQ(quarn_mem_recover_func_cxx(nullptr, &arg), 0);
  EXPECT_EQ(std::get_new_handler(), nullptr);

  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, &arg), 1);
  EXPECT_NE(std::get_new_handler(), nullptr);
  EXPECT_EQ(quarn_mem_recover_func_cxx(&nullSlot, &arg), 0);
  EXPECT_EQ(std::get_new_handler(), nullptr);
  // The support library now holds the null slot: nothing is there to recover.
  EXPECT_EQ(gui_stdlib_recover(10), 0);
  EXPECT_EQ(Recovery::calls, 0);
}

TEST_F(MemRecover, RetriesAtMost1001TimesThenRemovesItself) {
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, &arg), 1);
  EXPECT_THROW(FailingLibraryAllocation(), std::bad_alloc);
  EXPECT_EQ(Recovery::calls, 1001);
  EXPECT_EQ(Recovery::lastSize, 100u);  // GetBuffer(99) asks for 100 bytes
  EXPECT_EQ(Recovery::lastArg, 7u);
  EXPECT_EQ(std::get_new_handler(), nullptr);

  EXPECT_THROW(FailingLibraryAllocation(), std::bad_alloc);
  EXPECT_EQ(Recovery::calls, 1001);
}

TEST_F(MemRecover, ASecondHookCallResetsTheCounter) {
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, &arg), 1);
  Recovery::answerOnceFrom = 500;  // 500 recoveries, then the allocation fails
  EXPECT_THROW(FailingLibraryAllocation(), std::bad_alloc);
  EXPECT_EQ(Recovery::calls, 501);

  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, &arg), 1);
  Recovery::calls = 0;
  Recovery::answerOnceFrom = -1;
  EXPECT_THROW(FailingLibraryAllocation(), std::bad_alloc);
  EXPECT_EQ(Recovery::calls, 1001);
}

TEST_F(MemRecover, AFailedRecoveryFailsAtOnceAndKeepsTheCounter) {
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, &arg), 1);
  Recovery::answerOnceFrom = 10;
  EXPECT_THROW(FailingLibraryAllocation(), std::bad_alloc);
  EXPECT_EQ(Recovery::calls, 11);
  EXPECT_NE(std::get_new_handler(), nullptr);

  Recovery::calls = 0;
  Recovery::answerOnceFrom = -1;
  EXPECT_THROW(FailingLibraryAllocation(), std::bad_alloc);
  EXPECT_EQ(Recovery::calls, 991);  // 10 of the 1001 recoveries were already used
}

TEST_F(MemRecover, ARecoveryThatFreesMemoryLetsTheAllocationSucceed) {
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, &arg), 1);
  StringC s;
  {
    quarn::test::FailureScope fail(1);  // only the first attempt fails
    EXPECT_NO_THROW(s.GetBuffer(20));
  }
  EXPECT_EQ(Recovery::calls, 1);
  EXPECT_EQ(Recovery::lastSize, 21u);
  EXPECT_EQ(s.size(), 21u);
}

TEST_F(MemRecover, AllocationsOutsideTheLibraryReportSizeZero) {
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, &arg), 1);
  Recovery::answerOnceFrom = 0;
  {
    quarn::test::FailureScope fail(1);
    EXPECT_THROW(static_cast<void>(quarn::test::Allocate(64)), std::bad_alloc);
  }
  EXPECT_EQ(Recovery::calls, 1);
  EXPECT_EQ(Recovery::lastSize, 0u);
}

TEST_F(MemRecover, RequestsAbove32BitsReportTheLargestSize) {
  ASSERT_EQ(quarn_mem_recover_func_cxx(&slot, &arg), 1);
  Recovery::answerOnceFrom = 0;
  DblArrayC huge;
  {
    quarn::test::FailureScope fail(1, true);
    EXPECT_THROW(huge.SetSize(0x7FFFFFFF, -1), std::bad_alloc);
  }
  // A 16 GiB block is requested where it can exist; on a 32-bit target it is
  // refused before any request, so no recovery is asked for.
  const bool requested = sizeof(std::size_t) > 4;
  EXPECT_EQ(Recovery::calls, requested ? 1 : 0);
  EXPECT_EQ(Recovery::lastSize, requested ? 0xFFFFFFFFu : 0u);
  EXPECT_EQ(huge.GetSize(), 0);
}

}  // namespace
