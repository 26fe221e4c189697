// StringAC lookup, sorting and diagnostic dumps.
#include <quarnbase/StringAC.h>

#include <cstdio>

#include "Allocation.h"
#include "Checked.h"
#include "Records.h"
#include "StringSort.h"

namespace {

// Case mode of the latest sort on this thread (nonzero: ignore case). Being
// per thread, concurrent sorts on different threads keep their own modes.
thread_local int sortCaseMode = 0;

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
  truncate(quarn::detail::SortStrings(data, elementCount, mode, unique != 0));
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
