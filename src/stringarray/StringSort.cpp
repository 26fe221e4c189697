// StringSort.cpp - the ordering behind StringAC::sort.
//
// A multikey quicksort (three-way radix quicksort) over keys of 7 text bytes.
// Each element carries the key of its text at the current offset (the 7 bytes
// from there). A partition splits a range into the keys below, equal to and above
// a pivot key; only the equal part goes on to the next 7 bytes. An equal
// prefix is therefore read once per element and offset, never again in each
// comparison. When a partition finds every key of its range equal, one pass
// measures how far all texts of the range agree and the keys jump past that
// shared part, so a run of long equal texts, or of texts sharing a long
// prefix, costs a pass or two instead of one per 7 bytes.
#include "StringSort.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include <quarnbase/internal/Words.h>

#include "Allocation.h"
#include "Records.h"

namespace quarn::detail {
namespace {

// Text bytes per key. They fill the key's high 7 bytes, the first byte most
// significant, each biased by 0x80 so that unsigned order is Compare's signed
// byte order; missing bytes are 0. The low byte holds how many bytes were
// taken when the text ends within these 7 (0 to 7), else kMore. Equal key
// bytes with a smaller count mean a prefix (the longer text's extra bytes
// are 0x80, biased to 0), which sorts first, as in Compare.
constexpr std::size_t kKeyBytes = 7;
constexpr std::uint64_t kMore = 8;
constexpr std::uint64_t kCountMask = 0xFF;

// Ranges up to this size are finished by insertion sort.
constexpr std::size_t kInsertionLimit = 12;

// A record taken out of the array, with its key at the current offset. Once
// its place is final the key is reused as a flag: 1 when the element equals
// the one before it, else 0.
struct Entry {
  std::uint64_t key;
  alignas(StringC) unsigned char record[sizeof(StringC)];

  const StringC& String() const { return *reinterpret_cast<const StringC*>(record); }
};

// True when the key says the text goes on past its 7 bytes.
inline bool GoesOn(std::uint64_t key) { return (key & kCountMask) == kMore; }

class Sorter {
 public:
  Sorter(StrCompModE mode, bool markRuns) : mode(mode), markRuns(markRuns) {
    if (mode == StrCompNoCase) {
      // The byte reaches tolower as an unsigned char value, as in Compare.
      for (int b = 0; b < 256; ++b) lower[b] = static_cast<unsigned char>(std::tolower(b));
    } else {
      for (int b = 0; b < 256; ++b) lower[b] = static_cast<unsigned char>(b);
    }
  }

  // Sets each entry's key to the 7 bytes at `offset`, which is at most the length.
  void SetKeys(Entry* first, std::size_t n, std::size_t offset) const {
    for (std::size_t i = 0; i < n; ++i) first[i].key = KeyAt(first[i].String(), offset);
  }

  // Sorts [first, first + n) whose keys hold the bytes at `offset`.
  void Sort(Entry* first, std::size_t n, std::size_t offset) const;

 private:
  static const unsigned char* Bytes(const StringC& s) {
    return reinterpret_cast<const unsigned char*>(static_cast<char*>(s));
  }

  // How many bytes from `offset` on every text of the range shares with the
  // first (after the case fold); at most the shortest length left. Each text
  // is read only up to the shortest shared part found so far.
  std::size_t SharedLength(const Entry* first, std::size_t n, std::size_t offset) const;
  // How many of the first `limit` bytes of `a` and `b` agree after the fold.
  std::size_t AgreeingBytes(const unsigned char* a, const unsigned char* b,
                            std::size_t limit) const;

  std::uint64_t KeyAt(const StringC& s, std::size_t offset) const {
    const unsigned char* text = Bytes(s);
    const std::size_t left = s.length() - offset;
    const std::size_t take = left < kKeyBytes ? left : kKeyBytes;
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < kKeyBytes; ++i) {
      key <<= 8;
      if (i < take) key |= lower[text[offset + i]] ^ 0x80u;
    }
    return (key << 8) | (left > kKeyBytes ? kMore : take);
  }

  // Orders the texts of `a` and `b` from `offset` on; the bytes before are equal.
  StrCompValE CompareFrom(const Entry& a, const Entry& b, std::size_t offset) const {
    const StringC& s = a.String();
    const StringC& t = b.String();
    const unsigned int start = static_cast<unsigned int>(offset);
    return CompareOther(static_cast<char*>(s) + start, s.length() - start,
                        static_cast<char*>(t) + start, t.length() - start, mode);
  }

  // Strict order of two entries whose keys hold the bytes before `next`.
  bool Less(const Entry& a, const Entry& b, std::size_t next) const {
    if (a.key != b.key) return a.key < b.key;
    return GoesOn(a.key) && CompareFrom(a, b, next) == StrCompLess;
  }
  bool Same(const Entry& a, const Entry& b, std::size_t next) const {
    return a.key == b.key && (!GoesOn(a.key) || CompareFrom(a, b, next) == StrCompEqual);
  }

  // Finishes a range by comparisons: insertion sort for a short one, or
  // std::sort when partitioning keeps going badly; then flags the runs.
  void SortByComparison(Entry* first, std::size_t n, std::size_t next) const;
  // Flags a sorted range whose entries all hold equal texts.
  void MarkEqualRun(Entry* first, std::size_t n) const {
    if (!markRuns) return;
    first[0].key = 0;
    for (std::size_t i = 1; i < n; ++i) first[i].key = 1;
  }

  const StrCompModE mode;
  const bool markRuns;
  unsigned char lower[256];
};

void Sorter::SortByComparison(Entry* first, std::size_t n, std::size_t next) const {
  if (n == 0) return;
  const auto less = [this, next](const Entry& a, const Entry& b) { return Less(a, b, next); };
  if (n <= kInsertionLimit) {
    for (std::size_t i = 1; i < n; ++i) {
      if (!less(first[i], first[i - 1])) continue;
      const Entry held = first[i];
      std::size_t j = i;
      do {
        first[j] = first[j - 1];
      } while (--j > 0 && less(held, first[j - 1]));
      first[j] = held;
    }
  } else {
    std::sort(first, first + n, less);
  }
  if (!markRuns) return;
  // From the end down, so that both keys of each pair are still intact.
  for (std::size_t i = n; i-- > 1;) first[i].key = Same(first[i - 1], first[i], next) ? 1 : 0;
  first[0].key = 0;
}

std::size_t Sorter::AgreeingBytes(const unsigned char* a, const unsigned char* b,
                                  std::size_t limit) const {
  std::size_t i = 0;
  while (i < limit) {
    if (limit - i >= sizeof(std::uint64_t)) {
      std::uint64_t x;
      std::uint64_t y;
      std::memcpy(&x, a + i, sizeof x);
      std::memcpy(&y, b + i, sizeof y);
      if (x == y) {
        i += sizeof x;
        continue;
      }
      if (mode != StrCompNoCase) return i + FirstNonzeroByte(x ^ y);
    }
    // Without case, bytes that differ may still agree once lowered.
    if (lower[a[i]] != lower[b[i]]) return i;
    ++i;
  }
  return i;
}

std::size_t Sorter::SharedLength(const Entry* first, std::size_t n, std::size_t offset) const {
  const StringC& head = first[0].String();
  const unsigned char* const headBytes = Bytes(head) + offset;
  std::size_t shared = head.length() - offset;
  for (std::size_t i = 1; i < n && shared != 0; ++i) {
    const StringC& s = first[i].String();
    const std::size_t left = s.length() - offset;
    shared = AgreeingBytes(headBytes, Bytes(s) + offset, left < shared ? left : shared);
  }
  return shared;
}

// The median of three keys.
inline std::uint64_t Median(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
  if (a < b) return b < c ? b : (a < c ? c : a);
  return a < c ? a : (b < c ? c : b);
}

std::uint64_t PivotKey(const Entry* first, std::size_t n) {
  const std::size_t mid = n / 2;
  const std::size_t last = n - 1;
  if (n < 128) return Median(first[0].key, first[mid].key, first[last].key);
  const std::size_t step = n / 8;
  return Median(Median(first[0].key, first[step].key, first[2 * step].key),
                Median(first[mid - step].key, first[mid].key, first[mid + step].key),
                Median(first[last - 2 * step].key, first[last - step].key, first[last].key));
}

// Three-way partition of [first, first + n) around `pivot`: afterwards the
// first `below` entries have smaller keys, the last `above` larger ones, and
// those between equal keys. Equal keys met on the way are parked at the two
// ends and swapped into the middle at the close.
void Partition(Entry* first, std::size_t n, std::uint64_t pivot, std::size_t& below,
               std::size_t& above) {
  std::ptrdiff_t a = 0;
  std::ptrdiff_t b = 0;
  std::ptrdiff_t c = static_cast<std::ptrdiff_t>(n) - 1;
  std::ptrdiff_t d = c;
  for (;;) {
    while (b <= c && first[b].key <= pivot) {
      if (first[b].key == pivot) {
        if (a != b) std::swap(first[a], first[b]);
        ++a;
      }
      ++b;
    }
    while (b <= c && first[c].key >= pivot) {
      if (first[c].key == pivot) {
        if (c != d) std::swap(first[c], first[d]);
        --d;
      }
      --c;
    }
    if (b > c) break;
    std::swap(first[b++], first[c--]);
  }
  const std::ptrdiff_t end = static_cast<std::ptrdiff_t>(n);
  std::ptrdiff_t s = std::min(a, b - a);
  std::swap_ranges(first, first + s, first + b - s);
  s = std::min(d - c, end - 1 - d);
  std::swap_ranges(first + b, first + b + s, first + end - s);
  below = static_cast<std::size_t>(b - a);
  above = static_cast<std::size_t>(d - c);
}

std::size_t Log2(std::size_t n) {
  std::size_t log = 0;
  while (n > 1) n >>= 1, ++log;
  return log;
}

void Sorter::Sort(Entry* first, std::size_t n, std::size_t offset) const {
  // Each pass partitions one range, sorts the two smaller parts by recursion
  // and goes on with the largest, so the recursion is at most log2(n) deep.
  std::size_t badPartitions = Log2(n) + 1;
  for (;;) {
    const std::size_t next = offset + kKeyBytes;
    if (n <= kInsertionLimit || badPartitions == 0) {
      SortByComparison(first, n, next);
      return;
    }
    const std::uint64_t pivot = PivotKey(first, n);
    std::size_t below;
    std::size_t above;
    Partition(first, n, pivot, below, above);
    Entry* const equal = first + below;
    const std::size_t equalCount = n - below - above;
    Entry* const greater = equal + equalCount;
    const bool equalGoesOn = GoesOn(pivot);
    // All keys equal: the keys go on where the texts first part.
    const std::size_t equalOffset =
        equalGoesOn && equalCount == n ? next + SharedLength(first, n, next) : next;
    if (equalGoesOn) {
      SetKeys(equal, equalCount, equalOffset);
    } else {
      MarkEqualRun(equal, equalCount);
    }
    // Go on with the largest part that needs work; recurse into the others.
    const std::size_t equalWork = equalGoesOn ? equalCount : 0;
    if (equalWork != 0 && equalWork >= below && equalWork >= above) {
      Sort(first, below, offset);
      Sort(greater, above, offset);
      first = equal;
      n = equalCount;
      offset = equalOffset;
      badPartitions = Log2(n) + 1;
      continue;
    }
    if (equalWork != 0) Sort(equal, equalCount, equalOffset);
    if (below == 0 && above == 0) return;
    // A part that keeps almost all of the range is a poor split; too many of
    // them in a row hand the range to std::sort, whose time is bounded.
    if (below >= above) {
      Sort(greater, above, offset);
      if (below > n - n / 8) --badPartitions;
      n = below;
    } else {
      Sort(first, below, offset);
      if (above > n - n / 8) --badPartitions;
      first = greater;
      n = above;
    }
  }
}

// The fallback without a key table: sorts the records by Compare, then keeps
// the first of each run of equal neighbours, swapping the kept ones down.
int SortByCompare(StringC* data, int count, StrCompModE mode, bool unique) noexcept {
  struct Record {
    alignas(StringC) unsigned char bytes[sizeof(StringC)];
    const StringC& String() const { return *reinterpret_cast<const StringC*>(bytes); }
  };
  Record* first = reinterpret_cast<Record*>(data);
  std::sort(first, first + count, [mode](const Record& a, const Record& b) {
    return a.String().Compare(b.String(), mode) == StrCompLess;
  });
  if (!unique) return count;
  int kept = 0;
  for (int i = 1; i < count; ++i) {
    if (data[kept].Compare(data[i], mode) != StrCompEqual) {
      ++kept;
      if (kept != i) SwapRecords(data + kept, data + i);
    }
  }
  return kept + 1;
}

}  // namespace

int SortStrings(StringC* data, int count, StrCompModE mode, bool unique) noexcept {
  if (count < 2) return count;
  const std::size_t n = static_cast<std::size_t>(count);
  for (std::size_t i = 0; i < n; ++i) {
    // Raw storage without a buffer sorts before everything; leave it to Compare.
    if (data[i].view().data() == nullptr) return SortByCompare(data, count, mode, unique);
  }
  Entry* entries;
  try {
    entries =
        static_cast<Entry*>(platform::AllocateBytes(platform::CheckedBlockBytes(n, sizeof(Entry))));
  } catch (const std::bad_alloc&) {
    return SortByCompare(data, count, mode, unique);
  }
  for (std::size_t i = 0; i < n; ++i) {
    std::memcpy(entries[i].record, static_cast<const void*>(data + i), sizeof(StringC));
  }
  const Sorter sorter(mode, unique);
  sorter.SetKeys(entries, n, 0);
  sorter.Sort(entries, n, 0);
  // The first of each run to the front, in order; the repeats after them.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (!unique || entries[i].key == 0) {
      std::memcpy(static_cast<void*>(data + kept++), entries[i].record, sizeof(StringC));
    }
  }
  if (unique) {
    std::size_t repeat = kept;
    for (std::size_t i = 0; i < n; ++i) {
      if (entries[i].key != 0) {
        std::memcpy(static_cast<void*>(data + repeat++), entries[i].record, sizeof(StringC));
      }
    }
  }
  platform::ReleaseBytes(entries);
  return static_cast<int>(kept);
}

}  // namespace quarn::detail
