// In a static link, the load-time hook runs although nothing in the program
// refers to its object file: the program uses a scalar array and no string.
#include <quarnbase/ScalarArrays.h>

#include <gtest/gtest.h>

#include "SystemCalls.h"

namespace qp = quarn::platform;

TEST(LoadHook, CalledTheEntryPointBeforeMainInAStaticLink) {
  DblArrayC values;
  values.Add(1.5);
  EXPECT_EQ(values.GetSize(), 1);
  EXPECT_EQ(qp::ThreadLibraryCallsDisabledFor(), qp::ThisModule());
}
