// Test entry point: GoogleTest plus a check that no test leaks an allocation.
#include <gtest/gtest.h>

#include <string>

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

// GoogleTest sizes some of its own state on first use (the last death-test
// message, the per-thread trace stack); do that before the leak check starts,
// so that the first test to use them is not blamed for them.
void WarmUpTestFramework() {
#if GTEST_HAS_DEATH_TEST
  testing::internal::DeathTest::set_last_death_test_message(std::string(256, ' '));
#endif
  for (int i = 0; i < 8; ++i) {
    testing::ScopedTrace outer("", 0, "");
    testing::ScopedTrace inner("", 0, std::string(64, ' '));
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  WarmUpTestFramework();
  testing::UnitTest::GetInstance()->listeners().Append(new LeakListener);
  return RUN_ALL_TESTS();
}
