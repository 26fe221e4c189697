//===- quarnbase/StringC.h - Dynamic 8-bit character string -----*- C++ -*-===//
/// \file
/// StringC, the library's owning string of 8-bit characters, with printf-style
/// construction, concatenation, comparison, wildcard meta patterns, search,
/// extraction and case conversion.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_STRINGC_H
#define QUARNBASE_STRINGC_H

#include <quarnbase/internal/RecordLayout.h>
#include <quarnbase/quarnbase_export.h>

#include <cassert>
#include <cstddef>
#include <cstring>
#include <type_traits>

// The headers serve C++14 clients too (the default language of some compilers
// the application's modules are built with); they see everything but the
// C++17 conveniences: [[nodiscard]], std::string_view and std::hash.
#if __cplusplus >= 201703L || (defined(_MSVC_LANG) && _MSVC_LANG >= 201703L)
/// 1 where the client compiles as C++17 or later, else 0.
#define QUARNBASE_CXX17 1
/// [[nodiscard]] for C++17 clients; nothing for C++14 ones.
#define QUARNBASE_NODISCARD [[nodiscard]]
#include <string_view>
#ifdef __cpp_lib_ranges
#include <ranges>
#endif
#else
#define QUARNBASE_CXX17 0
#define QUARNBASE_NODISCARD
#endif

/// Marks a printf-like function (format string at argument `fmt`, the values
/// from `args` on), so that g++ and clang++ check the callers' formats. The
/// attribute names the rules of the library's own formatter, C99's everywhere.
/// MinGW's g++ takes "printf" for the C runtime's older rules (no %zu; %lld
/// only on newer runtimes), while the library formats with MinGW's C99
/// __mingw_vsnprintf: there the attribute says gnu_printf, whatever formatter
/// the client itself chose (which __MINGW_PRINTF_FORMAT follows).
#if defined(__MINGW32__) && !defined(__clang__)
#define QUARNBASE_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__) || defined(__clang__)
#define QUARNBASE_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QUARNBASE_PRINTF_FORMAT(fmt, args)
#endif

/// constexpr on the default constructor, except in a client of the Windows DLL:
/// the address of the shared empty buffer is a constant inside the library,
/// but not in a module that imports it.
#if defined(_WIN32) && !defined(quarnbase_EXPORTS) && !defined(QUARNBASE_STATIC_DEFINE)
#define QUARNBASE_EMPTY_CONSTEXPR
#else
#define QUARNBASE_EMPTY_CONSTEXPR constexpr
#endif

class StringAC;

/// Result of a three-way string comparison or of a meta-pattern comparison.
enum StrCompValE {
  StrCompLess = -1,       ///< this string sorts first / the other pattern is wider
  StrCompEqual = 0,       ///< equal strings / equivalent patterns
  StrCompGreater = 1,     ///< this string sorts last / this pattern is wider
  StrCompUnrelated = -99  ///< patterns only: no order could be established
};

/// Comparison mode of StringC::Compare. Any value other than StrCompNoCase
/// compares exactly; the fixed underlying type makes every int value valid.
enum StrCompModE : int {
  StrCompExact = 0,  ///< byte-wise, case-sensitive
  StrCompNoCase = 1  ///< each byte is lowered with tolower first
};

/// An owning, growable string of 8-bit characters.
///
/// Storage: `buffer` holds `allocLength` + 1 bytes, allocated exactly (no slack,
/// no small-string buffer, no sharing). Every empty string that never needed
/// storage points at one shared one-byte zero buffer, which is never released
/// and never written by the library, so empty strings cost no allocation.
///
/// Invariants (outside a GetBuffer/ReleaseBuffer window):
///  - dataLength <= allocLength;
///  - buffer[dataLength] == 0;
///  - the text may contain zero bytes: dataLength, not the first zero byte,
///    says where it ends. Operations taking `const char*` stop at its first zero.
///
/// Capacity never shrinks except through Empty() and destruction. Lengths are
/// 32-bit; a length or size that does not fit raises std::bad_alloc before the
/// string changes. Allocation failures propagate as std::bad_alloc.
///
/// A StringC record may be copied bit for bit into raw storage from
/// emptyPrototype; the copy is a valid empty string (StringAC relies on this).
/// A record of zero bytes (storage no constructor has run on) has a null
/// buffer: it reads as the empty string, sorts before it in comparisons, and
/// takes the empty state or a buffer of its own when written to.
class QUARNBASE_EXPORT StringC {
 public:
  /// The empty string. Allocates nothing; usable in constant initialisation
  /// (except in clients of a Windows DLL).
  QUARNBASE_EMPTY_CONSTEXPR StringC() noexcept
      : allocLength(0), dataLength(0), buffer(emptyBuffer) {}
  /// Deep copy of other's dataLength bytes into an exact buffer; spare capacity
  /// is not copied, and an empty `other` gives the empty state.
  StringC(const StringC& other);
  /// Copy of the C text up to its first zero byte; null or "" gives the empty state.
  StringC(const char* text);
  /// `count` copies of `ch` (a zero `ch` included); count < 1 gives the empty state.
  StringC(char ch, int count);
  /// Exactly `count` bytes of `text`, zero bytes included. A count <= 0 or a
  /// null `text` gives the empty state.
  StringC(const char* text, int count);
  /// printf-style formatting. `bufferSize` is a sizing hint: results of any
  /// length are produced in full, with dataLength == allocLength == the
  /// formatted length (embedded zero bytes kept). An empty result gets a
  /// private one-byte buffer; a formatting error gives the empty state.
  StringC(unsigned int bufferSize, const char* format, ...) QUARNBASE_PRINTF_FORMAT(3, 4);
  ~StringC();

  /// Copies other's bytes, reusing this buffer when it is large enough. On
  /// allocation failure the string is left empty.
  const StringC& operator=(const StringC& other);
  /// Copies the C text (null counts as ""), reusing the buffer when it fits.
  const StringC& operator=(const char* text);
  /// Makes the string the single character `ch` (a zero `ch` gives length 1).
  const StringC& operator=(char ch);

  /// Number of characters in use.
  unsigned int length() const { return dataLength; }
  /// Number of characters in use (same as length()).
  unsigned int GetLength() const { return dataLength; }
  /// Bytes held by the buffer, terminator included (allocLength + 1); not the length.
  unsigned int size() const { return allocLength + 1; }
  /// The writable buffer; the shared empty buffer for an empty string, never null.
  operator char*() const { return Text(); }
  /// 1 when there are no characters (or no buffer at all), else 0.
  int IsEmpty() const { return (dataLength == 0 || buffer == nullptr) ? 1 : 0; }
  /// Releases the buffer and returns to the empty state.
  void Empty();

  /// Makes the capacity at least `minLength`, keeping the text; returns the
  /// buffer. The caller may write up to `minLength` characters and must then
  /// call ReleaseBuffer. Leaves the string unchanged on allocation failure.
  char* GetBuffer(unsigned int minLength);
  /// Ends a write through the buffer: the length becomes `newLength`, or the
  /// length of the C text (measured up to the capacity) for any negative value.
  /// A length above the capacity is clamped to it.
  void ReleaseBuffer(long newLength = -1);
  /// GetBuffer(newLength), then sets the length to `newLength`.
  char* GetBufferSetLength(unsigned int newLength);

  /// \name Concatenation
  /// Appending reuses spare capacity and copies only the appended bytes;
  /// otherwise it moves to an exact new buffer, copying the whole text. So a
  /// string built by n appends at capacity copies O(n^2) bytes; reserving the
  /// final capacity with GetBuffer first makes each append copy only its own
  /// bytes. On failure nothing changes.
  /// @{
  const StringC& operator+=(const char* text);  ///< null appends nothing
  /// Exactly one byte, zero included.
  const StringC& operator+=(char ch);
  const StringC& operator+=(const StringC& other);  ///< all of other's bytes, zero bytes included
  /// @}

  /// \name Comparison
  /// @{

  /// Three-way byte-wise comparison of the stored bytes (zero bytes included),
  /// bytes taken as signed values, a common prefix sorting first. In
  /// StrCompNoCase mode each byte is lowered with tolower first.
  QUARNBASE_NODISCARD StrCompValE Compare(const StringC& other, StrCompModE mode) const;
  /// Compare(other, StrCompExact) is StrCompLess.
  bool operator<(const StringC& other) const;
  /// Compare(other, StrCompExact) is not StrCompGreater.
  bool operator<=(const StringC& other) const;
  /// Compare(other, StrCompExact) is StrCompGreater.
  bool operator>(const StringC& other) const;
  /// Compare(other, StrCompExact) is not StrCompLess.
  bool operator>=(const StringC& other) const;
  /// Same bytes and same length (equality needs no byte order, so memcmp
  /// settles it). A string without a buffer equals only another such.
  bool operator==(const StringC& other) const;
  /// Not operator==.
  bool operator!=(const StringC& other) const;
  /// The comparisons with a C text (null counts as "") order as Compare does
  /// with StringC(text), without building it; a string without a buffer sorts
  /// before every text.
  bool operator<(const char* text) const;
  bool operator<=(const char* text) const;  ///< ordered as operator<(const char*)
  bool operator>(const char* text) const;   ///< ordered as operator<(const char*)
  bool operator>=(const char* text) const;  ///< ordered as operator<(const char*)
  bool operator==(const char* text) const;  ///< equal in that order
  bool operator!=(const char* text) const;  ///< not equal in that order
  /// strcasecmp of the C text against `text` (null counts as ""), unreduced.
  QUARNBASE_NODISCARD int CompareNoCase(const char* text) const;
  /// strcoll of the C text against `text` (null counts as ""), unreduced.
  QUARNBASE_NODISCARD int Collate(const char* text) const;
  /// @}

  /// \name Meta patterns
  /// `*` matches any run, `?` any one character, `\c` the character c.
  /// @{

  /// Returns 1 when the whole of this text matches `pattern`, else 0. Empty
  /// operands give 0. Runs in O(|text| * |pattern|) time, constant space.
  QUARNBASE_NODISCARD int IsMetaMatch(const StringC& pattern);
  /// Compares two patterns for generality: StrCompGreater when this pattern
  /// covers `other`, StrCompLess for the reverse, StrCompEqual for equivalent
  /// patterns, StrCompUnrelated when no order can be established. Takes
  /// O(|this| * |other|) time at worst; allocates only for patterns longer
  /// than a few hundred elements.
  QUARNBASE_NODISCARD StrCompValE MetaCompare(const StringC& other);
  /// @}

  /// \name Character access
  /// An index may have any integer type (int, size_t, long, ...): each type
  /// selects exactly one overload, on 32- and 64-bit targets alike.
  /// @{

  /// buffer[pos] for pos <= length() (the terminator at length()), else 0.
  char GetAt(unsigned int pos) const { return pos <= dataLength ? Text()[pos] : '\0'; }
  /// buffer[pos] for 0 <= pos <= length(), else 0.
  char GetAt(int pos) const {
    return (pos >= 0 && static_cast<unsigned int>(pos) <= dataLength) ? Text()[pos] : '\0';
  }
  /// buffer[pos] for 0 <= pos <= length(), else 0; for the other integer types.
  template <class Index, typename std::enable_if<std::is_integral<Index>::value, int>::type = 0>
  char GetAt(Index pos) const {
    return IndexInRange(pos) ? Text()[pos] : '\0';
  }
  /// Unchecked read; requires pos <= length().
  char operator[](unsigned int pos) const {
    assert(pos <= dataLength && "StringC index out of range");
    return Text()[pos];
  }
  /// Unchecked read; requires 0 <= pos <= length().
  char operator[](int pos) const {
    assert(pos >= 0 && static_cast<unsigned int>(pos) <= dataLength &&
           "StringC index out of range");
    return Text()[pos];
  }
  /// Unchecked read; requires 0 <= pos <= length(); for the other integer types.
  template <class Index, typename std::enable_if<std::is_integral<Index>::value, int>::type = 0>
  char operator[](Index pos) const {
    assert(IndexInRange(pos) && "StringC index out of range");
    return Text()[pos];
  }
  /// Stores `ch` at `pos` when pos < length(); otherwise does nothing. The
  /// length is not changed, also when `ch` is 0.
  void SetAt(unsigned int pos, char ch) const {
    if (pos < dataLength) buffer[pos] = ch;
  }
  /// @}

  /// \name Search (on the C text, up to the first zero byte)
  /// Each returns a byte offset, or -1 when nothing is found.
  /// @{

  /// The first `ch` of the C text; Find(0) is the length of the C text.
  QUARNBASE_NODISCARD int Find(char ch) const;
  QUARNBASE_NODISCARD int Find(const char* text) const;  ///< "" and null give 0
  /// The last `ch` of the C text. Reads the stored bytes from the end back to
  /// the last `ch`, and those before it once (a zero byte among them ends the
  /// C text earlier).
  QUARNBASE_NODISCARD int ReverseFind(char ch) const;
  QUARNBASE_NODISCARD int FindOneOf(const char* charSet) const;  ///< "" and null give -1
  /// @}

  /// \name Extraction
  /// Results have exact buffers, or are in the empty state when nothing is taken.
  /// @{

  /// Up to `count` characters from `start` (by length, zero bytes included).
  QUARNBASE_NODISCARD StringC Mid(unsigned int start, unsigned int count) const;
  /// The characters from `start` to the end.
  QUARNBASE_NODISCARD StringC Mid(unsigned int start) const;
  /// The first `count` characters, or all.
  QUARNBASE_NODISCARD StringC Left(unsigned int count) const;
  /// The last `count` characters, or all.
  QUARNBASE_NODISCARD StringC Right(unsigned int count) const;
  /// The longest prefix of the C text made only of characters in `charSet`.
  QUARNBASE_NODISCARD StringC SpanIncluding(const char* charSet) const;
  /// The longest prefix of the C text holding no character of `charSet`.
  QUARNBASE_NODISCARD StringC SpanExcluding(const char* charSet) const;
  /// The characters from `start` to `end` inclusive; `end` -1 means the last
  /// character, other negative values count as 0, and an `end` past the last
  /// character is clamped to it. The result's capacity is this string's length.
  QUARNBASE_NODISCARD StringC mid(unsigned int start, long end) const;
  /// @}

  /// \name In-place conversion (on the C text)
  /// @{
  void MakeUpper();    ///< each lower-case character to upper case (toupper)
  void MakeLower();    ///< each upper-case character to lower case (tolower)
  void MakeReverse();  ///< reverses the order of the characters
  /// @}

  /// \name Standard library interop
  /// Inline: the library itself uses none of them. There is no
  /// implicit conversion to std::string_view: next to `operator char*` it would
  /// make every call of a function overloaded on `const char*` and
  /// std::string_view ambiguous, so view() names it.
  /// @{
#if QUARNBASE_CXX17
  /// Copies all bytes of `text`, zero bytes included, into an exact buffer; an
  /// empty view gives the empty state. Explicit, as no view should become an
  /// owning copy unasked.
  explicit StringC(std::string_view text) : StringC() {
    // A size past 32 bits saturates to one that AllocBuffer rejects with std::bad_alloc.
    const std::size_t size = text.size();
    AssignCopy(size < 0xFFFFFFFFu ? static_cast<unsigned int>(size) : 0xFFFFFFFFu, text.data());
  }
  /// The length() stored bytes, zero bytes included; valid until the string
  /// changes. Empty for a record without a buffer.
  std::string_view view() const noexcept {
    return buffer != nullptr ? std::string_view(buffer, dataLength) : std::string_view();
  }
#endif
  /// The characters [0, length()) as a contiguous range (begin() == end() for a
  /// record without a buffer). Note that size() is the buffer size, not the
  /// length of this range.
  char* begin() noexcept { return buffer; }
  /// One past the last character.
  char* end() noexcept { return buffer != nullptr ? buffer + dataLength : buffer; }
  /// The first character.
  const char* begin() const noexcept { return buffer; }
  /// One past the last character.
  const char* end() const noexcept { return buffer != nullptr ? buffer + dataLength : buffer; }
  /// @}

  /// Splits the C text into tokens separated by any character of `delimiters`
  /// (as strtok would, but keeping no hidden state). Empty fields vanish; a null
  /// or empty set gives the whole text as one token. The result's capacity
  /// equals its element count.
  QUARNBASE_NODISCARD StringAC parse(const char* delimiters);

  /// The library-global empty string. Valid before any dynamic initialiser runs;
  /// a bit-for-bit copy of it is a valid empty string.
  static const StringC emptyPrototype;

 protected:
  /// Sets the empty state without releasing anything (for raw storage).
  void Init() {
    allocLength = 0;
    dataLength = 0;
    buffer = emptyBuffer;
  }
  /// The buffer to read. A record whose buffer is null (storage that no
  /// constructor has run on, such as a zero-filled global read before its
  /// initialiser ran) reads as the empty text. Every read of a position or of
  /// the C text goes through here; reads by length see no byte of such a record.
  char* Text() const noexcept { return buffer != nullptr ? buffer : emptyBuffer; }
  /// Gives a record whose buffer is null the empty state; the operations that
  /// write into the buffer they find call it first.
  void ClaimNullBuffer() noexcept {
    if (buffer == nullptr) Init();
  }
  /// Allocates an exact buffer for `newLength` characters (0: empty state) and
  /// sets both lengths; the characters are left for the caller. Releases nothing.
  void AllocBuffer(unsigned int newLength);
  /// Builds `target` afresh (without releasing it) with `count` characters from
  /// index `start` of this string followed by `extra` unset characters (none
  /// for a negative `extra`).
  void AllocCopy(StringC& target, unsigned int count, unsigned int start, int extra) const;
  /// Assignment core: copies `count` bytes from `source` (which may lie in this
  /// buffer), reusing the buffer when it is large enough.
  void AssignCopy(unsigned int count, const char* source);
  /// Gives the string a fresh exact buffer holding `firstCount` bytes of `first`
  /// then `secondCount` bytes of `second`. Does not release the old buffer.
  void ConcatCopy(unsigned int firstCount, const char* first, unsigned int secondCount,
                  const char* second);
  /// Appends `count` bytes of `source` (which may lie in this buffer).
  void ConcatInPlace(unsigned int count, const char* source);

  // The concatenation operators (below) build their results with the members above.
  /// \cond
  friend QUARNBASE_EXPORT StringC operator+(const StringC& left, const StringC& right);
  friend QUARNBASE_EXPORT StringC operator+(const StringC& left, const char* right);
  friend QUARNBASE_EXPORT StringC operator+(const char* left, const StringC& right);
  friend QUARNBASE_EXPORT StringC operator+(const StringC& left, char right);
  friend QUARNBASE_EXPORT StringC operator+(char left, const StringC& right);
  friend struct quarn::detail::RecordLayout<StringC>;
  /// \endcond

  unsigned int allocLength;  ///< capacity in characters, terminator excluded
  unsigned int dataLength;   ///< characters in use, terminator excluded
  char* buffer;              ///< allocLength + 1 bytes; owned unless emptyBuffer

 private:
  /// Whether 0 <= pos <= length(), for an index of any integer type.
  template <class Index>
  bool IndexInRange(Index pos) const {
    const bool negative = std::is_signed<Index>::value && static_cast<long long>(pos) < 0;
    return !negative && static_cast<unsigned long long>(pos) <= dataLength;
  }

  /// The shared one-byte zero buffer of every empty string. Never written.
  static char emptyBuffer[1];
};

/// \cond
// The record is part of the binary interface: clients embed it by value, and
// StringAC fills, moves and swaps records bit for bit. It must stay exactly its
// three plain fields.
template <>
struct quarn::detail::RecordLayout<StringC> {
  static_assert(sizeof(unsigned int) == 4, "StringC lengths are 32-bit");
  static_assert(std::is_standard_layout<StringC>::value && !std::is_polymorphic<StringC>::value,
                "StringC is a plain record");
  static_assert(offsetof(StringC, allocLength) == 0 && offsetof(StringC, dataLength) == 4 &&
                    offsetof(StringC, buffer) == 8 && sizeof(StringC) == 8 + sizeof(char*),
                "StringC is allocLength, dataLength, buffer, without padding");
};
/// \endcond

// The definitions of the members with a fast path, which clients compile inline.
#include <quarnbase/internal/StringFastPaths.h>

/// \name Concatenation into a new string
/// Each allocates once, exactly; a null `const char*` contributes nothing and a
/// `char` exactly one byte.
/// @{

/// The bytes of `left` followed by those of `right`.
QUARNBASE_NODISCARD QUARNBASE_EXPORT StringC operator+(const StringC& left, const StringC& right);
/// The bytes of `left` followed by the C text `right`.
QUARNBASE_NODISCARD QUARNBASE_EXPORT StringC operator+(const StringC& left, const char* right);
/// The C text `left` followed by the bytes of `right`.
QUARNBASE_NODISCARD QUARNBASE_EXPORT StringC operator+(const char* left, const StringC& right);
/// The bytes of `left` followed by the character `right`.
QUARNBASE_NODISCARD QUARNBASE_EXPORT StringC operator+(const StringC& left, char right);
/// The character `left` followed by the bytes of `right`.
QUARNBASE_NODISCARD QUARNBASE_EXPORT StringC operator+(char left, const StringC& right);
/// @}

#if QUARNBASE_CXX17
namespace std {
/// Hashes the stored bytes, as operator== compares them, so StringC can key
/// the unordered containers.
template <>
struct hash<StringC> {
  /// The hash of text.view().
  size_t operator()(const StringC& text) const noexcept { return hash<string_view>()(text.view()); }
};
}  // namespace std

#ifdef __cpp_lib_ranges
/// C++20 ranges would take size(), the buffer size, for the length of the
/// range (std::span(s) would cover the terminator); this makes them measure
/// begin() to end().
template <>
inline constexpr bool std::ranges::disable_sized_range<StringC> = true;
#endif
#endif  // QUARNBASE_CXX17

#endif  // QUARNBASE_STRINGC_H
