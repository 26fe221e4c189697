// string.h - the C runtime's string.h without the POSIX names (strcasecmp and
// the like) that these C runtime headers add as inline functions and the
// MSVC runtime's do not: code built here sees the names as MSVC code does.
#ifndef QUARN_MSVC_ABI_STRING_H
#define QUARN_MSVC_ABI_STRING_H

#define strcasecmp quarn_hidden_strcasecmp
#define strncasecmp quarn_hidden_strncasecmp
#include_next <string.h>
#undef strcasecmp
#undef strncasecmp

#endif  // QUARN_MSVC_ABI_STRING_H
