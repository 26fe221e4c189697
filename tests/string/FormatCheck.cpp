// A client of the printf-style constructor, built with -Wformat=2 -Werror: the
// constructor's format attribute accepts what the library's formatter takes,
// C99 conversions included, on every platform. With QUARN_FORMAT_MISUSE it
// must not compile: the attribute checks the arguments against the format.
#include <quarnbase/StringC.h>

#include <cstddef>

StringC FormatCheck(std::size_t count, long long offset, unsigned long long total) {
#if defined(QUARN_FORMAT_MISUSE)
  return StringC(32u, "%s of %d", count, offset);
#else
  return StringC(32u, "%zu %lld %llu %p", count, offset, total, static_cast<void*>(nullptr));
#endif
}
