// Meta patterns: matching a StringC against a wildcard pattern, and comparing
// two patterns for generality.
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
#include <quarnbase/StringC.h>

#include <cassert>
#include <cstddef>
#include <cstring>
#include <utility>

#include "Allocation.h"
#include "Checked.h"

using quarn::detail::AllocateBytes;
using quarn::detail::CheckedAdd;
using quarn::detail::CheckedBlockBytes;
using quarn::detail::ReleaseBytes;

namespace {

enum class MetaKind : unsigned char { End, Star, AnyOne, Literal, LoneEscape };

// One element of a pattern; `ch` is meaningful for a literal only.
struct MetaElement {
  MetaKind kind;
  char ch;
};

// Reads the element that starts at `pos` and returns the position after it
// (`pos` itself at the end). A star swallows the stars that directly follow it.
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

// Returns 0 when `source` is empty or has no buffer; otherwise points
// `normalised` at its text and returns 1. Nothing is copied: ReadMetaElement
// collapses runs of stars as the pattern is read, which yields the elements a
// collapsed copy would (a dropped star is unescaped and is not a backslash, so
// it changes how no other byte reads).
int NormalizeMetaPattern(const StringC& source, const char*& normalised) {
  if (source.IsEmpty() != 0) return 0;
  normalised = source;
  return 1;
}

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

// Records in `direction` that the side `wider` was found wider (StrCompGreater:
// the first pattern, StrCompLess: the second). Returns false when the direction
// already holds the opposite side: the comparison then ends as StrCompUnrelated.
inline bool RecordMetaDirection(StrCompValE& direction, StrCompValE wider) {
  if (direction == StrCompEqual) {
    direction = wider;
    return true;
  }
  return direction == wider;
}

// Merges the results of two alternative alignments. Symmetric, but not
// associative: the order in which three results are merged matters.
inline StrCompValE CombineMetaResults(StrCompValE x, StrCompValE y) {
  if (x == StrCompEqual || y == StrCompEqual) return StrCompEqual;
  if (x == StrCompUnrelated) return y;
  if (y == StrCompUnrelated) return x;
  return x == y ? x : StrCompUnrelated;
}

// Exchanges StrCompGreater and StrCompLess; StrCompEqual and StrCompUnrelated stay.
inline StrCompValE ReverseMetaResult(StrCompValE result) {
  if (result == StrCompGreater) return StrCompLess;
  if (result == StrCompLess) return StrCompGreater;
  return result;
}

// What the comparison does with a pair of elements (a of the first pattern, b
// of the second), apart from the direction.
enum class MetaMove : unsigned char {
  Unrelated,     // ends with StrCompUnrelated
  Finish,        // both patterns end: the result is the direction
  Both,          // a and b match up; both positions advance
  First,         // a star of the first meets the end of the second and stands for nothing
  Second,        // the mirror case: the second position advances
  StarStar,      // two stars: either ends here, or both do
  StarInFirst,   // a star of the first takes b, then ends or goes on
  StarInSecond,  // a star of the second takes a, then ends or goes on
};

struct MetaStep {
  MetaMove move;
  StrCompValE wider;  // the side to record first; StrCompEqual records nothing
};

constexpr bool Branches(MetaMove move) { return move >= MetaMove::StarStar; }

MetaStep ClassifyMetaPair(const MetaElement& a, const MetaElement& b) {
  if (a.kind == MetaKind::LoneEscape || b.kind == MetaKind::LoneEscape) {
    return {MetaMove::Unrelated, StrCompEqual};
  }
  if (a.kind == MetaKind::End) {
    if (b.kind == MetaKind::End) return {MetaMove::Finish, StrCompEqual};
    if (b.kind == MetaKind::Star) return {MetaMove::Second, StrCompLess};
    return {MetaMove::Unrelated, StrCompEqual};
  }
  if (a.kind == MetaKind::Star) {
    if (b.kind == MetaKind::End) return {MetaMove::First, StrCompGreater};
    if (b.kind == MetaKind::Star) return {MetaMove::StarStar, StrCompEqual};
    return {MetaMove::StarInFirst, StrCompGreater};
  }
  if (b.kind == MetaKind::End) return {MetaMove::Unrelated, StrCompEqual};
  if (b.kind == MetaKind::Star) return {MetaMove::StarInSecond, StrCompLess};
  if (a.kind == MetaKind::AnyOne) {
    return {MetaMove::Both, b.kind == MetaKind::AnyOne ? StrCompEqual : StrCompGreater};
  }
  if (b.kind == MetaKind::AnyOne) return {MetaMove::Both, StrCompLess};
  if (a.ch == b.ch) return {MetaMove::Both, StrCompEqual};
  return {MetaMove::Unrelated, StrCompEqual};
}

// Applies the part of `step` that does not depend on where it leads. Returns
// true with `result` set when the comparison ends at this pair; otherwise
// returns false with the step's side recorded in `direction`.
inline bool EndsMetaStep(const MetaStep& step, StrCompValE& direction, StrCompValE& result) {
  if (step.move == MetaMove::Unrelated) {
    result = StrCompUnrelated;
    return true;
  }
  if (step.move == MetaMove::Finish) {
    result = direction;
    return true;
  }
  if (step.wider != StrCompEqual && !RecordMetaDirection(direction, step.wider)) {
    result = StrCompUnrelated;
    return true;
  }
  return false;
}

// The results of comparing from one pair of element positions, one for each
// direction the comparison may arrive with.
struct MetaCell {
  signed char result[3];  // indexed by direction + 1
  StrCompValE At(StrCompValE direction) const {
    assert(direction >= StrCompLess && direction <= StrCompGreater &&
           "a direction is StrCompLess, StrCompEqual or StrCompGreater");
    return static_cast<StrCompValE>(result[direction + 1]);
  }
};

constexpr MetaCell kUnrelatedCell = {{StrCompUnrelated, StrCompUnrelated, StrCompUnrelated}};

// The comparison from pair (i, j) arriving with `direction`, given the cells
// of the pairs it may move to: (i+1, j) `down`, (i, j+1) `right` and
// (i+1, j+1) `diagonal`.
StrCompValE ResolveMetaStep(const MetaStep& step, StrCompValE direction, const MetaCell& down,
                            const MetaCell& right, const MetaCell& diagonal) {
  StrCompValE result;
  if (EndsMetaStep(step, direction, result)) return result;
  switch (step.move) {
    case MetaMove::Both:
      return diagonal.At(direction);
    case MetaMove::First:
      return down.At(direction);
    case MetaMove::Second:
      return right.At(direction);
    case MetaMove::StarStar:
      return CombineMetaResults(CombineMetaResults(down.At(direction), right.At(direction)),
                                diagonal.At(direction));
    case MetaMove::StarInFirst:
      return CombineMetaResults(diagonal.At(direction), right.At(direction));
    case MetaMove::StarInSecond:
      return CombineMetaResults(diagonal.At(direction), down.At(direction));
    default:
      return StrCompUnrelated;  // handled by EndsMetaStep
  }
}

// Number of elements of `pattern`, the end excluded.
std::size_t CountMetaElements(const char* pattern) {
  std::size_t count = 0;
  MetaElement element;
  while ((pattern = ReadMetaElement(pattern, element), element.kind != MetaKind::End)) ++count;
  return count;
}

// Stores the elements of `pattern`, the end included, from `out` on.
void DecodeMetaPattern(const char* pattern, MetaElement* out) {
  do pattern = ReadMetaElement(pattern, *out);
  while ((out++)->kind != MetaKind::End);
}

// The comparison from the first elements of `rows` and `columns` (each closed
// by an end element), in `direction`. Fills the table of results by pairs of
// element positions from the ends backwards, keeping one row of `cells`
// (columnCount + 1 of them). O(rowCount * columnCount) time.
StrCompValE CompareMetaTable(const MetaElement* rows, std::size_t rowCount,
                             const MetaElement* columns, std::size_t columnCount, MetaCell* cells,
                             StrCompValE direction) {
  for (std::size_t j = 0; j <= columnCount; ++j) cells[j] = kUnrelatedCell;
  for (std::size_t i = rowCount + 1; i-- > 0;) {
    MetaCell diagonal = kUnrelatedCell;  // cell (i+1, j+1)
    for (std::size_t j = columnCount + 1; j-- > 0;) {
      const MetaStep step = ClassifyMetaPair(rows[i], columns[j]);
      const MetaCell down = cells[j];  // still cell (i+1, j)
      const MetaCell& right = j < columnCount ? cells[j + 1] : kUnrelatedCell;
      MetaCell cell;
      for (int d = StrCompLess; d <= StrCompGreater; ++d) {
        cell.result[d + 1] = static_cast<signed char>(
            ResolveMetaStep(step, static_cast<StrCompValE>(d), down, right, diagonal));
      }
      cells[j] = cell;
      diagonal = down;
    }
  }
  return cells[0].At(direction);
}

// Table bytes held on the stack; larger tables are allocated. Enough for two
// patterns of about 580 elements, or a longer one against a shorter one.
constexpr std::size_t kLocalTableBytes = 4096;

// Compares from the elements at `first` and `second`, where the alignments
// start to branch, with the table of CompareMetaTable. Its row of cells runs
// along the pattern with fewer elements: when that is the first, the patterns
// change places, which reverses the direction and the result.
StrCompValE CompareMetaSuffixes(const char* first, const char* second, StrCompValE direction) {
  std::size_t firstCount = CountMetaElements(first);
  std::size_t secondCount = CountMetaElements(second);
  const bool exchange = firstCount < secondCount;
  if (exchange) {
    std::swap(first, second);
    std::swap(firstCount, secondCount);
    direction = ReverseMetaResult(direction);
  }
  const std::size_t bytes = CheckedBlockBytes(
      CheckedAdd(firstCount, 1), sizeof(MetaElement),
      CheckedBlockBytes(CheckedAdd(secondCount, 1), sizeof(MetaElement) + sizeof(MetaCell)));
  unsigned char local[kLocalTableBytes];
  unsigned char* block =
      bytes <= sizeof local ? local : static_cast<unsigned char*>(AllocateBytes(bytes));
  // Nothing below throws.
  MetaElement* rows = reinterpret_cast<MetaElement*>(block);
  MetaElement* columns = rows + firstCount + 1;
  MetaCell* cells = reinterpret_cast<MetaCell*>(columns + secondCount + 1);
  DecodeMetaPattern(first, rows);
  DecodeMetaPattern(second, columns);
  StrCompValE result = CompareMetaTable(rows, firstCount, columns, secondCount, cells, direction);
  if (block != local) ReleaseBytes(block);
  return exchange ? ReverseMetaResult(result) : result;
}

// Compares two normalised patterns, starting in `direction`. The result of
// comparing from a pair of element positions depends only on those positions
// and the direction, so the pairs that leave no choice are walked directly, and
// the rest is computed once per pair in a table (CompareMetaSuffixes).
// At worst O(|first| * |second|) time; no recursion, and no allocation unless
// the table outgrows kLocalTableBytes.
StrCompValE CompareMetaPatterns(const char* first, const char* second, StrCompValE direction) {
  for (;;) {
    MetaElement a;
    MetaElement b;
    const char* nextFirst = ReadMetaElement(first, a);
    const char* nextSecond = ReadMetaElement(second, b);
    const MetaStep step = ClassifyMetaPair(a, b);
    if (Branches(step.move)) return CompareMetaSuffixes(first, second, direction);
    StrCompValE result;
    if (EndsMetaStep(step, direction, result)) return result;
    if (step.move != MetaMove::Second) first = nextFirst;
    if (step.move != MetaMove::First) second = nextSecond;
  }
}

}  // namespace

int StringC::IsMetaMatch(const StringC& pattern) {
  const char* normalised = nullptr;
  if (IsEmpty() != 0 || NormalizeMetaPattern(pattern, normalised) == 0) return 0;
  return MatchMetaPattern(buffer, normalised);
}

StrCompValE StringC::MetaCompare(const StringC& other) {
  const char* first = nullptr;
  const char* second = nullptr;
  if (NormalizeMetaPattern(*this, first) == 0 || NormalizeMetaPattern(other, second) == 0) {
    return StrCompUnrelated;
  }
  return CompareMetaPatterns(first, second, StrCompEqual);
}
