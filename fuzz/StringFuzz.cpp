// StringFuzz.cpp - StringC operations against a std::string model.
//
// The input is a sequence of byte-coded operations on two strings. Each
// operation is applied to a StringC and to its model (the text plus the
// capacity the string must have), and then both strings are checked: text and
// length, capacity (allocation is exact; capacity grows only when needed and
// never shrinks except through Empty), the terminator, the shared empty buffer
// (used exactly by strings without capacity, and never written), and that
// operations that keep the capacity keep the buffer.
#include <quarnbase/StringC.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "FuzzSupport.h"

namespace {

using quarn::fuzz::ByteReader;
using quarn::fuzz::BytesOf;
using quarn::fuzz::CText;
using quarn::fuzz::kCallsOutsidePreconditions;
using quarn::fuzz::MakeString;
using quarn::fuzz::SharedEmpty;

constexpr std::size_t kMaxArgument = 24;
constexpr std::size_t kMaxLength = 2048;  // longer strings are emptied, to keep runs fast
constexpr int kMaxOperations = 96;

struct Model {
  std::string text;
  unsigned int capacity = 0;
};

// Checks a string against the model: the same bytes, the exact capacity, a
// terminator, and the shared empty buffer exactly when there is no capacity.
void Verify(const StringC& s, const Model& m, const char* what) {
  const std::string where = std::string(" after ") + what;
  FUZZ_CHECK(s.length() == m.text.size(), "length" + where);
  FUZZ_CHECK(s.GetLength() == s.length(), "GetLength" + where);
  FUZZ_CHECK(s.size() == m.capacity + 1, "capacity " + std::to_string(s.size() - 1) + ", model " +
                                             std::to_string(m.capacity) + where);
  FUZZ_CHECK(BytesOf(s) == m.text, "text" + where);
  FUZZ_CHECK(static_cast<const char*>(s)[s.length()] == '\0', "terminator" + where);
  FUZZ_CHECK(s.IsEmpty() == (m.text.empty() ? 1 : 0), "IsEmpty" + where);
  FUZZ_CHECK((static_cast<const char*>(s) == SharedEmpty()) == (m.capacity == 0),
             "shared empty buffer use" + where);
  FUZZ_CHECK(SharedEmpty()[0] == '\0', "shared empty buffer written" + where);
}

// A value-producing operation's result: the text, in an exact buffer (or the
// empty state when it has no characters).
void VerifyExact(const StringC& result, const std::string& text, const char* what) {
  Verify(result, Model{text, static_cast<unsigned int>(text.size())}, what);
}

int Sign(int v) { return (v > 0) - (v < 0); }

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// Three-way comparison of stored bytes as signed chars, a prefix first.
int ModelCompare(const std::string& a, const std::string& b, bool noCase) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int x = static_cast<signed char>(a[i]);
    int y = static_cast<signed char>(b[i]);
    if (noCase) {
      x = static_cast<signed char>(std::tolower(static_cast<unsigned char>(a[i])));
      y = static_cast<signed char>(std::tolower(static_cast<unsigned char>(b[i])));
    }
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Appends `bytes` to the model: capacity grows to exactly the new length.
void ModelAppend(Model& m, const std::string& bytes) {
  m.text += bytes;
  m.capacity = std::max<unsigned int>(m.capacity, static_cast<unsigned int>(m.text.size()));
}

// Assignment: the capacity grows to exactly the new length when it must.
void ModelAssign(Model& m, const std::string& bytes) {
  m.text = bytes;
  m.capacity = std::max<unsigned int>(m.capacity, static_cast<unsigned int>(bytes.size()));
}

int ModelFind(const std::string& text, const std::string& what) {
  const std::string c = CText(text);
  const std::size_t at = c.find(what);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

// The expected result of mid(start, end): end -1 is the last character, other
// negative ends count as 0, ends past the last character are clamped to it.
bool ModelMid(const std::string& text, unsigned int start, long end, std::string& out) {
  if (text.empty()) return false;
  long e = end == -1 ? static_cast<long>(text.size()) - 1 : std::max(end, 0L);
  e = std::min(e, static_cast<long>(text.size()) - 1);
  if (static_cast<unsigned long>(e) < start) return false;
  out = text.substr(start, static_cast<std::size_t>(e) - start + 1);
  return true;
}

void RunOperation(ByteReader& in, StringC (&s)[2], Model (&m)[2]) {
  const std::uint8_t code = in.Byte();
  const int i = code & 1;
  const int j = (code >> 1) & 1;
  StringC& x = s[i];
  Model& mx = m[i];
  const char* bufferBefore = x;
  const unsigned int capacityBefore = mx.capacity;
  const char* what = "?";

  if (mx.text.size() > kMaxLength) {
    x.Empty();
    mx = Model{};
    Verify(x, mx, "Empty");
    return;
  }

  switch ((code >> 2) % 24) {
    case 0: {
      what = "operator=(const char*)";
      const std::string arg = in.Bytes(kMaxArgument);
      x = arg.c_str();
      ModelAssign(mx, CText(arg));
      break;
    }
    case 1: {
      what = "operator=(const StringC&)";
      const std::string copy = m[j].text;
      x = s[j];
      ModelAssign(mx, copy);
      break;
    }
    case 2: {
      what = "operator=(char)";
      const char ch = static_cast<char>(in.Byte());
      x = ch;
      ModelAssign(mx, std::string(1, ch));
      break;
    }
    case 3: {
      what = "operator+=(const char*)";
      const std::string arg = in.Bytes(kMaxArgument);
      x += arg.c_str();
      ModelAppend(mx, CText(arg));
      break;
    }
    case 4: {
      what = "operator+=(char)";
      const char ch = static_cast<char>(in.Byte());
      x += ch;
      ModelAppend(mx, std::string(1, ch));
      break;
    }
    case 5: {
      what = "operator+=(const StringC&)";
      const std::string other = m[j].text;
      x += s[j];
      ModelAppend(mx, other);
      break;
    }
    case 6: {
      what = "operator+= own text";
      const std::size_t from = mx.text.empty() ? 0 : in.Byte() % (mx.text.size() + 1);
      const std::string appended = CText(mx.text.substr(from));
      x += static_cast<const char*>(x) + from;
      ModelAppend(mx, appended);
      break;
    }
    case 7: {
      what = "GetBuffer + ReleaseBuffer(-1)";
      const unsigned int want = in.Byte() % 40;
      x.GetBuffer(want);
      x.ReleaseBuffer(-1);
      mx.capacity = std::max(mx.capacity, want);
      mx.text = CText(mx.text);
      break;
    }
    case 8: {
      what = "GetBufferSetLength";
      const unsigned int want = in.Byte() % 40;
      const char fill = static_cast<char>(in.Byte());
      char* buffer = x.GetBufferSetLength(want);
      for (std::size_t k = mx.text.size(); k < want; ++k) buffer[k] = fill;
      mx.capacity = std::max(mx.capacity, want);
      mx.text.resize(want, fill);
      break;
    }
    case 9: {
      what = "GetBuffer, write, ReleaseBuffer(n)";
      const unsigned int want = in.Byte() % 40;
      const std::string written = in.Bytes(kMaxArgument).substr(0, want);
      char* buffer = x.GetBuffer(want);
      std::memcpy(buffer, written.data(), written.size());
      std::string known =
          written +
          (mx.text.size() > written.size() ? mx.text.substr(written.size()) : std::string());
      mx.capacity = std::max(mx.capacity, want);
      if (written.size() <= mx.text.size() && (in.Byte() & 1)) {
        // The old terminator is still in place, so the C text ends in the known bytes.
        x.ReleaseBuffer(-1);
        mx.text = CText(known);
      } else {
        const long length = in.Byte() % (known.size() + 1);
        x.ReleaseBuffer(length);
        mx.text = known.substr(0, static_cast<std::size_t>(length));
      }
      break;
    }
    case 10: {
      what = "ReleaseBuffer(n) truncating";
      const std::size_t length = in.Byte() % (mx.text.size() + 1);
      x.ReleaseBuffer(static_cast<long>(length));
      mx.text.resize(length);
      break;
    }
    case 11:
      what = "Empty";
      x.Empty();
      mx = Model{};
      break;
    case 12: {
      what = "copy constructor";
      const StringC copy(x);
      VerifyExact(copy, mx.text, what);
      break;
    }
    case 13: {
      what = "operator+";
      const std::string arg = in.Bytes(kMaxArgument);
      const char ch = arg.empty() ? '\0' : arg[0];
      switch (in.Byte() % 5) {
        case 0:
          VerifyExact(x + s[j], mx.text + m[j].text, "operator+(StringC, StringC)");
          break;
        case 1:
          VerifyExact(x + arg.c_str(), mx.text + CText(arg), "operator+(StringC, const char*)");
          break;
        case 2:
          VerifyExact(arg.c_str() + x, CText(arg) + mx.text, "operator+(const char*, StringC)");
          break;
        case 3:
          VerifyExact(x + ch, mx.text + ch, "operator+(StringC, char)");
          break;
        default:
          VerifyExact(ch + x, ch + mx.text, "operator+(char, StringC)");
          break;
      }
      break;
    }
    case 14: {
      what = "Mid, Left, Right";
      const unsigned int start = in.Byte() % (mx.text.size() + 3);
      const unsigned int count = in.Byte() % (mx.text.size() + 3);
      const std::string& t = mx.text;
      const std::string rest = start <= t.size() ? t.substr(start) : std::string();
      VerifyExact(x.Mid(start, count), rest.substr(0, count), "Mid(start, count)");
      VerifyExact(x.Mid(start), rest, "Mid(start)");
      VerifyExact(x.Left(count), t.substr(0, count), "Left");
      VerifyExact(x.Right(count), t.substr(t.size() - std::min<std::size_t>(count, t.size())),
                  "Right");
      // Counts that overflow when added to the start.
      VerifyExact(x.Mid(start, 0xFFFFFFFFu), rest, "Mid(start, UINT_MAX)");
      break;
    }
    case 15: {
      what = "mid(start, end)";
      const unsigned int start = in.Byte() % (mx.text.size() + 3);
      const long end = static_cast<long>(in.Byte() % (mx.text.size() + 4)) - 2;
      const StringC result = x.mid(start, end);
      std::string taken;
      if (ModelMid(mx.text, start, end, taken)) {
        Verify(result, Model{taken, static_cast<unsigned int>(mx.text.size())}, what);
      } else {
        Verify(result, Model{}, what);
      }
      break;
    }
    case 16: {
      what = "SpanIncluding, SpanExcluding";
      const std::string set = CText(in.Bytes(6));
      const std::string c = CText(mx.text);
      VerifyExact(x.SpanIncluding(set.c_str()), c.substr(0, std::strspn(c.c_str(), set.c_str())),
                  "SpanIncluding");
      VerifyExact(x.SpanExcluding(set.c_str()), c.substr(0, std::strcspn(c.c_str(), set.c_str())),
                  "SpanExcluding");
      break;
    }
    case 17: {
      what = "Find, ReverseFind, FindOneOf";
      const std::string arg = CText(in.Bytes(4));
      const char ch = static_cast<char>(in.Byte());
      const std::string c = CText(mx.text);
      FUZZ_CHECK(x.Find(arg.c_str()) == ModelFind(mx.text, arg), "Find(const char*)");
      const std::size_t first = ch == '\0' ? c.size() : c.find(ch);
      const std::size_t last = ch == '\0' ? c.size() : c.rfind(ch);
      FUZZ_CHECK(x.Find(ch) == (first == std::string::npos ? -1 : static_cast<int>(first)),
                 "Find(char)");
      FUZZ_CHECK(x.ReverseFind(ch) == (last == std::string::npos ? -1 : static_cast<int>(last)),
                 "ReverseFind");
      const std::size_t one = arg.empty() ? std::string::npos : c.find_first_of(arg);
      FUZZ_CHECK(
          x.FindOneOf(arg.c_str()) == (one == std::string::npos ? -1 : static_cast<int>(one)),
          "FindOneOf");
      break;
    }
    case 18: {
      what = "Compare and the operators";
      const std::string arg = in.Bytes(8);
      const StringC& y = s[j];
      const int exact = ModelCompare(mx.text, m[j].text, false);
      FUZZ_CHECK(x.Compare(y, StrCompExact) == exact, "Compare exact");
      FUZZ_CHECK(x.Compare(y, StrCompNoCase) == ModelCompare(mx.text, m[j].text, true),
                 "Compare no case");
      FUZZ_CHECK((x == y) == (exact == 0) && (x != y) == (exact != 0) && (x < y) == (exact < 0) &&
                     (x <= y) == (exact <= 0) && (x > y) == (exact > 0) && (x >= y) == (exact >= 0),
                 "StringC operators");
      const int text = ModelCompare(mx.text, CText(arg), false);
      const char* c = arg.c_str();
      FUZZ_CHECK((x == c) == (text == 0) && (x != c) == (text != 0) && (x < c) == (text < 0) &&
                     (x <= c) == (text <= 0) && (x > c) == (text > 0) && (x >= c) == (text >= 0),
                 "const char* operators");
      // strcasecmp orders bytes as unsigned values; compare on ASCII text only.
      const std::string left = CText(mx.text);
      const std::string right = CText(arg);
      if (IsAscii(left) && IsAscii(right)) {
        FUZZ_CHECK(Sign(x.CompareNoCase(c)) == ModelCompare(left, right, true), "CompareNoCase");
      }
      FUZZ_CHECK(Sign(x.Collate(c)) == Sign(std::strcoll(left.c_str(), c)), "Collate");
      break;
    }
    case 19: {
      what = "MakeUpper, MakeLower, MakeReverse";
      const std::size_t n = CText(mx.text).size();
      switch (in.Byte() % 3) {
        case 0:
          x.MakeUpper();
          for (std::size_t k = 0; k < n; ++k) {
            mx.text[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(mx.text[k])));
          }
          break;
        case 1:
          x.MakeLower();
          for (std::size_t k = 0; k < n; ++k) {
            mx.text[k] = static_cast<char>(std::tolower(static_cast<unsigned char>(mx.text[k])));
          }
          break;
        default:
          x.MakeReverse();
          std::reverse(mx.text.begin(), mx.text.begin() + static_cast<long>(n));
          break;
      }
      break;
    }
    case 20: {
      what = "SetAt, GetAt";
      const unsigned int pos = in.Byte() % (mx.text.size() + 3);
      const char ch = static_cast<char>(in.Byte());
      if (kCallsOutsidePreconditions || pos < mx.text.size()) x.SetAt(pos, ch);
      if (pos < mx.text.size()) mx.text[pos] = ch;
      const char expected = pos < mx.text.size() ? mx.text[pos] : '\0';
      FUZZ_CHECK(x.GetAt(pos) == expected, "GetAt(unsigned)");
      FUZZ_CHECK(x.GetAt(static_cast<int>(pos)) == expected, "GetAt(int)");
      FUZZ_CHECK(x.GetAt(-1 - static_cast<int>(pos)) == '\0', "GetAt(negative)");
      break;
    }
    case 21: {
      what = "constructors";
      const std::string arg = in.Bytes(kMaxArgument);
      const int count = static_cast<signed char>(in.Byte());
      const char ch = static_cast<char>(in.Byte());
      VerifyExact(StringC(arg.c_str()), CText(arg), "StringC(const char*)");
      VerifyExact(MakeString(arg), arg, "StringC(const char*, int)");
      VerifyExact(StringC(ch, count), count > 0 ? std::string(count, ch) : std::string(),
                  "StringC(char, int)");
      break;
    }
    case 22: {
      what = "printf-style constructor";
      const std::string arg = CText(in.Bytes(kMaxArgument));
      const int number = static_cast<signed char>(in.Byte());
      const unsigned int hint = in.Byte() % 8;
      char expected[64];
      const int n = std::snprintf(expected, sizeof expected, "%s%d", arg.c_str(), number);
      const StringC formatted(hint, "%s%d", arg.c_str(), number);
      FUZZ_CHECK(BytesOf(formatted) == std::string(expected, static_cast<std::size_t>(n)) &&
                     formatted.size() == static_cast<unsigned int>(n) + 1,
                 "formatted text and exact capacity");
      const StringC empty(hint, "%s", "");
      FUZZ_CHECK(empty.length() == 0 && empty.size() == 1, "empty formatted text");
      break;
    }
    default: {
      what = "self-assignment";
      const StringC& alias = x;
      x = alias;
      x = static_cast<const char*>(x);
      mx.text = CText(mx.text);
      break;
    }
  }
  Verify(s[0], m[0], what);
  Verify(s[1], m[1], what);
  // Operations that keep the capacity keep the buffer, too.
  if (mx.capacity == capacityBefore && capacityBefore != 0) {
    FUZZ_CHECK(static_cast<const char*>(x) == bufferBefore,
               std::string("buffer replaced without growth by ") + what);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteReader in(data, size);
  StringC s[2];
  Model m[2];
  for (int n = 0; n < kMaxOperations && in.More(); ++n) RunOperation(in, s, m);
  return 0;
}
