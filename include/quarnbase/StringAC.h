//===- quarnbase/StringAC.h - Growable array of strings ---------*- C++ -*-===//
#ifndef QUARNBASE_STRINGAC_H
#define QUARNBASE_STRINGAC_H

#include <quarnbase/StringC.h>

#endif  // QUARNBASE_STRINGAC_H
