// StringInternal.h - helpers shared by the StringC sources.
#ifndef QUARNBASE_SRC_STRING_STRINGINTERNAL_H
#define QUARNBASE_SRC_STRING_STRINGINTERNAL_H

#include <quarnbase/StringC.h>

#include <cstddef>
#include <cstring>

#include "Allocation.h"

namespace quarn::detail {

/// Length of a C text, a null pointer counting as empty.
inline std::size_t TextLength(const char* text) { return text != nullptr ? std::strlen(text) : 0; }

/// A C text for the C library, a null pointer reading as "".
inline const char* CText(const char* text) { return text != nullptr ? text : ""; }

/// Release rule: a buffer is given back unless it is null or the shared empty
/// buffer `shared`.
inline void ReleaseOwned(char* buffer, const char* shared) noexcept {
  if (buffer != shared) platform::ReleaseBytes(buffer);
}

/// Stores the terminator at `buffer[index]`, except into the shared empty
/// buffer `shared`, which always holds it and is never written.
inline void StoreTerminator(char* buffer, unsigned int index, const char* shared) {
  if (buffer != shared) buffer[index] = '\0';
}

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_STRING_STRINGINTERNAL_H
