// A module that uses the library, for the unload test: the test loads it (and
// with it the library) with LoadLibrary and unloads both with FreeLibrary.
#include <quarnbase/StringAC.h>

/// Stores `text` into the calling thread's out-of-range scratch, where it
/// stays until the thread ends; prints the range message.
extern "C" __declspec(dllexport) void KeepInScratch(const char* text) {
  StringAC none;
  none.ElementAt(0) = text;
}
