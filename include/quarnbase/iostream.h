//===- quarnbase/iostream.h - Stream output of strings ----------*- C++ -*-===//
/// \file
/// Writing a StringC to a std::ostream. A header of its own, so that the
/// other headers (and the umbrella quarnbase.h) do not pull in `<ostream>`.
/// Without it, `out << s` still compiles, through `operator char*`, and
/// writes only the C text, up to the first zero byte. Needs C++17.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_IOSTREAM_H
#define QUARNBASE_IOSTREAM_H

#include <quarnbase/StringC.h>

#include <ostream>

/// Writes all length() bytes of `text`, zero bytes included, as formatted
/// output: the stream's width, fill and adjustment apply as for std::string.
inline std::ostream& operator<<(std::ostream& out, const StringC& text) {
  return out << text.view();
}

#endif  // QUARNBASE_IOSTREAM_H
