// StringC::IsMetaMatch: matching a text against a meta pattern
// (MetaElements.h says how a pattern reads).
#include <quarnbase/StringC.h>

#include <cstring>

#include "MetaElements.h"

using quarn::detail::MetaElement;
using quarn::detail::MetaKind;
using quarn::detail::ReadMetaElement;

namespace {

// Returns 1 when the whole of `text` matches `pattern`, else 0.
//
// Greedy matching with one backtrack point: every element after a star other
// than the end takes exactly one character, so when the elements after the
// last star fail, only that star needs to take one more character; earlier
// stars cannot help. O(|text| * |pattern|) time, constant space.
int MatchMetaPattern(const char* text, const char* pattern) {
  const char* star = nullptr;      // the last star met
  const char* starText = nullptr;  // where the elements after it are being tried
  while (*text != '\0') {
    MetaElement element;
    const char* next = ReadMetaElement(pattern, element);
    if (element.kind == MetaKind::Star) {
      MetaElement after;
      ReadMetaElement(next, after);
      if (after.kind == MetaKind::End) return 1;  // a final star takes the rest
      if (after.kind == MetaKind::LoneEscape) return 0;
      if (after.kind == MetaKind::Literal) {
        // The star can only end just before an occurrence of that literal.
        text = std::strchr(text, after.ch);
        if (text == nullptr) return 0;
      }
      star = pattern;
      starText = text;
      pattern = next;
    } else if (element.kind == MetaKind::AnyOne ||
               (element.kind == MetaKind::Literal && element.ch == *text)) {
      pattern = next;
      ++text;
    } else if (star != nullptr) {
      pattern = star;  // the star takes one more character
      text = starText + 1;
    } else {
      return 0;
    }
  }
  // The text is used up: what is left of the pattern must be nothing or a star.
  MetaElement element;
  const char* next = ReadMetaElement(pattern, element);
  if (element.kind == MetaKind::Star) ReadMetaElement(next, element);
  return element.kind == MetaKind::End ? 1 : 0;
}

}  // namespace

int StringC::IsMetaMatch(const StringC& pattern) {
  const char* const elements = quarn::detail::PatternTextOrNull(pattern);
  if (IsEmpty() != 0 || elements == nullptr) return 0;
  return MatchMetaPattern(buffer, elements);
}
