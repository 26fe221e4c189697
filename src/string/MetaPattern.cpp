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

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include <quarnbase/internal/Words.h>
#include "Allocation.h"
#include "Checked.h"

using quarn::platform::AllocateBytes;
using quarn::platform::CheckedAdd;
using quarn::platform::CheckedBlockBytes;
using quarn::platform::ReleaseBytes;

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
constexpr bool RecordMetaDirection(StrCompValE& direction, StrCompValE wider) {
  if (direction == StrCompEqual) {
    direction = wider;
    return true;
  }
  return direction == wider;
}

// Merges the results of two alternative alignments. Symmetric, but not
// associative: the order in which three results are merged matters.
constexpr StrCompValE CombineMetaResults(StrCompValE x, StrCompValE y) {
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

// The step for elements of kinds `a` and `b`; `sameLiteral` tells, for two
// literals, whether their characters are equal.
constexpr MetaStep ClassifyMetaKinds(MetaKind a, MetaKind b, bool sameLiteral) {
  if (a == MetaKind::LoneEscape || b == MetaKind::LoneEscape) {
    return {MetaMove::Unrelated, StrCompEqual};
  }
  if (a == MetaKind::End) {
    if (b == MetaKind::End) return {MetaMove::Finish, StrCompEqual};
    if (b == MetaKind::Star) return {MetaMove::Second, StrCompLess};
    return {MetaMove::Unrelated, StrCompEqual};
  }
  if (a == MetaKind::Star) {
    if (b == MetaKind::End) return {MetaMove::First, StrCompGreater};
    if (b == MetaKind::Star) return {MetaMove::StarStar, StrCompEqual};
    return {MetaMove::StarInFirst, StrCompGreater};
  }
  if (b == MetaKind::End) return {MetaMove::Unrelated, StrCompEqual};
  if (b == MetaKind::Star) return {MetaMove::StarInSecond, StrCompLess};
  if (a == MetaKind::AnyOne) {
    return {MetaMove::Both, b == MetaKind::AnyOne ? StrCompEqual : StrCompGreater};
  }
  if (b == MetaKind::AnyOne) return {MetaMove::Both, StrCompLess};
  if (sameLiteral) return {MetaMove::Both, StrCompEqual};
  return {MetaMove::Unrelated, StrCompEqual};
}

inline MetaStep ClassifyMetaPair(const MetaElement& a, const MetaElement& b) {
  return ClassifyMetaKinds(a.kind, b.kind, a.ch == b.ch);
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

// The table below holds results in two bits: codes, built from and read back
// as StrCompValE.
constexpr StrCompValE kMetaValues[4] = {StrCompUnrelated, StrCompLess, StrCompEqual,
                                        StrCompGreater};

constexpr unsigned int MetaCode(StrCompValE value) {
  unsigned int code = 0;
  while (kMetaValues[code] != value) ++code;
  return code;
}

// Byte tables of CombineMetaResults on codes, built when this is compiled:
// combined[4 * x + y] is the merger of x and y. A merger with the pair to the
// right is kept as a map from that pair's code s to the result, two bits at
// 2 * s, so that a row's chain through the pairs to the right costs a shift
// per step: combinedWith[y] maps s to the merger of y and s, and
// starStarMaps[4 * x + y] maps s to the merger of (the merger of x and s) and y.
struct MetaCombinations {
  unsigned char combined[16];
  unsigned char combinedWith[4];
  unsigned char starStarMaps[16];
};

constexpr unsigned int CombineCodes(unsigned int x, unsigned int y) {
  return MetaCode(CombineMetaResults(kMetaValues[x], kMetaValues[y]));
}

constexpr MetaCombinations BuildMetaCombinations() {
  MetaCombinations tables{};
  for (unsigned int x = 0; x < 4; ++x) {
    for (unsigned int y = 0; y < 4; ++y) {
      tables.combined[4 * x + y] = static_cast<unsigned char>(CombineCodes(x, y));
      for (unsigned int s = 0; s < 4; ++s) {
        tables.starStarMaps[4 * x + y] |=
            static_cast<unsigned char>(CombineCodes(CombineCodes(x, s), y) << (2 * s));
        if (x == 0)
          tables.combinedWith[y] |= static_cast<unsigned char>(CombineCodes(y, s) << (2 * s));
      }
    }
  }
  return tables;
}
constexpr MetaCombinations kMetaCombinations = BuildMetaCombinations();

// The code a map (as in MetaCombinations) gives for the code `s`.
inline unsigned char ApplyMetaMap(unsigned char map, unsigned char s) {
  return static_cast<unsigned char>((map >> (2 * s)) & 3u);
}

// A row of the table: for each direction of arrival (Less, Equal, Greater),
// the codes of its pairs' results, one byte for each column, and a last byte
// that stays 0 (StrCompUnrelated) for the column past the end.
struct MetaRow {
  unsigned char* codes[3];
};

// The direction (0 to 2 for Less to Greater) with which an arrival in direction
// `arrival` goes on after recording the side `wider`, or -1 where it ends.
constexpr int RecordedDirection(int arrival, StrCompValE wider) {
  StrCompValE direction = static_cast<StrCompValE>(arrival - 1);
  if (wider != StrCompEqual && !RecordMetaDirection(direction, wider)) return -1;
  return direction + 1;
}

// The code for arrivals in direction D (0 to 2 for Less to Greater) at pair
// (i, j), whose step is Move recording Wider, given the row below (i + 1),
// which holds the pairs it may move to down and diagonally, and the codes of
// the pair to its right.
template <MetaMove Move, StrCompValE Wider, int D>
inline unsigned char ResolveMetaDirection(const MetaRow& below, std::size_t j,
                                          const unsigned char (&right)[3]) {
  constexpr int to = RecordedDirection(D, Wider);
  const MetaCombinations& tables = kMetaCombinations;
  if constexpr (to < 0) {
    return 0;
  } else if constexpr (Move == MetaMove::Both) {
    return below.codes[to][j + 1];
  } else if constexpr (Move == MetaMove::First) {
    return below.codes[to][j];
  } else if constexpr (Move == MetaMove::Second) {
    return right[to];
  } else if constexpr (Move == MetaMove::StarStar) {
    return ApplyMetaMap(tables.starStarMaps[4 * below.codes[to][j] + below.codes[to][j + 1]],
                        right[to]);
  } else if constexpr (Move == MetaMove::StarInFirst) {
    return ApplyMetaMap(tables.combinedWith[below.codes[to][j + 1]], right[to]);
  } else {
    static_assert(Move == MetaMove::StarInSecond, "every move that goes on is handled");
    return tables.combined[4 * below.codes[to][j + 1] + below.codes[to][j]];
  }
}

// Sets, in `right`, the codes of pair (i, j) of an element of kind A and one of
// kind B (`SameLiteral` for two equal literals) for the directions of arrival
// in the mask Directions (bit d for direction d), from the row below and the
// codes of the pair to the right that `right` holds. The step comes from
// ClassifyMetaKinds when this is compiled, so each pair of kinds gets
// straight-line code.
template <MetaKind A, MetaKind B, bool SameLiteral, unsigned int Directions>
inline void ResolveMetaCell(const MetaRow& below, std::size_t j, unsigned char (&right)[3]) {
  constexpr MetaStep step = ClassifyMetaKinds(A, B, SameLiteral);
  unsigned char codes[3] = {0, 0, 0};
  if constexpr (step.move == MetaMove::Finish) {
    // The result is the direction of arrival.
    for (int d = 0; d < 3; ++d) codes[d] = static_cast<unsigned char>(MetaCode(kMetaValues[d + 1]));
  } else if constexpr (step.move != MetaMove::Unrelated) {
    codes[0] = ResolveMetaDirection<step.move, step.wider, 0>(below, j, right);
    codes[1] = ResolveMetaDirection<step.move, step.wider, 1>(below, j, right);
    codes[2] = ResolveMetaDirection<step.move, step.wider, 2>(below, j, right);
  }
  for (int d = 0; d < 3; ++d) {
    if ((Directions >> d & 1u) != 0) right[d] = codes[d];
  }
}

// ResolveMetaCell for a row element `a` of kind A and the column element `b`.
template <MetaKind A, unsigned int Directions>
inline void ResolveMetaCell(const MetaElement& a, const MetaElement& b, const MetaRow& below,
                            std::size_t j, unsigned char (&right)[3]) {
  switch (b.kind) {
    case MetaKind::End:
      return ResolveMetaCell<A, MetaKind::End, false, Directions>(below, j, right);
    case MetaKind::Star:
      return ResolveMetaCell<A, MetaKind::Star, false, Directions>(below, j, right);
    case MetaKind::AnyOne:
      return ResolveMetaCell<A, MetaKind::AnyOne, false, Directions>(below, j, right);
    case MetaKind::Literal:
      if (a.ch == b.ch)
        return ResolveMetaCell<A, MetaKind::Literal, true, Directions>(below, j, right);
      return ResolveMetaCell<A, MetaKind::Literal, false, Directions>(below, j, right);
    case MetaKind::LoneEscape:
    default:
      return ResolveMetaCell<A, MetaKind::LoneEscape, false, Directions>(below, j, right);
  }
}

// Fills `row`, row i of the table, whose element is `a` of kind A, from row
// i + 1 in `below`: from column `firstColumn` on and for the directions in
// Directions, from the last column to the first, so that the pair to the
// right is at hand. The other codes of `row` are left as they were.
template <MetaKind A, unsigned int Directions>
void FillMetaRow(const MetaElement& a, const MetaElement* columns, std::size_t firstColumn,
                 std::size_t columnCount, const MetaRow& below, const MetaRow& row) {
  // Local copies: the stores of codes could otherwise change the pointers,
  // as far as the compiler can tell, and it would load them again each time.
  const MetaRow from = below;
  unsigned char* const to[3] = {row.codes[0], row.codes[1], row.codes[2]};
  unsigned char right[3] = {0, 0, 0};  // the codes of pair (i, j + 1)
  for (std::size_t j = columnCount + 1; j != firstColumn;) {
    --j;
    ResolveMetaCell<A, Directions>(a, columns[j], from, j, right);
    for (int d = 0; d < 3; ++d) {
      if ((Directions >> d & 1u) != 0) to[d][j] = right[d];
    }
  }
}

// FillMetaRow for the directions in the mask `directions` (not 0).
template <MetaKind A>
void FillMetaRow(unsigned int directions, const MetaElement& a, const MetaElement* columns,
                 std::size_t firstColumn, std::size_t columnCount, const MetaRow& below,
                 const MetaRow& row) {
  switch (directions) {
    case 1:
      return FillMetaRow<A, 1>(a, columns, firstColumn, columnCount, below, row);
    case 2:
      return FillMetaRow<A, 2>(a, columns, firstColumn, columnCount, below, row);
    case 3:
      return FillMetaRow<A, 3>(a, columns, firstColumn, columnCount, below, row);
    case 4:
      return FillMetaRow<A, 4>(a, columns, firstColumn, columnCount, below, row);
    case 5:
      return FillMetaRow<A, 5>(a, columns, firstColumn, columnCount, below, row);
    case 6:
      return FillMetaRow<A, 6>(a, columns, firstColumn, columnCount, below, row);
    default:
      return FillMetaRow<A, 7>(a, columns, firstColumn, columnCount, below, row);
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

// Which of the pairs (i+1, j), (i, j+1) and (i+1, j+1) a step from (i, j)
// goes on to.
struct MetaMoves {
  bool down;
  bool right;
  bool diagonal;
};

constexpr MetaMoves MovesOf(MetaMove move) {
  switch (move) {
    case MetaMove::Both:
      return {false, false, true};
    case MetaMove::First:
      return {true, false, false};
    case MetaMove::Second:
      return {false, true, false};
    case MetaMove::StarStar:
      return {true, true, true};
    case MetaMove::StarInFirst:
      return {false, true, true};
    case MetaMove::StarInSecond:
      return {true, false, true};
    default:
      return {false, false, false};
  }
}

// Sets of columns (elements of the second pattern, its end included) as
// bits, 64 to a word.
using MetaBits = std::uint64_t;
constexpr std::size_t kMetaBitsPerWord = 64;

// Words of a set over columns 0 to columnCount.
constexpr std::size_t MetaBitWords(std::size_t columnCount) {
  return columnCount / kMetaBitsPerWord + 1;
}

// Columns of one kind, which meet a row's element with one step. Lone
// escapes belong to none: they end every comparison.
enum MetaColumnClass {
  kEndColumn,
  kStarColumns,
  kAnyOneColumns,
  kSameLiterals,
  kOtherLiterals,
  kMetaClasses
};

constexpr MetaKind kMetaClassKinds[kMetaClasses] = {MetaKind::End, MetaKind::Star, MetaKind::AnyOne,
                                                    MetaKind::Literal, MetaKind::Literal};

// For one kind of row element: its steps against the classes of columns as
// moves of the reached pairs. Arrivals in direction `from` at the columns of
// the classes in `classes` (a bit for each) go on in direction `to`, to the
// right, down or diagonally.
enum class MetaMoveKind : unsigned char { Right, Down, Diagonal };

struct MetaAction {
  MetaMoveKind kind;
  unsigned char from;
  unsigned char to;
  unsigned char classes;
};

// The moves of each kind of row element (indexed by MetaKind), from
// ClassifyMetaKinds when this is compiled. The moves to the right come first,
// Equal's before the others', since only Equal turns into another direction;
// for each direction, those that keep it come before those that turn it.
struct MetaActionTable {
  MetaAction of[5][27];
  unsigned char count[5];
};

constexpr MetaActionTable BuildMetaActionTable() {
  MetaActionTable table{};
  for (int k = 0; k < 5; ++k) {
    unsigned char moves[3][3][3] = {};  // [kind][from][to]: classes
    for (int c = 0; c < kMetaClasses; ++c) {
      const MetaStep step =
          ClassifyMetaKinds(static_cast<MetaKind>(k), kMetaClassKinds[c], c == kSameLiterals);
      if (step.move == MetaMove::Unrelated || step.move == MetaMove::Finish) continue;
      const MetaMoves way = MovesOf(step.move);
      for (int from = 0; from < 3; ++from) {
        const int to = RecordedDirection(from, step.wider);
        if (to < 0) continue;
        const unsigned char bit = static_cast<unsigned char>(1u << c);
        if (way.right) moves[0][from][to] |= bit;
        if (way.down) moves[1][from][to] |= bit;
        if (way.diagonal) moves[2][from][to] |= bit;
      }
    }
    unsigned char n = 0;
    const auto add = [&](int kind, int from, int to) {
      if (moves[kind][from][to] != 0) {
        table.of[k][n++] = {static_cast<MetaMoveKind>(kind), static_cast<unsigned char>(from),
                            static_cast<unsigned char>(to), moves[kind][from][to]};
      }
    };
    for (const int from : {1, 0, 2}) {
      add(0, from, from);
      for (int to = 0; to < 3; ++to) {
        if (to != from) add(0, from, to);
      }
    }
    for (int kind = 1; kind < 3; ++kind) {
      for (int from = 0; from < 3; ++from) {
        for (int to = 0; to < 3; ++to) add(kind, from, to);
      }
    }
    table.count[k] = n;
  }
  return table;
}
constexpr MetaActionTable kMetaActionTable = BuildMetaActionTable();

// The first column in any of the three sets, or `none`.
inline std::size_t FirstColumn(MetaBits* const (&sets)[3], std::size_t words, std::size_t none) {
  for (std::size_t w = 0; w < words; ++w) {
    const MetaBits bits = sets[0][w] | sets[1][w] | sets[2][w];
    if (bits == 0) continue;
    return w * kMetaBitsPerWord + quarn::detail::LowestSetBit(bits);
  }
  return none;
}

// Sets that FindReachedColumns keeps: one for each class of columns, the
// columns reached in each of the three directions in a row and in the next,
// and the unions of classes, one for each combination.
constexpr std::size_t kMetaClassUnions = std::size_t{1} << kMetaClasses;
constexpr std::size_t kMetaColumnSets = kMetaClasses + 6 + kMetaClassUnions;

// The combinations of classes that hold no literals.
constexpr std::uint32_t UnionsWithoutLiterals() {
  std::uint32_t unions = 0;
  for (std::uint32_t m = 0; m < kMetaClassUnions; ++m) {
    if ((m & (1u << kSameLiterals | 1u << kOtherLiterals)) == 0) unions |= 1u << m;
  }
  return unions;
}

// Adds to `reached` every column that moves to the right lead to: from a
// reached column in `runs` to the next, and on along the run. Adding the
// reached columns of each run to the run carries through it, and the bits the
// addition changes are the ones reached.
inline void CarryToTheRight(MetaBits* reached, const MetaBits* runs, std::size_t words) {
  MetaBits carry = 0;
  for (std::size_t w = 0; w < words; ++w) {
    const MetaBits partial = runs[w] + (reached[w] & runs[w]);
    const MetaBits sum = partial + carry;
    carry = (partial < runs[w] || sum < partial) ? 1 : 0;
    reached[w] |= sum ^ runs[w];
  }
}

// Adds to `to` the columns of `from` that are in `mask`.
inline void AddColumns(MetaBits* to, const MetaBits* from, const MetaBits* mask,
                       std::size_t words) {
  for (std::size_t w = 0; w < words; ++w) to[w] |= from[w] & mask[w];
}

// Adds to `to` the columns right of those of `from` that are in `mask`.
inline void AddNextColumns(MetaBits* to, const MetaBits* from, const MetaBits* mask,
                           std::size_t words) {
  MetaBits shiftedOut = 0;
  for (std::size_t w = 0; w < words; ++w) {
    const MetaBits moved = from[w] & mask[w];
    to[w] |= (moved << 1) | shiftedOut;
    shiftedOut = moved >> (kMetaBitsPerWord - 1);
  }
}

// What the comparison from (0, 0) reaches of a row: the first column, and
// the directions of arrival (bit d for direction d).
struct MetaRowReach {
  std::uint32_t firstColumn;
  std::uint32_t directions;
};

// FindReachedColumns for sets of FixedWords words, or of any number for 0:
// short patterns get loops the compiler unrolls.
template <std::size_t FixedWords>
void FollowMetaRows(const MetaElement* rows, std::size_t rowCount, const MetaElement* columns,
                    std::size_t columnCount, StrCompValE direction, MetaRowReach* reach,
                    MetaBits* sets) {
  const std::size_t words = FixedWords != 0 ? FixedWords : MetaBitWords(columnCount);
  for (std::size_t w = 0; w < (kMetaClasses + 6) * words; ++w) sets[w] = 0;
  MetaBits* classes[kMetaClasses];
  for (int c = 0; c < kMetaClasses; ++c) classes[c] = sets + c * words;
  MetaBits* reached[3];  // by direction: Less, Equal, Greater
  MetaBits* below[3];
  for (int d = 0; d < 3; ++d) {
    reached[d] = sets + (kMetaClasses + d) * words;
    below[d] = sets + (kMetaClasses + 3 + d) * words;
  }
  MetaBits* const unions = sets + (kMetaClasses + 6) * words;
  std::uint32_t unionsKnown = 0;  // bit m: unions holds the union of combination m
  // The columns of the classes in the combination `which` (a bit for each).
  const auto unionOf = [&](unsigned int which) -> const MetaBits* {
    MetaBits* const set = unions + which * words;
    if ((unionsKnown >> which & 1u) == 0) {
      for (std::size_t w = 0; w < words; ++w) {
        MetaBits bits = 0;
        for (int c = 0; c < kMetaClasses; ++c) {
          if ((which >> c & 1u) != 0) bits |= classes[c][w];
        }
        set[w] = bits;
      }
      unionsKnown |= 1u << which;
    }
    return set;
  };
  classes[kEndColumn][columnCount / kMetaBitsPerWord] = MetaBits{1}
                                                        << (columnCount % kMetaBitsPerWord);
  for (std::size_t j = 0; j < columnCount; ++j) {
    const MetaKind kind = columns[j].kind;
    const int c = kind == MetaKind::Star      ? kStarColumns
                  : kind == MetaKind::AnyOne  ? kAnyOneColumns
                  : kind == MetaKind::Literal ? kOtherLiterals
                                              : kMetaClasses;  // a lone escape: no moves
    if (c != kMetaClasses)
      classes[c][j / kMetaBitsPerWord] |= MetaBits{1} << (j % kMetaBitsPerWord);
  }
  const MetaElement* literalRow = nullptr;  // whose literal the same literals hold
  reached[direction + 1][0] = 1;
  for (std::size_t i = 0; i <= rowCount; ++i) {
    const MetaElement& a = rows[i];
    if (a.kind == MetaKind::Literal && (literalRow == nullptr || literalRow->ch != a.ch)) {
      // Move the literals of the previous character back, and this one's over.
      literalRow = &a;
      unionsKnown &= UnionsWithoutLiterals();
      for (std::size_t w = 0; w < words; ++w)
        classes[kOtherLiterals][w] |= classes[kSameLiterals][w];
      for (std::size_t j = 0; j < columnCount; ++j) {
        if (columns[j].kind != MetaKind::Literal || columns[j].ch != a.ch) continue;
        const MetaBits bit = MetaBits{1} << (j % kMetaBitsPerWord);
        classes[kSameLiterals][j / kMetaBitsPerWord] |= bit;
        classes[kOtherLiterals][j / kMetaBitsPerWord] &= ~bit;
      }
    }
    const MetaAction* action = kMetaActionTable.of[static_cast<int>(a.kind)];
    const MetaAction* const end = action + kMetaActionTable.count[static_cast<int>(a.kind)];
    for (; action != end && action->kind == MetaMoveKind::Right; ++action) {
      if (action->from == action->to) {
        CarryToTheRight(reached[action->from], unionOf(action->classes), words);
      } else {
        AddNextColumns(reached[action->to], reached[action->from], unionOf(action->classes), words);
      }
    }
    MetaBits any[3] = {0, 0, 0};
    for (int d = 0; d < 3; ++d) {
      for (std::size_t w = 0; w < words; ++w) any[d] |= reached[d][w];
    }
    reach[i].directions =
        (any[0] != 0 ? 1u : 0u) | (any[1] != 0 ? 2u : 0u) | (any[2] != 0 ? 4u : 0u);
    reach[i].firstColumn = static_cast<std::uint32_t>(
        reach[i].directions != 0 ? FirstColumn(reached, words, columnCount + 1) : columnCount + 1);
    std::memset(below[0], 0, 3 * words * sizeof(MetaBits));  // the three sets lie together
    for (; action != end; ++action) {
      const MetaBits* const mask = unionOf(action->classes);
      if (action->kind == MetaMoveKind::Down) {
        AddColumns(below[action->to], reached[action->from], mask, words);
      } else {
        AddNextColumns(below[action->to], reached[action->from], mask, words);
      }
    }
    for (int d = 0; d < 3; ++d) std::swap(reached[d], below[d]);  // each triple stays together
  }
}

// For each row, the first column of a pair that the comparison from (0, 0)
// in `direction` reaches (columnCount + 1 for a row it never reaches): the
// pairs before it need no result, since no move goes left. The rows are
// followed from the top with the columns reached in each direction, by the
// steps of ClassifyMetaKinds: a row's pairs are reached from the row above
// (down or diagonally), then from each other (to the right). A move that
// records a side goes on in that side's direction, or not at all; only
// Equal turns into another direction, so the moves to the right are followed
// for Equal first. `sets` has room for kMetaColumnSets sets. O(rowCount *
// columnCount / 64) time.
void FindReachedColumns(const MetaElement* rows, std::size_t rowCount, const MetaElement* columns,
                        std::size_t columnCount, StrCompValE direction, MetaRowReach* reach,
                        MetaBits* sets) {
  switch (MetaBitWords(columnCount)) {
    case 1:
      return FollowMetaRows<1>(rows, rowCount, columns, columnCount, direction, reach, sets);
    case 2:
      return FollowMetaRows<2>(rows, rowCount, columns, columnCount, direction, reach, sets);
    default:
      return FollowMetaRows<0>(rows, rowCount, columns, columnCount, direction, reach, sets);
  }
}

// The comparison from the first elements of `rows` and `columns` (each closed
// by an end element), in `direction`. Fills the table of results by pairs of
// element positions from the ends backwards, keeping two rows, `row` and
// `other` (all codes 0 on entry); only the pairs and directions of arrival
// that the comparison reaches (`reach`) are computed. O(rowCount *
// columnCount) time.
StrCompValE CompareMetaTable(const MetaElement* rows, std::size_t rowCount,
                             const MetaElement* columns, std::size_t columnCount, MetaRow row,
                             MetaRow other, const MetaRowReach* reach, StrCompValE direction) {
  for (std::size_t i = rowCount + 1; i-- > 0;) {
    std::swap(row, other);  // `other` is now row i + 1
    const MetaElement& a = rows[i];
    const std::size_t first = reach[i].firstColumn;
    const unsigned int directions = reach[i].directions;
    if (first > columnCount || directions == 0) continue;
    switch (a.kind) {
      case MetaKind::End:
        FillMetaRow<MetaKind::End, 7>(a, columns, first, columnCount, other, row);
        break;
      case MetaKind::Star:
        FillMetaRow<MetaKind::Star>(directions, a, columns, first, columnCount, other, row);
        break;
      case MetaKind::AnyOne:
        FillMetaRow<MetaKind::AnyOne>(directions, a, columns, first, columnCount, other, row);
        break;
      case MetaKind::Literal:
        FillMetaRow<MetaKind::Literal>(directions, a, columns, first, columnCount, other, row);
        break;
      default:
        FillMetaRow<MetaKind::LoneEscape, 7>(a, columns, first, columnCount, other, row);
        break;
    }
  }
  return kMetaValues[row.codes[direction + 1][0]];
}

// Table bytes held on the stack; larger tables are allocated. Enough for two
// patterns of about 360 elements, or a longer one against a shorter one.
constexpr std::size_t kLocalTableBytes = 8192;

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
  // The block: the column sets, what is reached of each row, both patterns'
  // elements and two rows of codes (in this order, which keeps each aligned).
  const std::size_t setBytes =
      CheckedBlockBytes(MetaBitWords(secondCount), kMetaColumnSets * sizeof(MetaBits));
  const std::size_t rowBytes = CheckedBlockBytes(CheckedAdd(secondCount, 2), 6);
  const std::size_t bytes =
      CheckedBlockBytes(CheckedAdd(firstCount, 1), sizeof(MetaRowReach) + sizeof(MetaElement),
                        CheckedBlockBytes(CheckedAdd(secondCount, 1), sizeof(MetaElement),
                                          CheckedAdd(setBytes, rowBytes)));
  alignas(MetaBits) unsigned char local[kLocalTableBytes];
  unsigned char* block =
      bytes <= sizeof local ? local : static_cast<unsigned char*>(AllocateBytes(bytes));
  // Nothing below throws.
  MetaBits* sets = reinterpret_cast<MetaBits*>(block);
  MetaRowReach* reach = reinterpret_cast<MetaRowReach*>(block + setBytes);
  MetaElement* rows = reinterpret_cast<MetaElement*>(reach + firstCount + 1);
  MetaElement* columns = rows + firstCount + 1;
  unsigned char* codes = reinterpret_cast<unsigned char*>(columns + secondCount + 1);
  std::memset(codes, 0, rowBytes);
  const std::size_t width = secondCount + 2;
  const MetaRow row = {{codes, codes + width, codes + 2 * width}};
  const MetaRow other = {{codes + 3 * width, codes + 4 * width, codes + 5 * width}};
  DecodeMetaPattern(first, rows);
  DecodeMetaPattern(second, columns);
  FindReachedColumns(rows, firstCount, columns, secondCount, direction, reach, sets);
  StrCompValE result =
      CompareMetaTable(rows, firstCount, columns, secondCount, row, other, reach, direction);
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
