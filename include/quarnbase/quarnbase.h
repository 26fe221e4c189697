//===- quarnbase/quarnbase.h - All of quarnbase -----------------*- C++ -*-===//
/// \file
/// Umbrella header: strings, string arrays, scalar arrays, pointer lists, the
/// out-of-memory recovery hook and the version of the library.
//===----------------------------------------------------------------------===//
#ifndef QUARNBASE_QUARNBASE_H
#define QUARNBASE_QUARNBASE_H

#include <quarnbase/MemRecover.h>
#include <quarnbase/PtrListC.h>
#include <quarnbase/ScalarArrays.h>
#include <quarnbase/StringAC.h>
#include <quarnbase/StringC.h>
#include <quarnbase/version.h>

#endif  // QUARNBASE_QUARNBASE_H
