// Checked.h - the one home of the library's size arithmetic.
//
// Every length, count and byte size that the library computes goes through
// these functions. Each is correct whatever the width of std::size_t: an
// overflow is caught by the checked operation itself (or by testing
// b > max - a), never by comparing a result that may have wrapped. A value
// that cannot be represented throws std::bad_alloc before the caller has
// changed anything. A check is a compare and a branch, cheap enough for the
// hot paths. GCC and clang check with their builtins; MSVC (and clang-cl, so
// that the MSVC-ABI lanes compile what MSVC does) with the portable code.
#ifndef QUARNBASE_SRC_PLATFORM_CHECKED_H
#define QUARNBASE_SRC_PLATFORM_CHECKED_H

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <type_traits>

namespace quarn::platform {

static_assert(sizeof(std::size_t) >= 4, "a string buffer size must fit std::size_t");

/// Largest string length: a length plus its terminator fits 32 bits.
constexpr std::size_t kMaxStringLength = 0xFFFFFFFEu;

/// Largest block in bytes: within ptrdiff_t, so that any two pointers into a
/// block have a defined difference.
constexpr std::size_t kMaxBlockBytes = static_cast<std::size_t>(PTRDIFF_MAX);

/// Reports a size that cannot be represented.
[[noreturn]] inline void ThrowSizeOverflow() { throw std::bad_alloc(); }

/// Stores a + b in `sum` and returns false, or returns true when the sum does
/// not fit T (`sum` then holds no useful value).
template <class T>
inline bool AddOverflows(T a, T b, T& sum) {
  static_assert(std::is_integral_v<T>, "integers only");
#if !defined(_MSC_VER) && (defined(__GNUC__) || defined(__clang__))
  return __builtin_add_overflow(a, b, &sum);
#else
  using Limits = std::numeric_limits<T>;
  if constexpr (std::is_signed_v<T>) {
    if (b > 0 ? a > Limits::max() - b : a < Limits::min() - b) return true;
  } else if (b > Limits::max() - a) {
    return true;
  }
  sum = static_cast<T>(a + b);
  return false;
#endif
}

/// Stores a * b in `product` and returns false, or returns true when the
/// product does not fit T. Unsigned types only.
template <class T>
inline bool MulOverflows(T a, T b, T& product) {
  static_assert(std::is_unsigned_v<T>, "sizes are unsigned");
#if !defined(_MSC_VER) && (defined(__GNUC__) || defined(__clang__))
  return __builtin_mul_overflow(a, b, &product);
#else
  if (a != 0 && b > std::numeric_limits<T>::max() / a) return true;
  product = static_cast<T>(a * b);
  return false;
#endif
}

/// Whether `value` lies in the range of To.
template <class To, class From>
constexpr bool FitsIn(From value) {
  static_assert(std::is_integral_v<To> && std::is_integral_v<From>, "integers only");
  using ToLimits = std::numeric_limits<To>;
  if constexpr (std::is_signed_v<From> && std::is_signed_v<To>) {
    return value >= ToLimits::min() && value <= ToLimits::max();
  } else if constexpr (std::is_signed_v<From>) {  // signed to unsigned
    return value >= 0 && static_cast<std::make_unsigned_t<From>>(value) <= ToLimits::max();
  } else if constexpr (std::is_signed_v<To>) {  // unsigned to signed
    return value <= static_cast<std::make_unsigned_t<To>>(ToLimits::max());
  } else {
    return value <= ToLimits::max();
  }
}

/// Returns `value` as a To, or throws std::bad_alloc when it does not fit.
template <class To, class From>
inline To CheckedNarrow(From value) {
  if (!FitsIn<To>(value)) ThrowSizeOverflow();
  return static_cast<To>(value);
}

/// Returns `value` as a To, clamped to To's range (for sizes that are only reported).
template <class To, class From>
constexpr To SaturatingNarrow(From value) {
  if (FitsIn<To>(value)) return static_cast<To>(value);
  if constexpr (std::is_signed_v<From>) {
    if (value < 0) return std::numeric_limits<To>::min();
  }
  return std::numeric_limits<To>::max();
}

/// Returns a + b, clamped to T's range (a growth target that may overshoot).
template <class T>
inline T SaturatingAdd(T a, T b) {
  T sum;
  if (!AddOverflows(a, b, sum)) return sum;
  if constexpr (std::is_signed_v<T>) {
    if (b < 0) return std::numeric_limits<T>::min();
  }
  return std::numeric_limits<T>::max();
}

/// Returns a + b, or throws std::bad_alloc when it does not fit std::size_t.
inline std::size_t CheckedAdd(std::size_t a, std::size_t b) {
  std::size_t sum;
  if (AddOverflows(a, b, sum)) ThrowSizeOverflow();
  return sum;
}

/// Returns `length` as a string length, or throws std::bad_alloc when it is
/// above kMaxStringLength.
inline unsigned int CheckedLength(std::size_t length) {
  if (length > kMaxStringLength) ThrowSizeOverflow();
  return static_cast<unsigned int>(length);
}

/// Returns first + second as a string length, or throws std::bad_alloc when the
/// sum is above kMaxStringLength.
inline unsigned int CheckedLengthSum(unsigned int first, unsigned int second) {
  unsigned int sum;
  if (AddOverflows(first, second, sum) || sum > kMaxStringLength) ThrowSizeOverflow();
  return sum;
}

/// Returns first + second as an element count, or throws std::bad_alloc when
/// the sum is above INT_MAX. Both operands are counts or indices (>= 0).
inline int CheckedCountSum(int first, int second) {
  assert(first >= 0 && second >= 0 && "counts are not negative");
  int sum;
  if (AddOverflows(first, second, sum)) ThrowSizeOverflow();
  return sum;
}

/// Returns `bytes` as the size of a block, or throws std::bad_alloc when it is
/// above kMaxBlockBytes.
inline std::size_t CheckedBlockSize(std::size_t bytes) {
  if (bytes > kMaxBlockBytes) ThrowSizeOverflow();
  return bytes;
}

/// Returns the bytes of a string buffer for `length` characters, terminator
/// included, or throws std::bad_alloc when `length` is above kMaxStringLength
/// or the buffer above kMaxBlockBytes (on 32-bit targets).
inline std::size_t StringBufferBytes(std::size_t length) {
  return CheckedBlockSize(std::size_t{CheckedLength(length)} + 1);
}

/// Returns header + count * width, the bytes of a block, or throws
/// std::bad_alloc when that is above kMaxBlockBytes.
inline std::size_t CheckedBlockBytes(std::size_t count, std::size_t width, std::size_t header = 0) {
  std::size_t bytes;
  if (MulOverflows(count, width, bytes) || AddOverflows(bytes, header, bytes) ||
      bytes > kMaxBlockBytes) {
    ThrowSizeOverflow();
  }
  return bytes;
}

/// Returns the element count of a block grown from `capacity` by `increment`:
/// capacity + increment, at least `needed`, at most INT_MAX.
inline int GrownCount(int capacity, int increment, int needed) {
  const int grown = SaturatingAdd(capacity, increment);
  return grown > needed ? grown : needed;
}

/// Returns the bytes of `count` elements of type T that lie in one block. It
/// cannot overflow, since the block's size was checked when it was made
/// (asserted in debug builds).
template <class T>
inline std::size_t ElementBytes(int count) {
  assert(count >= 0 && static_cast<std::size_t>(count) <= kMaxBlockBytes / sizeof(T) &&
         "element range outside any block");
  return static_cast<std::size_t>(count) * sizeof(T);
}

}  // namespace quarn::platform

#endif  // QUARNBASE_SRC_PLATFORM_CHECKED_H
