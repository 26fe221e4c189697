// FuzzSupport.h - helpers shared by the fuzz targets: a reader that decodes the
// fuzzer's bytes into operations and arguments, and a check that aborts with a
// message (which libFuzzer and the replay program both report as a crash).
#ifndef QUARNBASE_FUZZ_FUZZSUPPORT_H
#define QUARNBASE_FUZZ_FUZZSUPPORT_H

#include <quarnbase/StringC.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

/// Aborts with the failed condition and an explanation.
#define FUZZ_CHECK(cond, what)                                                          \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "%s:%d: check failed: %s (%s)\n", __FILE__, __LINE__, #cond, \
                   std::string(what).c_str());                                          \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)

namespace quarn::fuzz {

/// Whether the targets may call an operation outside its documented
/// preconditions, where the library defines what it does: not in a hardened
/// build, which stops the process there.
#if defined(QUARNBASE_HARDENED)
inline constexpr bool kCallsOutsidePreconditions = false;
#else
inline constexpr bool kCallsOutsidePreconditions = true;
#endif

/// Reads the fuzzer's input front to back; reads past the end give zeros.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool More() const { return pos_ < size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  /// A length byte (taken modulo max + 1), then that many bytes (zero bytes
  /// included), cut short at the end of the input.
  std::string Bytes(std::size_t max) {
    std::size_t n = Byte() % (max + 1);
    n = std::min(n, size_ - pos_);
    std::string out(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

/// The stored bytes of a string, zero bytes included.
inline std::string BytesOf(const StringC& s) { return std::string(s, s.length()); }

/// A string holding exactly `bytes` (zero bytes included); empty gives the empty state.
inline StringC MakeString(const std::string& bytes) {
  return StringC(bytes.data(), static_cast<int>(bytes.size()));
}

/// The text up to the first zero byte, as the `const char*` operations see it.
inline std::string CText(const std::string& bytes) { return std::string(bytes.c_str()); }

/// The shared buffer of every empty string.
inline const char* SharedEmpty() { return StringC::emptyPrototype; }

}  // namespace quarn::fuzz

#endif  // QUARNBASE_FUZZ_FUZZSUPPORT_H
