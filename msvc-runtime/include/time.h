// time.h - the C runtime's time.h with struct timespec, which the MSVC runtime
// declares there and the C++ library's thread support uses.
#ifndef QUARN_MSVC_ABI_TIME_H
#define QUARN_MSVC_ABI_TIME_H

#include_next <time.h>

struct timespec {
  time_t tv_sec;
  long tv_nsec;
};

#endif  // QUARN_MSVC_ABI_TIME_H
