//===- quarnbase/PtrListC.h - Block allocator and pointer list --*- C++ -*-===//
#ifndef QUARNBASE_PTRLISTC_H
#define QUARNBASE_PTRLISTC_H

#include <quarnbase/quarnbase_export.h>

#endif  // QUARNBASE_PTRLISTC_H
