// The platform layer's entry point and its load-time hook.
#include <gtest/gtest.h>

#include "frame/LibraryEntry.h"

namespace qp = quarn::platform;

TEST(LibraryEntry, LoadHookSwitchedThreadNotificationsOff) {
  EXPECT_TRUE(qp::ThreadLibraryCallsDisabled());
}

TEST(LibraryEntry, ReturnsTrueForEveryReason) {
  for (qp::DWORD reason : {qp::DLL_PROCESS_DETACH, qp::DLL_PROCESS_ATTACH, qp::DLL_THREAD_ATTACH,
                           qp::DLL_THREAD_DETACH, qp::DWORD{99}}) {
    EXPECT_EQ(qp::LibraryEntry(qp::ThisModule(), reason, nullptr), qp::TRUE) << reason;
  }
  EXPECT_TRUE(qp::ThreadLibraryCallsDisabled());
}
