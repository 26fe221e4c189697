// StringInternal.h - helpers shared by the StringC sources.
#ifndef QUARNBASE_SRC_STRING_STRINGINTERNAL_H
#define QUARNBASE_SRC_STRING_STRINGINTERNAL_H

#include <cstddef>
#include <cstring>
#include <new>

namespace quarn::detail {

/// Largest string length: the length plus its terminator must fit 32 bits.
constexpr std::size_t kMaxStringLength = 0xFFFFFFFEu;

/// Returns `length` as a 32-bit string length, or throws std::bad_alloc when it
/// cannot be represented.
inline unsigned int CheckedLength(std::size_t length) {
  if (length > kMaxStringLength) throw std::bad_alloc();
  return static_cast<unsigned int>(length);
}

/// Returns first + second as a 32-bit string length (computed without
/// wrapping), or throws std::bad_alloc.
inline unsigned int CheckedSum(unsigned int first, unsigned int second) {
  return CheckedLength(static_cast<std::size_t>(first) + second);
}

/// Length of a C text, a null pointer counting as empty.
inline std::size_t TextLength(const char* text) { return text != nullptr ? std::strlen(text) : 0; }

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_STRING_STRINGINTERNAL_H
