// StringC::MetaCompare: which of two meta patterns is the more general
// (MetaElements.h says how a pattern reads).
//
// The recurrence. Let a_0 .. a_n be the elements of the first pattern and
// b_0 .. b_m those of the second, a_n and b_m their ends. R(i, j, d) is the
// result of comparing the patterns from a_i and b_j on, arriving there in
// direction d: StrCompEqual while neither side has been found wider, else the
// side found wider. The kinds of a_i and b_j give a step (ClassifyMetaKinds):
// it ends the comparison (StrCompUnrelated; at two ends, d), or records a side
// (d turns into that side, or the comparison ends as StrCompUnrelated where d
// holds the other) and goes on to R at (i + 1, j), (i, j + 1) or
// (i + 1, j + 1). Where a star may take one more element or stand for nothing,
// the step goes on to two or three of them and merges their results
// (CombineMetaResults). The answer is R(0, 0, StrCompEqual).
//
// The pairs are walked directly while each step leads to one pair. From the
// first step that branches, R is filled in as a table from the ends backwards,
// two rows at a time. Only the pairs and directions that the comparison can
// reach need a value, and a pass from the top finds them first with sets of
// columns as bits, 64 to a word: one step rule applied to all columns of one
// kind at once is an AND of the reached columns with the columns of that kind,
// shifted by one for a diagonal move, and a chain of moves to the right is an
// addition whose carry runs along the chain. So that pass takes O(n * m / 64)
// time, and the table O(n * m) at worst.
#include <quarnbase/StringC.h>
#include <quarnbase/internal/Words.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "Allocation.h"
#include "Checked.h"
#include "MetaCompareSteps.h"
#include "MetaElements.h"

namespace quarn::detail {
namespace {

// A row of the table: for each direction of arrival (Less, Equal, Greater),
// the codes of its pairs' results, one byte for each column, and a last byte
// that stays 0 (StrCompUnrelated) for the column past the end.
struct MetaRow {
  unsigned char* codes[3];
};

// The code for arrivals in direction D at pair (i, j), whose step is Move
// recording Wider, given the row below (i + 1), which holds the pairs it may
// move to down and diagonally, and the codes of the pair to its right.
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
    for (int d = 0; d < 3; ++d) codes[d] = static_cast<unsigned char>(d + 1);  // the direction
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
// right is at hand. The other codes of `row` are left as they were; the
// comparison reaches none of them.
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

// FillMetaRow for row elements of kind A, by the mask of directions (1 to 7).
using MetaRowFiller = void (*)(const MetaElement&, const MetaElement*, std::size_t, std::size_t,
                               const MetaRow&, const MetaRow&);
template <MetaKind A, unsigned int... D>
constexpr std::array<MetaRowFiller, 8> MetaRowFillers(
    std::integer_sequence<unsigned int, 0, D...>) {
  return {{nullptr, &FillMetaRow<A, D>...}};
}
constexpr auto kMetaMasks = std::make_integer_sequence<unsigned int, 8>();
constexpr std::array<MetaRowFiller, 8> kMetaRowFillers[5] = {
    MetaRowFillers<MetaKind::End>(kMetaMasks), MetaRowFillers<MetaKind::Star>(kMetaMasks),
    MetaRowFillers<MetaKind::AnyOne>(kMetaMasks), MetaRowFillers<MetaKind::Literal>(kMetaMasks),
    MetaRowFillers<MetaKind::LoneEscape>(kMetaMasks)};

// Sets of columns (elements of the second pattern, its end included) as
// bits, 64 to a word.
using MetaBits = std::uint64_t;
constexpr std::size_t kMetaBitsPerWord = 64;

// Words of a set over columns 0 to columnCount.
constexpr std::size_t MetaBitWords(std::size_t columnCount) {
  return columnCount / kMetaBitsPerWord + 1;
}

// The first column in any of the three sets, or `none`.
inline std::size_t FirstColumn(MetaBits* const (&sets)[3], std::size_t words, std::size_t none) {
  for (std::size_t w = 0; w < words; ++w) {
    const MetaBits bits = sets[0][w] | sets[1][w] | sets[2][w];
    if (bits == 0) continue;
    return w * kMetaBitsPerWord + LowestSetBit(bits);
  }
  return none;
}

// Sets that FollowMetaRows keeps: one for each class of columns, the columns
// reached in each of the three directions in a row and in the next, and the
// unions of classes, one for each combination.
constexpr std::size_t kMetaClassUnions = std::size_t{1} << kMetaClasses;
constexpr std::size_t kMetaColumnSets = kMetaClasses + 6 + kMetaClassUnions;

// The combinations of classes that hold no literals, which a row with another
// literal leaves as they were.
static_assert(kSameLiterals == kMetaClasses - 2 && kOtherLiterals == kMetaClasses - 1,
              "the literals are the last two classes");
constexpr std::uint32_t kUnionsWithoutLiterals = (std::uint32_t{1} << (1u << kSameLiterals)) - 1;

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

// The forward pass: for each row, the directions in which the comparison
// from (0, 0) in `direction` arrives, and the first column it reaches
// (columnCount + 1 for none); no move goes left. A row's pairs are reached
// from the row above (down or diagonally), then from each other (to the
// right), Equal's first, since only Equal turns into another direction.
// `sets` has room for kMetaColumnSets sets of FixedWords words, or of as many
// as the columns need for 0 (short patterns get loops the compiler unrolls).
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
    const int c = kMetaClassOf[static_cast<int>(columns[j].kind)];
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
      unionsKnown &= kUnionsWithoutLiterals;
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
    for (; action != end && action->way == kRight; ++action) {
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
      if (action->way == kDown) {
        AddColumns(below[action->to], reached[action->from], mask, words);
      } else {
        AddNextColumns(below[action->to], reached[action->from], mask, words);
      }
    }
    for (int d = 0; d < 3; ++d) std::swap(reached[d], below[d]);  // each triple stays together
  }
}

// FollowMetaRows by the words of a set: 1, 2, or any number (0).
using MetaRowFollower = void (*)(const MetaElement*, std::size_t, const MetaElement*, std::size_t,
                                 StrCompValE, MetaRowReach*, MetaBits*);
constexpr MetaRowFollower kMetaRowFollowers[3] = {&FollowMetaRows<0>, &FollowMetaRows<1>,
                                                  &FollowMetaRows<2>};

// R(0, 0, direction) for the elements `rows` and `columns` (each closed by an
// end element): fills the table from the ends backwards in two rows, `row`
// and `other` (all codes 0 on entry), computing only the pairs and directions
// of arrival that `reach` names.
StrCompValE CompareMetaTable(const MetaElement* rows, std::size_t rowCount,
                             const MetaElement* columns, std::size_t columnCount, MetaRow row,
                             MetaRow other, const MetaRowReach* reach, StrCompValE direction) {
  for (std::size_t i = rowCount + 1; i-- > 0;) {
    std::swap(row, other);  // `other` is now row i + 1
    const std::size_t first = reach[i].firstColumn;
    if (first > columnCount || reach[i].directions == 0) continue;
    const MetaRowFiller fill = kMetaRowFillers[static_cast<int>(rows[i].kind)][reach[i].directions];
    fill(rows[i], columns, first, columnCount, other, row);
  }
  return kMetaValues[row.codes[direction + 1][0]];
}

// Table bytes held on the stack; larger tables are allocated. Enough for two
// patterns of 339 elements, or a longer one against a shorter one.
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
  const std::size_t words = MetaBitWords(secondCount);
  const std::size_t setBytes =
      platform::CheckedBlockBytes(words, kMetaColumnSets * sizeof(MetaBits));
  const std::size_t rowBytes = platform::CheckedBlockBytes(platform::CheckedAdd(secondCount, 2), 6);
  const std::size_t bytes = platform::CheckedBlockBytes(
      platform::CheckedAdd(firstCount, 1), sizeof(MetaRowReach) + sizeof(MetaElement),
      platform::CheckedBlockBytes(platform::CheckedAdd(secondCount, 1), sizeof(MetaElement),
                                  platform::CheckedAdd(setBytes, rowBytes)));
  alignas(MetaBits) unsigned char local[kLocalTableBytes];
  unsigned char* block =
      bytes <= sizeof local ? local : static_cast<unsigned char*>(platform::AllocateBytes(bytes));
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
  kMetaRowFollowers[words <= 2 ? words : 0](rows, firstCount, columns, secondCount, direction,
                                            reach, sets);
  StrCompValE result =
      CompareMetaTable(rows, firstCount, columns, secondCount, row, other, reach, direction);
  if (block != local) platform::ReleaseBytes(block);
  return exchange ? ReverseMetaResult(result) : result;
}

// Compares two patterns from their first elements, arriving in `direction`:
// walks the pairs while each step leads to one pair, then fills the table
// (CompareMetaSuffixes). No recursion, and no allocation unless the table
// outgrows kLocalTableBytes.
StrCompValE CompareMetaPatterns(const char* first, const char* second, StrCompValE direction) {
  for (;;) {
    MetaElement a;
    MetaElement b;
    const char* nextFirst = ReadMetaElement(first, a);
    const char* nextSecond = ReadMetaElement(second, b);
    const MetaStep step = ClassifyMetaKinds(a.kind, b.kind, a.ch == b.ch);
    if (Branches(step.move)) return CompareMetaSuffixes(first, second, direction);
    if (step.move == MetaMove::Unrelated) return StrCompUnrelated;
    if (step.move == MetaMove::Finish) return direction;
    direction = Recorded(direction, step.wider);
    if (direction == StrCompUnrelated) return direction;
    if (step.move != MetaMove::Second) first = nextFirst;
    if (step.move != MetaMove::First) second = nextSecond;
  }
}

}  // namespace
}  // namespace quarn::detail

StrCompValE StringC::MetaCompare(const StringC& other) {
  const char* const first = quarn::detail::PatternTextOrNull(*this);
  const char* const second = quarn::detail::PatternTextOrNull(other);
  if (first == nullptr || second == nullptr) return StrCompUnrelated;
  return quarn::detail::CompareMetaPatterns(first, second, StrCompEqual);
}
