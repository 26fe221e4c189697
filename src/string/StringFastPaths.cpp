// The exported definitions of StringC's fast-path members, compiled from the
// same text that clients compile inline (quarnbase/internal/StringFastPaths.h).
// Where the members are inline in the library too (static builds), this file
// adds nothing.
#define QUARNBASE_DEFINE_FAST_PATHS
#include <quarnbase/StringC.h>
