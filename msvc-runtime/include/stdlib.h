// stdlib.h - the C runtime's stdlib.h with atexit declared as the MSVC
// runtime's is: a function of each module (it registers with that module's
// exit list), not an import from the runtime DLL.
#ifndef QUARN_MSVC_ABI_STDLIB_H
#define QUARN_MSVC_ABI_STDLIB_H

#define atexit quarn_hidden_atexit
#include_next <stdlib.h>
#undef atexit

#ifdef __cplusplus
extern "C" {
#endif
int __cdecl atexit(void(__cdecl* function)(void));
#ifdef __cplusplus
}
#endif

#endif  // QUARN_MSVC_ABI_STDLIB_H
