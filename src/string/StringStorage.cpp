// StringC storage: the shared empty buffer and the empty prototype,
// construction, assignment and the buffer-access protocol.
#include <quarnbase/StringC.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "Allocation.h"
#include "Checked.h"
#include "StringInternal.h"

using quarn::detail::ReleaseOwned;
using quarn::detail::StoreTerminator;
using quarn::detail::TextLength;
using quarn::platform::AllocateBytes;
using quarn::platform::CheckedBlockSize;
using quarn::platform::CheckedLength;
using quarn::platform::CheckedLengthSum;
using quarn::platform::ReleaseBytes;
using quarn::platform::StringBufferBytes;

// One zero byte shared by every empty string; the library never writes it.
char StringC::emptyBuffer[1] = {0};

// Constant-initialised (constexpr default constructor), so it is valid before
// any dynamic initialiser of any translation unit runs; its destructor
// releases nothing.
#if defined(__clang__)
[[clang::require_constant_initialization]]
#endif
const StringC StringC::emptyPrototype;

namespace {

// vsnprintf with C99's rules everywhere, as StringC.h's format attribute says:
// on MinGW its own __mingw_vsnprintf rather than the C runtime's. That one
// drops a wide character it cannot convert (%ls, %lc), sets errno to EILSEQ
// and reports success; it counts here as the formatting error that glibc and
// the Windows runtime report.
int FormatText(char* out, std::size_t size, const char* format, va_list args) {
#if defined(__MINGW32__)
  errno = 0;
  const int n = __mingw_vsnprintf(out, size, format, args);
  return errno == EILSEQ ? -1 : n;
#else
  return std::vsnprintf(out, size, format, args);
#endif
}

// Allocates an exact buffer for `length` characters with its terminator set.
// Throws std::bad_alloc for a length above the largest string length.
char* NewBuffer(unsigned int length) {
  char* block = static_cast<char*>(AllocateBytes(StringBufferBytes(length)));
  block[length] = '\0';
  return block;
}

}  // namespace

StringC::StringC(const StringC& other) : StringC() {
  if (other.dataLength != 0) {
    AllocBuffer(other.dataLength);
    std::memmove(buffer, other.buffer, other.dataLength);
  }
}

StringC::StringC(const char* text) : StringC() {
  const unsigned int length = CheckedLength(TextLength(text));
  if (length != 0) {
    AllocBuffer(length);
    std::memmove(buffer, text, length);
  }
}

StringC::StringC(char ch, int count) : StringC() {
  if (count >= 1) {
    AllocBuffer(static_cast<unsigned int>(count));
    std::memset(buffer, ch, static_cast<std::size_t>(count));
  }
}

StringC::StringC(const char* text, int count) : StringC() {
  if (count > 0 && text != nullptr) {
    AllocBuffer(static_cast<unsigned int>(count));
    std::memmove(buffer, text, static_cast<std::size_t>(count));
  }
}

StringC::StringC(unsigned int bufferSize, const char* format, ...) : StringC() {
  // Format into a scratch of bufferSize bytes; when the result does not fit,
  // format again into a scratch of the exact size.
  std::size_t scratchSize = CheckedBlockSize(bufferSize != 0 ? bufferSize : 1);
  for (;;) {
    char* scratch = static_cast<char*>(AllocateBytes(scratchSize));
    va_list args;
    va_start(args, format);
    const int n = FormatText(scratch, scratchSize, format, args);
    va_end(args);
    if (n < 0) {  // formatting error: the empty state
      ReleaseBytes(scratch);
      return;
    }
    const std::size_t count = static_cast<std::size_t>(n);
    if (count < scratchSize) {
      try {
        AllocBuffer(CheckedLength(count));
        if (buffer == emptyBuffer) {  // an empty result gets a private one-byte buffer
          buffer = NewBuffer(0);
        }
      } catch (...) {
        ReleaseBytes(scratch);
        throw;
      }
      std::memmove(buffer, scratch, count);
      ReleaseBytes(scratch);
      return;
    }
    ReleaseBytes(scratch);
    scratchSize = StringBufferBytes(count);
  }
}

StringC::~StringC() { ReleaseOwned(buffer, emptyBuffer); }

const StringC& StringC::operator=(const char* text) {
  AssignCopy(CheckedLength(TextLength(text)), text);
  return *this;
}

const StringC& StringC::operator=(char ch) {
  if (allocLength == 0) {
    ReleaseOwned(buffer, emptyBuffer);
    Init();
    AllocBuffer(1);
  }
  buffer[0] = ch;
  buffer[1] = '\0';
  dataLength = 1;
  return *this;
}

void StringC::Empty() {
  ReleaseOwned(buffer, emptyBuffer);
  Init();
}

char* StringC::GetBuffer(unsigned int minLength) {
  ClaimNullBuffer();
  if (minLength <= allocLength) return buffer;
  char* fresh = NewBuffer(minLength);
  std::memmove(fresh, buffer, dataLength);
  fresh[dataLength] = '\0';
  ReleaseOwned(buffer, emptyBuffer);
  buffer = fresh;
  allocLength = minLength;
  return buffer;
}

void StringC::ReleaseBuffer(long newLength) {
  ClaimNullBuffer();
  unsigned int length;
  if (newLength < 0) {
    // Measure the C text, but never past the capacity.
    const void* end = std::memchr(buffer, '\0', allocLength);
    length = end != nullptr ? static_cast<unsigned int>(static_cast<const char*>(end) - buffer)
                            : allocLength;
  } else {
    length = static_cast<unsigned long>(newLength) > allocLength
                 ? allocLength
                 : static_cast<unsigned int>(newLength);
  }
  dataLength = length;
  StoreTerminator(buffer, length, emptyBuffer);
}

char* StringC::GetBufferSetLength(unsigned int newLength) {
  GetBuffer(newLength);
  dataLength = newLength;
  StoreTerminator(buffer, newLength, emptyBuffer);
  return buffer;
}

void StringC::AllocBuffer(unsigned int newLength) {
  if (newLength == 0) {
    Init();
    return;
  }
  buffer = NewBuffer(newLength);
  allocLength = newLength;
  dataLength = newLength;
}

void StringC::AllocCopy(StringC& target, unsigned int count, unsigned int start, int extra) const {
  // A negative `extra` counts as 0: it would leave less room than the copy needs.
  const unsigned int total =
      CheckedLengthSum(count, extra > 0 ? static_cast<unsigned int>(extra) : 0u);
  if (total == 0) {
    target.Init();
    return;
  }
  target.AllocBuffer(total);
  std::memmove(target.buffer, buffer + start, count);
}

void StringC::AssignCopy(unsigned int count, const char* source) {
  ClaimNullBuffer();
  if (count > allocLength) {
    ReleaseOwned(buffer, emptyBuffer);
    Init();
    AllocBuffer(count);
  }
  if (count > 0) std::memmove(buffer, source, count);
  dataLength = count;
  StoreTerminator(buffer, count, emptyBuffer);
}
