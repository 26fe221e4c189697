// PtrArrayC: the pointer member of the scalar arrays, a shell over ScalarArrayCore.
#include <quarnbase/ScalarArrays.h>

#include "ScalarArrayCore.h"

namespace {
using Core = quarn::detail::ScalarArrayCore<PtrArrayC>;
}  // namespace

PtrArrayC::PtrArrayC(const PtrArrayC& other) : PtrArrayC() { Core::CopyConstruct(*this, other); }

PtrArrayC& PtrArrayC::operator=(const PtrArrayC& other) {
  Core::Assign(*this, other);
  return *this;
}

PtrArrayC::~PtrArrayC() { Core::Release(*this); }

void PtrArrayC::SetSize(int newSize, int newGrowBy) { Core::SetSize(*this, newSize, newGrowBy); }

void PtrArrayC::FreeExtra() { Core::FreeExtra(*this); }

void PtrArrayC::RemoveAll() { Core::Release(*this); }

void PtrArrayC::SetAtGrow(int index, void* value) { Core::SetAtGrow(*this, index, value); }

int PtrArrayC::AddGrowing(void* value) { return Core::AddGrowing(*this, value); }

void PtrArrayC::InsertAt(int index, void* value, int count) {
  Core::InsertAt(*this, index, value, count);
}

void PtrArrayC::RemoveAt(int index, int count) { Core::RemoveAt(*this, index, count); }

void PtrArrayC::InsertAt(int startIndex, const PtrArrayC* other) {
  Core::InsertArray(*this, startIndex, other);
}
