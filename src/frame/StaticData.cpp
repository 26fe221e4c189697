// Library-global string data (the shared empty buffer and the empty
// prototype), and, where the platform has no DLL entry point, the load-time
// hook that calls the library's own.
#include <quarnbase/StringC.h>

#include "LibraryEntry.h"

// One zero byte shared by every empty string; the library never writes it.
char StringC::emptyBuffer[1] = {0};

// Constant-initialised (constexpr default constructor), so it is valid before
// any dynamic initialiser of any translation unit runs; its destructor is
// registered with the at-exit list and releases nothing.
#if defined(__clang__)
[[clang::require_constant_initialization]]
#endif
const StringC StringC::emptyPrototype;

#if !defined(_WIN32)
// A static library's object is linked only when something refers to it. A
// static quarnbase names this symbol in its link interface (-u), so that this
// file, and with it the hook below, is part of every program.
extern "C" QUARNBASE_NO_EXPORT const char quarnbase_load_hook_anchor;
const char quarnbase_load_hook_anchor = 0;

namespace {

using quarn::frame::LibraryEntry;
using namespace quarn::platform;

// Load-time hook. Defined after emptyPrototype in this file, it is initialised
// after it (so the entry point sees process attach once static initialisation
// has run) and destroyed before it (process detach comes before the at-exit
// list destroys the prototype), as a DLL's entry point would be called.
struct LoadHook {
  LoadHook() { LibraryEntry(ThisModule(), DLL_PROCESS_ATTACH, nullptr); }
  ~LoadHook() { LibraryEntry(ThisModule(), DLL_PROCESS_DETACH, nullptr); }
  LoadHook(const LoadHook&) = delete;
  LoadHook& operator=(const LoadHook&) = delete;
};

const LoadHook loadHook;

}  // namespace
#endif
