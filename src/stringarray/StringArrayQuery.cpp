// StringAC lookup, sorting and diagnostic dumps.
#include <quarnbase/StringAC.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "Allocation.h"
#include "Checked.h"
#include "Records.h"

namespace {

// Case mode of the latest sort on this thread (nonzero: ignore case). Being
// per thread, concurrent sorts on different threads keep their own modes.
thread_local int sortCaseMode = 0;

// The string whose record starts at `bytes`.
const StringC& AsString(const unsigned char* bytes) {
  return *reinterpret_cast<const StringC*>(bytes);
}

// A record taken out of the array for sorting, with a key made of its first
// eight bytes (lowered in no-case mode) in big-endian order, each byte biased
// by 0x80 so that unsigned key order is Compare's signed byte order, and
// padded with 0. Keys that differ order their strings as Compare does; equal
// keys leave the decision to Compare. Most comparisons then read no text.
struct SortEntry {
  std::uint64_t key;
  alignas(StringC) unsigned char record[sizeof(StringC)];
};

std::uint64_t SortKey(const StringC& s, StrCompModE mode) {
  const unsigned char* text = reinterpret_cast<const unsigned char*>(static_cast<char*>(s));
  const unsigned int used = s.length() < 8 ? s.length() : 8;
  std::uint64_t key = 0;
  for (unsigned int i = 0; i < 8; ++i) {
    unsigned int byte = 0;
    if (i < used) {
      byte = text[i];
      if (mode == StrCompNoCase) byte = static_cast<unsigned char>(std::tolower(byte));
      byte ^= 0x80u;
    }
    key = (key << 8) | byte;
  }
  return key;
}

// Sorts `count` records ascending by Compare under `mode`, moving records only.
// Sorts keyed copies of the records when there is room for them, else the
// records themselves; allocation failure is never passed on.
void SortRecords(StringC* data, int count, StrCompModE mode) {
  SortEntry* entries = nullptr;
  try {
    entries = static_cast<SortEntry*>(quarn::detail::AllocateBytes(
        quarn::detail::CheckedBlockBytes(static_cast<std::size_t>(count), sizeof(SortEntry))));
  } catch (const std::bad_alloc&) {
    struct Record {
      alignas(StringC) unsigned char bytes[sizeof(StringC)];
    };
    Record* first = reinterpret_cast<Record*>(data);
    std::sort(first, first + count, [mode](const Record& a, const Record& b) {
      return AsString(a.bytes).Compare(AsString(b.bytes), mode) == StrCompLess;
    });
    return;
  }
  for (int i = 0; i < count; ++i) {
    entries[i].key = SortKey(data[i], mode);
    std::memcpy(entries[i].record, static_cast<const void*>(data + i), sizeof(StringC));
  }
  std::sort(entries, entries + count, [mode](const SortEntry& a, const SortEntry& b) {
    if (a.key != b.key) return a.key < b.key;
    return AsString(a.record).Compare(AsString(b.record), mode) == StrCompLess;
  });
  for (int i = 0; i < count; ++i) {
    std::memcpy(static_cast<void*>(data + i), entries[i].record, sizeof(StringC));
  }
  quarn::detail::ReleaseBytes(entries);
}

// The C text a dump prints for an element; "(null)" for raw storage (whose
// view has no data, where the string itself reads as "").
const char* DumpText(const StringC& element) {
  const char* text = element.view().data();
  return text != nullptr ? text : "(null)";
}

}  // namespace

int StringAC::index(const StringC& key, int startIndex) const {
  for (int i = startIndex < 0 ? 0 : startIndex; i < elementCount; ++i) {
    if (data[i].Compare(key, StrCompExact) == StrCompEqual) return i;
  }
  return -1;
}

void StringAC::sort(int unique, int noCase) {
  sortCaseMode = noCase;
  if (elementCount < 2) return;
  const StrCompModE mode = sortCaseMode != 0 ? StrCompNoCase : StrCompExact;
  SortRecords(data, elementCount, mode);
  if (unique == 0) return;

  // Keep the first of each run of equal neighbours. Each kept element is
  // swapped down over a duplicate, so the duplicates gather at the end and no
  // text is copied (nothing here allocates, so nothing can fail half-way).
  int kept = 0;
  for (int i = 1; i < elementCount; ++i) {
    if (data[kept].Compare(data[i], mode) != StrCompEqual) {
      ++kept;
      if (kept != i) quarn::detail::SwapRecords(data + kept, data + i);
    }
  }
  truncate(kept + 1);
}

void StringAC::dump(int first, int last) const {
  if (last < 0) last = elementCount - 1;
  // The range is judged as given; only then is a last past the end clamped,
  // so that nothing past the elements is read.
  if (first >= 0 && last >= 0 && first <= last && last >= elementCount) last = elementCount - 1;
  if (first < 0 || last < 0 || first > last) {
    std::fprintf(stderr, "\n  Bad dump StringAC range: %d - %d\n", first, last);
    return;
  }
  std::fprintf(stderr, "\n  Dump of %d StringCs (%d avail, %d alloc'ed):\n", last - first + 1,
               elementCount, maxSize);
  for (int i = first; i <= last; ++i) {
    std::fprintf(stderr, "    Index: %d   StringC: [%s]\n", i, DumpText(data[i]));
  }
  std::fprintf(stderr, "\n");
}

void StringAC::dump() const {
  if (elementCount > 0) std::fprintf(stderr, "%s", DumpText(data[0]));
}
