// math.h - the C runtime's math.h with what the MSVC runtime's adds and the
// C++ library headers expect: erfc and erfcf, and the long double functions,
// which it defines inline (long double is double there, so each forwards to the
// double function).
#ifndef QUARN_MSVC_ABI_MATH_H
#define QUARN_MSVC_ABI_MATH_H

#include_next <math.h>

#ifdef __cplusplus
extern "C" {
__declspec(dllimport) double __cdecl erfc(double x);
__declspec(dllimport) float __cdecl erfcf(float x);
}
#define QUARN_LD_1(name) \
  inline long double name##l(long double x) { return name(static_cast<double>(x)); }
#define QUARN_LD_2(name)                                         \
  inline long double name##l(long double x, long double y) {     \
    return name(static_cast<double>(x), static_cast<double>(y)); \
  }
QUARN_LD_1(acos)
QUARN_LD_1(acosh)
QUARN_LD_1(asin)
QUARN_LD_1(asinh)
QUARN_LD_1(atan)
QUARN_LD_1(atanh)
QUARN_LD_1(cbrt)
QUARN_LD_1(ceil)
QUARN_LD_1(cos)
QUARN_LD_1(cosh)
QUARN_LD_1(erf)
QUARN_LD_1(erfc)
QUARN_LD_1(exp)
QUARN_LD_1(exp2)
QUARN_LD_1(expm1)
QUARN_LD_1(fabs)
QUARN_LD_1(floor)
QUARN_LD_1(lgamma)
QUARN_LD_1(log)
QUARN_LD_1(log10)
QUARN_LD_1(log1p)
QUARN_LD_1(log2)
QUARN_LD_1(logb)
QUARN_LD_1(nearbyint)
QUARN_LD_1(sin)
QUARN_LD_1(sinh)
QUARN_LD_1(sqrt)
QUARN_LD_1(tan)
QUARN_LD_1(tanh)
QUARN_LD_1(tgamma)
QUARN_LD_2(atan2)
QUARN_LD_2(fdim)
QUARN_LD_2(fmax)
QUARN_LD_2(fmin)
QUARN_LD_2(fmod)
QUARN_LD_2(hypot)
QUARN_LD_2(nextafter)
QUARN_LD_2(pow)
QUARN_LD_2(remainder)
#undef QUARN_LD_1
#undef QUARN_LD_2
inline int ilogbl(long double x) { return ilogb(static_cast<double>(x)); }
inline long double frexpl(long double x, int* e) { return frexp(static_cast<double>(x), e); }
inline long double ldexpl(long double x, int e) { return ldexp(static_cast<double>(x), e); }
inline long double modfl(long double x, long double* i) {
  double whole = 0;
  const double fraction = modf(static_cast<double>(x), &whole);
  *i = whole;
  return fraction;
}
inline long double remquol(long double x, long double y, int* q) {
  return remquo(static_cast<double>(x), static_cast<double>(y), q);
}
inline long double scalbnl(long double x, int e) { return scalbn(static_cast<double>(x), e); }
inline long double scalblnl(long double x, long e) { return scalbln(static_cast<double>(x), e); }
inline long double nexttowardl(long double x, long double y) {
  return nextafter(static_cast<double>(x), static_cast<double>(y));
}
inline float nexttowardf(float x, long double y) { return nextafterf(x, static_cast<float>(y)); }
#endif

#endif  // QUARN_MSVC_ABI_MATH_H
