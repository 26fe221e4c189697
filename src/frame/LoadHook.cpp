// Where the platform has no DLL entry point: the load-time hook that calls
// the library's own, as a DLL's loader would.
#include <quarnbase/quarnbase_export.h>

#include "LibraryEntry.h"

#if !defined(_WIN32)
// A static library's object is linked only when something refers to it. A
// static quarnbase names this symbol in its link interface (-u), so that this
// file, and with it the hook below, is part of every program.
extern "C" QUARNBASE_NO_EXPORT const char quarnbase_load_hook_anchor;
const char quarnbase_load_hook_anchor = 0;

namespace quarn::frame {
namespace {

// Calls the entry point with process attach when the library's static
// initialisation reaches it, and with process detach when the library's
// static objects are destroyed at unload.
struct LoadHook {
  LoadHook() { LibraryEntry(ThisModule(), DLL_PROCESS_ATTACH, nullptr); }
  ~LoadHook() { LibraryEntry(ThisModule(), DLL_PROCESS_DETACH, nullptr); }
  LoadHook(const LoadHook&) = delete;
  LoadHook& operator=(const LoadHook&) = delete;
};

const LoadHook loadHook;

}  // namespace
}  // namespace quarn::frame
#endif
