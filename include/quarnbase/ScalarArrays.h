//===- quarnbase/ScalarArrays.h - Growable arrays of scalars ----*- C++ -*-===//
#ifndef QUARNBASE_SCALARARRAYS_H
#define QUARNBASE_SCALARARRAYS_H

#include <quarnbase/quarnbase_export.h>

#endif  // QUARNBASE_SCALARARRAYS_H
