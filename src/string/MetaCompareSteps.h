// MetaCompareSteps.h - what the comparison of two meta patterns
// (MetaCompare.cpp) does with one pair of elements: the step rules, the codes
// in which its table holds results with their merger tables, and the moves of
// each kind of element against the classes of columns of its forward pass.
#ifndef QUARNBASE_SRC_STRING_METACOMPARESTEPS_H
#define QUARNBASE_SRC_STRING_METACOMPARESTEPS_H

#include <quarnbase/StringC.h>

#include "MetaElements.h"

namespace quarn::detail {

// The direction after recording that the side `wider` was found wider
// (StrCompGreater: the first pattern, StrCompLess: the second; StrCompEqual
// records nothing), or StrCompUnrelated where `direction` holds the other side.
constexpr StrCompValE Recorded(StrCompValE direction, StrCompValE wider) {
  if (wider == StrCompEqual || wider == direction) return direction;
  return direction == StrCompEqual ? wider : StrCompUnrelated;
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
constexpr StrCompValE ReverseMetaResult(StrCompValE result) {
  if (result == StrCompGreater) return StrCompLess;
  if (result == StrCompLess) return StrCompGreater;
  return result;
}

// The ways a step goes on from pair (i, j): to (i, j + 1), (i + 1, j) and
// (i + 1, j + 1).
enum MetaWay : unsigned char { kRight = 1, kDown = 2, kDiagonal = 4 };

// What the comparison does with a pair of elements (a of the first pattern, b
// of the second), apart from the direction: the ways it goes on.
enum class MetaMove : unsigned char {
  Unrelated = 0,                          // ends with StrCompUnrelated
  Finish = 8,                             // both patterns end: the result is the direction
  Both = kDiagonal,                       // a and b match up; both positions advance
  First = kDown,                          // a star of the first stands for nothing at the end
  Second = kRight,                        // the mirror case: the second position advances
  StarStar = kRight | kDown | kDiagonal,  // two stars: either ends here, or both do
  StarInFirst = kRight | kDiagonal,       // a star of the first takes b, then ends or goes on
  StarInSecond = kDown | kDiagonal,       // a star of the second takes a, then ends or goes on
};

constexpr bool Goes(MetaMove move, unsigned int way) {
  return (static_cast<unsigned int>(move) & way) != 0;
}

// Whether `move` goes on to more than one pair.
constexpr bool Branches(MetaMove move) {
  const unsigned int ways = static_cast<unsigned int>(move);
  return (ways & (ways - 1)) != 0;
}

struct MetaStep {
  MetaMove move;
  StrCompValE wider;  // the side to record first; StrCompEqual records nothing
};

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

// The table holds results in two bits: codes, built from and read back as
// StrCompValE. A direction d (0 to 2 for Less to Greater) has the code d + 1.
constexpr StrCompValE kMetaValues[4] = {StrCompUnrelated, StrCompLess, StrCompEqual,
                                        StrCompGreater};

constexpr unsigned int MetaCode(StrCompValE value) {
  return value == StrCompUnrelated ? 0 : static_cast<unsigned int>(value + 2);
}

// The direction (0 to 2) in which an arrival in direction `arrival` goes on
// after recording the side `wider`, or -1 where the comparison ends.
constexpr int RecordedDirection(int arrival, StrCompValE wider) {
  const StrCompValE direction = Recorded(kMetaValues[arrival + 1], wider);
  return direction == StrCompUnrelated ? -1 : direction + 1;
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

// The class of an element of each kind before any row's literal is known
// (none for a lone escape).
constexpr int kMetaClassOf[5] = {kEndColumn, kStarColumns, kAnyOneColumns, kOtherLiterals,
                                 kMetaClasses};

// For one kind of row element: its steps against the classes of columns as
// moves of the reached pairs. Arrivals in direction `from` at the columns of
// the classes in `classes` (a bit for each) go on in direction `to`, one way.
struct MetaAction {
  unsigned char way;
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
  constexpr unsigned char kWays[3] = {kRight, kDown, kDiagonal};
  MetaActionTable table{};
  for (int k = 0; k < 5; ++k) {
    unsigned char moves[3][3][3] = {};  // [way][from][to]: classes
    for (int c = 0; c < kMetaClasses; ++c) {
      const MetaStep step =
          ClassifyMetaKinds(static_cast<MetaKind>(k), kMetaClassKinds[c], c == kSameLiterals);
      for (int from = 0; from < 3; ++from) {
        const int to = RecordedDirection(from, step.wider);
        for (int way = 0; way < 3; ++way) {
          if (to >= 0 && Goes(step.move, kWays[way]))
            moves[way][from][to] |= static_cast<unsigned char>(1u << c);
        }
      }
    }
    unsigned char n = 0;
    const auto add = [&](int way, int from, int to) {
      if (moves[way][from][to] != 0) {
        table.of[k][n++] = {kWays[way], static_cast<unsigned char>(from),
                            static_cast<unsigned char>(to), moves[way][from][to]};
      }
    };
    for (int way = 0; way < 3; ++way) {
      for (const int from : {1, 0, 2}) {
        for (const int to : {from, (from + 1) % 3, (from + 2) % 3}) add(way, from, to);
      }
    }
    table.count[k] = n;
  }
  return table;
}
constexpr MetaActionTable kMetaActionTable = BuildMetaActionTable();

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_STRING_METACOMPARESTEPS_H
