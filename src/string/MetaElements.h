// MetaElements.h - reading a meta pattern as a sequence of elements, for
// matching a text (MetaMatch.cpp) and comparing two patterns (MetaCompare.cpp).
//
// A pattern is read as a sequence of elements:
//   unescaped '*'          star: any run of characters
//   unescaped '?'          any-one: exactly one character
//   '\' c                  the literal c (c may be '*', '?' or '\')
//   '\' ending the pattern lone escape: matches nothing, compares with nothing
//   any other character c  the literal c
// A pattern and a text end at their first zero byte. A run of stars counts as
// one star; the run is collapsed while the elements are read, so the pattern
// is used in place and never copied.
#ifndef QUARNBASE_SRC_STRING_METAELEMENTS_H
#define QUARNBASE_SRC_STRING_METAELEMENTS_H

#include <quarnbase/StringC.h>

#include <cstddef>

namespace quarn::detail {

/// The kinds of element, in the order the comparison's tables index them.
enum class MetaKind : unsigned char { End, Star, AnyOne, Literal, LoneEscape };

/// One element of a pattern; `ch` is meaningful for a literal only.
struct MetaElement {
  MetaKind kind;
  char ch;
};

/// Reads the element that starts at `pos` and returns the position after it
/// (`pos` itself at the end). A star swallows the stars that directly follow it.
inline const char* ReadMetaElement(const char* pos, MetaElement& element) {
  const char c = *pos;
  switch (c) {
    case '\0':
      element = {MetaKind::End, '\0'};
      return pos;
    case '*':
      do ++pos;
      while (*pos == '*');
      element = {MetaKind::Star, '\0'};
      return pos;
    case '?':
      element = {MetaKind::AnyOne, '\0'};
      return pos + 1;
    case '\\':
      if (pos[1] == '\0') {
        element = {MetaKind::LoneEscape, '\0'};
        return pos + 1;
      }
      element = {MetaKind::Literal, pos[1]};
      return pos + 2;
    default:
      element = {MetaKind::Literal, c};
      return pos + 1;
  }
}

/// Number of elements of `pattern`, the end excluded.
inline std::size_t CountMetaElements(const char* pattern) {
  std::size_t count = 0;
  MetaElement element;
  while ((pattern = ReadMetaElement(pattern, element), element.kind != MetaKind::End)) ++count;
  return count;
}

/// Stores the elements of `pattern`, the end included, from `out` on.
inline void DecodeMetaPattern(const char* pattern, MetaElement* out) {
  do pattern = ReadMetaElement(pattern, *out);
  while ((out++)->kind != MetaKind::End);
}

/// The text of `pattern` to read elements from, or null when it is empty or
/// has no buffer (neither matches nor compares). It is read in place: the
/// collapsed runs of stars give the elements a collapsed copy would, since a
/// dropped star is unescaped and no backslash, so it changes how no other
/// byte reads.
inline const char* PatternTextOrNull(const StringC& pattern) {
  return pattern.IsEmpty() != 0 ? nullptr : static_cast<const char*>(pattern);
}

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_STRING_METAELEMENTS_H
