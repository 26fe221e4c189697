// Library-global string data: the shared empty buffer and the empty prototype.
#include <quarnbase/StringC.h>

// One zero byte shared by every empty string; the library never writes it.
char StringC::emptyBuffer[1] = {0};

// Constant-initialised (constexpr default constructor), so it is valid before
// any dynamic initialiser of any translation unit runs; its destructor is
// registered with the at-exit list and releases nothing.
#if defined(__clang__)
[[clang::require_constant_initialization]]
#endif
const StringC StringC::emptyPrototype;
