// StringSort.h - the ordering behind StringAC::sort.
#ifndef QUARNBASE_SRC_STRINGARRAY_STRINGSORT_H
#define QUARNBASE_SRC_STRINGARRAY_STRINGSORT_H

#include <quarnbase/StringC.h>

namespace quarn::detail {

/// Sorts the `count` records at `data` ascending by StringC::Compare in `mode`,
/// moving records only (no text is copied, nothing is allocated for texts).
/// With `unique`, the first of each run of equal records comes to the front
/// and the others follow it, in no particular order; returns the number of
/// those first records (`count` without `unique`). Never fails: without
/// memory for its key table it sorts the records by comparison instead.
int SortStrings(StringC* data, int count, StrCompModE mode, bool unique) noexcept;

}  // namespace quarn::detail

#endif  // QUARNBASE_SRC_STRINGARRAY_STRINGSORT_H
