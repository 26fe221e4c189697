// MetaPatternFuzz.cpp - meta patterns against the recursive reference model.
//
// Input: pattern A, 0xFF, pattern B, 0xFF, text T (missing parts are empty).
// Checks, for the library's IsMetaMatch and MetaCompare:
//  - both agree with the reference model on (T, A), (T, B), (A, B) and (B, A);
//  - MetaCompare is antisymmetric;
//  - an order between two patterns agrees with matching: when A covers B,
//    every text that B matches A matches too;
//  - the operands are left unchanged.
// The reference takes exponential time in the number of stars, so only short
// inputs are compared with it; longer ones are checked for the properties.
#include <quarnbase/StringC.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "MetaReference.h"

namespace {

using quarn::fuzz::BytesOf;
using quarn::fuzz::MakeString;

// Inputs within these bounds are checked against the reference model.
constexpr std::size_t kMaxPattern = 12;
constexpr std::size_t kMaxText = 16;
constexpr long kMaxStars = 4;
// Longer inputs, up to these bounds, are checked for the properties only.
constexpr std::size_t kMaxLongPattern = 64;
constexpr std::size_t kMaxLongText = 128;

// Splits the input at 0xFF bytes into up to three parts.
void Split(const std::uint8_t* data, std::size_t size, std::string parts[3]) {
  int part = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF) {
      if (++part == 3) return;
    } else {
      parts[part] += static_cast<char>(data[i]);
    }
  }
}

long Stars(const std::string& s) {
  long n = 0;
  for (char c : s) n += c == '*';
  return n;
}

std::string Show(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\0') {
      out += "\\0";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// A string and a record of it, to show that an operation left it alone.
struct Operand {
  explicit Operand(const std::string& bytes) : value(MakeString(bytes)), bytes(bytes) {
    buffer = value;
    size = value.size();
  }
  void ExpectUnchanged() const {
    FUZZ_CHECK(BytesOf(value) == bytes && value.size() == size &&
                   static_cast<const char*>(value) == buffer,
               "operand " + Show(bytes) + " changed");
  }
  StringC value;
  std::string bytes;
  const char* buffer;
  unsigned int size;
};

StrCompValE Compare(Operand& first, Operand& second, bool withModel) {
  const StrCompValE got = first.value.MetaCompare(second.value);
  const StrCompValE want =
      withModel ? quarn::reference::MetaCompare(first.bytes, second.bytes) : got;
  FUZZ_CHECK(got == want, "MetaCompare(" + Show(first.bytes) + ", " + Show(second.bytes) +
                              ") = " + std::to_string(got) + ", model " + std::to_string(want));
  first.ExpectUnchanged();
  second.ExpectUnchanged();
  return got;
}

int Match(Operand& text, Operand& pattern, bool withModel) {
  const int got = text.value.IsMetaMatch(pattern.value);
  const int want = withModel ? quarn::reference::IsMetaMatch(text.bytes, pattern.bytes) : got;
  FUZZ_CHECK(got == want, "IsMetaMatch(" + Show(text.bytes) + ", " + Show(pattern.bytes) +
                              ") = " + std::to_string(got) + ", model " + std::to_string(want));
  text.ExpectUnchanged();
  pattern.ExpectUnchanged();
  return got;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string parts[3];
  Split(data, size, parts);
  if (parts[0].size() > kMaxLongPattern || parts[1].size() > kMaxLongPattern ||
      parts[2].size() > kMaxLongText) {
    return 0;
  }
  const bool withModel = parts[0].size() <= kMaxPattern && parts[1].size() <= kMaxPattern &&
                         parts[2].size() <= kMaxText && Stars(parts[0]) <= kMaxStars &&
                         Stars(parts[1]) <= kMaxStars;
  Operand a(parts[0]);
  Operand b(parts[1]);
  Operand text(parts[2]);

  const int matchesA = Match(text, a, withModel);
  const int matchesB = Match(text, b, withModel);
  const StrCompValE ab = Compare(a, b, withModel);
  const StrCompValE ba = Compare(b, a, withModel);
  FUZZ_CHECK(ba == quarn::reference::ReverseMetaResult(ab),
             "MetaCompare is not antisymmetric for " + Show(a.bytes) + ", " + Show(b.bytes));
  if (ab == StrCompGreater || ab == StrCompEqual) {
    FUZZ_CHECK(!matchesB || matchesA, Show(a.bytes) + " covers " + Show(b.bytes) +
                                          " but only the latter matches " + Show(text.bytes));
  }
  if (ab == StrCompLess || ab == StrCompEqual) {
    FUZZ_CHECK(!matchesA || matchesB, Show(b.bytes) + " covers " + Show(a.bytes) +
                                          " but only the latter matches " + Show(text.bytes));
  }
  return 0;
}
