//===- quarnbase/internal/Check.h - Hardened precondition checks -*- C++ -*-===//
// Not part of the interface.
//
// QUARNBASE_CHECK(condition, format, values...): in a hardened build (the
// QUARNBASE_HARDENED macro, which the CMake option of that name defines for
// the library and its clients), a false condition writes one line, the printf
// `format` naming the class, the operation and the values, to standard error
// and stops the process with abort. In every other build it is nothing at
// all: no code, and the arguments are not evaluated.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_INTERNAL_CHECK_H
#define QUARNBASE_INTERNAL_CHECK_H

#if defined(QUARNBASE_HARDENED)
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

// (Two namespace blocks, not quarn::detail: the headers also serve C++14 clients.)
namespace quarn {
namespace detail {

// Writes the message and a line break to stderr, then aborts. Inline, so that
// no build exports it.
[[noreturn]] inline void CheckFailed(const char* format, ...)
#if defined(__GNUC__) || defined(__clang__)
    __attribute__((format(printf, 1, 2)));
#else
    ;
#endif
inline void CheckFailed(const char* format, ...) {
  va_list values;
  va_start(values, format);
  std::vfprintf(stderr, format, values);
  va_end(values);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  std::abort();
}

}  // namespace detail
}  // namespace quarn

#define QUARNBASE_CHECK(condition, ...) \
  ((condition) ? static_cast<void>(0) : ::quarn::detail::CheckFailed(__VA_ARGS__))
#else
#define QUARNBASE_CHECK(condition, ...) static_cast<void>(0)
#endif

#endif  // QUARNBASE_INTERNAL_CHECK_H
