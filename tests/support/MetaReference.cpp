// MetaReference.cpp - the recursive model of meta patterns (see MetaReference.h).
#include "MetaReference.h"

#include <cstddef>

namespace quarn::reference {

namespace {

enum class Kind { End, Star, AnyOne, Literal, LoneEscape };

// One element of a normalised pattern and the number of characters it spans.
struct Element {
  Kind kind;
  char ch;  // the character of a literal
  std::size_t width;
};

Element ElementAt(const char* pattern) {
  const char c = pattern[0];
  if (c == '\0') return {Kind::End, '\0', 0};
  if (c == '*') return {Kind::Star, '\0', 1};
  if (c == '?') return {Kind::AnyOne, '\0', 1};
  if (c == '\\') {
    if (pattern[1] == '\0') return {Kind::LoneEscape, '\0', 1};
    return {Kind::Literal, pattern[1], 2};
  }
  return {Kind::Literal, c, 1};
}

bool IsEnd(const Element& e) { return e.kind == Kind::End; }
bool IsStar(const Element& e) { return e.kind == Kind::Star; }
bool IsAnyOne(const Element& e) { return e.kind == Kind::AnyOne; }

}  // namespace

int NormalizeMetaPattern(const std::string& source, std::string& scratch) {
  if (source.empty()) return 0;
  scratch.clear();
  char prev = '\0';
  bool escaped = false;
  for (const char c : source) {
    if (prev == '*' && c == '*' && !escaped) continue;  // prev stays '*'
    scratch += c;
    if (escaped) {
      escaped = false;
      prev = '\0';
    } else {
      if (c == '\\') escaped = true;
      prev = c;
    }
  }
  return 1;
}

int MatchMetaPattern(const char* text, const char* pattern) {
  std::size_t t = 0;
  std::size_t p = 0;
  bool escaped = false;
  while (text[t] != '\0') {
    const char c = pattern[p];
    if (c == '*' && !escaped) {
      const char next = pattern[p + 1];
      if (next == '\0') return 1;
      bool fits;
      std::size_t after;
      if (next == '?') {
        fits = true;
        after = p + 2;
      } else if (next == '\\') {
        fits = pattern[p + 2] == text[t];
        after = p + 3;
      } else {
        fits = next == text[t];
        after = p + 2;
      }
      if (fits && MatchMetaPattern(text + t + 1, pattern + after) == 1) return 1;
      ++t;
    } else if (c == '?' && !escaped) {
      ++t;
      ++p;
    } else if (c == '\\' && !escaped) {
      escaped = true;
      ++p;
    } else {
      if (c != text[t]) return 0;
      escaped = false;
      ++t;
      ++p;
    }
  }
  if (pattern[p] == '\0') return 1;
  return (!escaped && pattern[p] == '*' && pattern[p + 1] == '\0') ? 1 : 0;
}

bool RecordMetaDirection(StrCompValE& direction, StrCompValE wider) {
  if (direction == StrCompEqual) {
    direction = wider;
    return true;
  }
  return direction == wider;
}

StrCompValE CombineMetaResults(StrCompValE x, StrCompValE y) {
  if (x == StrCompEqual || y == StrCompEqual) return StrCompEqual;
  if (x == StrCompUnrelated) return y;
  if (y == StrCompUnrelated) return x;
  if (x == y) return x;
  return StrCompUnrelated;
}

StrCompValE ReverseMetaResult(StrCompValE result) {
  if (result == StrCompGreater) return StrCompLess;
  if (result == StrCompLess) return StrCompGreater;
  return result;
}

StrCompValE CompareMetaPatterns(const char* first, const char* second, StrCompValE direction) {
  std::size_t i = 0;
  std::size_t j = 0;
  StrCompValE d = direction;
  for (;;) {
    const Element a = ElementAt(first + i);
    const Element b = ElementAt(second + j);
    const std::size_t i1 = i + a.width;
    const std::size_t j1 = j + b.width;
    auto call = [&](std::size_t fi, std::size_t sj) {
      return CompareMetaPatterns(first + fi, second + sj, d);
    };
    if (a.kind == Kind::LoneEscape) return StrCompUnrelated;  // row 1
    if (b.kind == Kind::LoneEscape) return StrCompUnrelated;  // row 2
    if (IsEnd(a) && IsEnd(b)) return d;                       // row 3
    if (IsEnd(a) && IsStar(b)) {                              // row 4
      if (!RecordMetaDirection(d, StrCompLess)) return StrCompUnrelated;
      j = j1;
      continue;
    }
    if (IsEnd(a)) return StrCompUnrelated;  // row 5
    if (IsStar(a) && IsEnd(b)) {            // row 6
      if (!RecordMetaDirection(d, StrCompGreater)) return StrCompUnrelated;
      i = i1;
      continue;
    }
    if (IsStar(a) && IsStar(b)) {  // row 7
      return CombineMetaResults(CombineMetaResults(call(i1, j), call(i, j1)), call(i1, j1));
    }
    if (IsStar(a)) {  // row 8
      if (!RecordMetaDirection(d, StrCompGreater)) return StrCompUnrelated;
      return CombineMetaResults(call(i1, j1), call(i, j1));
    }
    if (IsEnd(b)) return StrCompUnrelated;  // row 9
    if (IsStar(b)) {                        // row 10
      if (!RecordMetaDirection(d, StrCompLess)) return StrCompUnrelated;
      return CombineMetaResults(call(i1, j1), call(i1, j));
    }
    if (IsAnyOne(a) && IsAnyOne(b)) {  // row 11
    } else if (IsAnyOne(a)) {          // row 12
      if (!RecordMetaDirection(d, StrCompGreater)) return StrCompUnrelated;
    } else if (IsAnyOne(b)) {  // row 13
      if (!RecordMetaDirection(d, StrCompLess)) return StrCompUnrelated;
    } else if (a.ch != b.ch) {  // row 14
      return StrCompUnrelated;
    }
    i = i1;
    j = j1;
  }
}

int IsMetaMatch(const std::string& text, const std::string& pattern) {
  if (text.empty() || pattern.empty()) return 0;
  std::string scratch;
  if (NormalizeMetaPattern(pattern, scratch) == 0) return 0;
  return MatchMetaPattern(text.c_str(), scratch.c_str());
}

StrCompValE MetaCompare(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return StrCompUnrelated;
  std::string firstScratch;
  std::string secondScratch;
  if (NormalizeMetaPattern(first, firstScratch) == 0 ||
      NormalizeMetaPattern(second, secondScratch) == 0) {
    return StrCompUnrelated;
  }
  return CompareMetaPatterns(firstScratch.c_str(), secondScratch.c_str(), StrCompEqual);
}

}  // namespace quarn::reference
