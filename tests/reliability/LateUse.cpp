// Out-of-range StringAC access after the library's per-thread scratch has been
// destroyed with text in it: from a static destructor (the main thread's
// thread_locals are gone by then), and from a client's thread_local destructor
// that runs after the library's, on a second thread and on the main one. The
// old text must not be freed again; the late access gets an empty scratch that
// works, and the next access empties it, so nothing leaks. Run as
// `late_use static` or `late_use thread`.
#include <quarnbase/StringAC.h>

#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

void KeepTextInScratch() {
  StringAC none;
  none[5] = "text left in the scratch until it is destroyed";
}

void LateUse() {
  StringAC none;
  StringC& scratch = none[7];
  const bool fresh = scratch.IsEmpty() != 0;
  scratch = "late";
  if (!fresh || !(scratch == "late") || none[8].IsEmpty() == 0) std::_Exit(1);
}

bool staticCase = false;
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
  KeepTextInScratch();
}

}  // namespace

int main(int argc, char** argv) {
  staticCase = argc == 2 && std::strcmp(argv[1], "static") == 0;
  if (staticCase) {
    KeepTextInScratch();
  } else {
    std::thread(ThreadCase).join();
    ThreadCase();
  }
  return 0;
}
