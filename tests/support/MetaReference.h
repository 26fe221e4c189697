// MetaReference.h - a plain, recursive model of meta-pattern matching and
// comparison, used to check the library's fast versions.
//
// The model follows the algorithms step by step: it copies each pattern into a
// normalised scratch string, then matches or compares by depth-first recursion
// over NUL-terminated text. It takes exponential time in the number of stars and
// recursion as deep as its inputs are long, so keep its inputs short (a few
// stars, a few dozen characters). std::string arguments may hold zero bytes;
// the routines stop at the first one, as the library does.
#ifndef QUARNBASE_TESTS_SUPPORT_METAREFERENCE_H
#define QUARNBASE_TESTS_SUPPORT_METAREFERENCE_H

#include <quarnbase/StringC.h>

#include <string>

namespace quarn::reference {

/// Copies `source` into `scratch`, collapsing every run of unescaped stars into
/// one. Returns 0 (leaving `scratch` alone) when `source` is empty, else 1.
int NormalizeMetaPattern(const std::string& source, std::string& scratch);

/// Whether the NUL-terminated `text` matches the normalised `pattern` (1 or 0).
int MatchMetaPattern(const char* text, const char* pattern);

/// Records that the side `wider` (StrCompGreater: first pattern, StrCompLess:
/// second) was found wider. Returns false when `direction` already holds the
/// opposite side, which ends the comparison in progress with StrCompUnrelated.
bool RecordMetaDirection(StrCompValE& direction, StrCompValE wider);

/// Merges the results of two alternative alignments.
StrCompValE CombineMetaResults(StrCompValE x, StrCompValE y);

/// Exchanges StrCompGreater and StrCompLess; other values stay.
StrCompValE ReverseMetaResult(StrCompValE result);

/// Compares two NUL-terminated normalised patterns from the given direction.
StrCompValE CompareMetaPatterns(const char* first, const char* second, StrCompValE direction);

/// StringC::IsMetaMatch on plain strings: `text` against `pattern`.
int IsMetaMatch(const std::string& text, const std::string& pattern);

/// StringC::MetaCompare on plain strings: `first` compared with `second`.
StrCompValE MetaCompare(const std::string& first, const std::string& second);

}  // namespace quarn::reference

#endif  // QUARNBASE_TESTS_SUPPORT_METAREFERENCE_H
