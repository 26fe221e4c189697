// The library entry point, run outside the library against the platform
// layer's stand-in for DisableThreadLibraryCalls, which records its caller.
#include <gtest/gtest.h>

#include "LibraryEntry.h"

namespace qp = quarn::platform;

TEST(LibraryEntry, SwitchesThreadNotificationsOffOnProcessAttachOnly) {
  int module = 0;
  const qp::HINSTANCE handle = &module;
  for (qp::DWORD reason :
       {qp::DLL_PROCESS_DETACH, qp::DLL_THREAD_ATTACH, qp::DLL_THREAD_DETACH, qp::DWORD{99}}) {
    EXPECT_EQ(quarn::frame::LibraryEntry(handle, reason, nullptr), qp::TRUE) << reason;
    EXPECT_EQ(qp::ThreadLibraryCallsDisabledFor(), nullptr) << reason;
  }
  EXPECT_EQ(quarn::frame::LibraryEntry(handle, qp::DLL_PROCESS_ATTACH, nullptr), qp::TRUE);
  EXPECT_EQ(qp::ThreadLibraryCallsDisabledFor(), handle);
}
