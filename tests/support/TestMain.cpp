// Test entry point: GoogleTest plus a check that no test leaks an allocation.
#include <gtest/gtest.h>

#include "AllocHarness.h"

namespace {

// Fails a passing test that ends with more live allocations than it began with.
class LeakListener : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override {
    quarn::test::Reset();
    before = quarn::test::Stats().liveBlocks;
  }
  void OnTestEnd(const testing::TestInfo& info) override {
    quarn::test::Reset();
    const long long leaked = quarn::test::Stats().liveBlocks - before;
    if (info.result()->Passed() && leaked > 0) {
      ADD_FAILURE() << info.test_suite_name() << "." << info.name() << " leaked " << leaked
                    << " allocation(s)";
    }
  }
  long long before = 0;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new LeakListener);
  return RUN_ALL_TESTS();
}
