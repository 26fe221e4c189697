// CxxLibrary.cpp - the few compiled parts of the C++ library (libc++, whose
// headers this toolchain uses) that the test programs call; no compiled libc++
// exists for this target. Linked into programs only.
#include <cstdio>
#include <string>

_LIBCPP_BEGIN_NAMESPACE_STD

namespace {
template <class Value>
string Decimal(const char* format, Value value) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, format, value);
  return string(text, static_cast<size_t>(length));
}
}  // namespace

string to_string(int value) { return Decimal("%d", value); }
string to_string(unsigned value) { return Decimal("%u", value); }
string to_string(long value) { return Decimal("%ld", value); }
string to_string(unsigned long value) { return Decimal("%lu", value); }
string to_string(long long value) { return Decimal("%lld", value); }
string to_string(unsigned long long value) { return Decimal("%llu", value); }

_LIBCPP_END_NAMESPACE_STD
