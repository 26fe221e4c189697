// Out-of-range StringAC access after the library's per-thread scratch has been
// destroyed, with text still in it: from a static destructor (the main
// thread's thread_locals are gone by then), and from a client's thread_local
// destructor that runs after the library's, on a second thread and on the main
// one. Neither may free the old text again or crash; each late use gets an
// empty scratch that works. Run as `late_use static` or `late_use thread`.
#include <quarnbase/StringAC.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

bool staticCase = false;

void Require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "\nlate_use: %s\n", what);
    std::_Exit(1);
  }
}

// Leaves text in the calling thread's scratch (its first use on the thread).
void KeepText() {
  StringAC none;
  none[5] = "text left in the scratch until it is destroyed";
}

// Uses the scratch after its destruction; the last access empties it again,
// so that nothing is left to leak.
void LateUse() {
  StringAC none;
  StringC& scratch = none[7];
  Require(scratch.IsEmpty() != 0, "a late scratch is not empty");
  scratch = "late";
  Require(scratch == "late", "a late scratch does not keep its text");
  Require(none[8].IsEmpty() != 0, "the next late access is not empty");
}

struct LateStatic {
  ~LateStatic() {
    if (staticCase) LateUse();
  }
} lateStatic;

// Made before the thread's first use of the scratch, so destroyed after it.
struct LateThreadLocal {
  bool armed = false;
  ~LateThreadLocal() {
    if (armed) LateUse();
  }
};
thread_local LateThreadLocal lateThreadLocal;

void ThreadCase() {
  lateThreadLocal.armed = true;
  KeepText();
}

}  // namespace

int main(int argc, char** argv) {
  Require(argc == 2, "usage: late_use static|thread");
  if (std::strcmp(argv[1], "static") == 0) {
    staticCase = true;
    KeepText();
  } else {
    std::thread(ThreadCase).join();
    ThreadCase();
  }
  return 0;
}
