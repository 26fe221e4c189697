// DblArrayC: the double member of the scalar arrays, a shell over ScalarArrayCore.
#include <quarnbase/ScalarArrays.h>

#include "ScalarArrayCore.h"

namespace {
using Core = quarn::detail::ScalarArrayCore<DblArrayC>;
}  // namespace

DblArrayC::DblArrayC(const DblArrayC& other) : DblArrayC() { Core::CopyConstruct(*this, other); }

DblArrayC& DblArrayC::operator=(const DblArrayC& other) {
  Core::Assign(*this, other);
  return *this;
}

DblArrayC::~DblArrayC() { Core::Release(*this); }

void DblArrayC::SetSize(int newSize, int newGrowBy) { Core::SetSize(*this, newSize, newGrowBy); }

void DblArrayC::FreeExtra() { Core::FreeExtra(*this); }

void DblArrayC::RemoveAll() { Core::Release(*this); }

void DblArrayC::SetAtGrow(int index, double value) { Core::SetAtGrow(*this, index, value); }

int DblArrayC::AddGrowing(double value) { return Core::AddGrowing(*this, value); }

void DblArrayC::InsertAt(int index, double value, int count) {
  Core::InsertAt(*this, index, value, count);
}

void DblArrayC::RemoveAt(int index, int count) { Core::RemoveAt(*this, index, count); }

void DblArrayC::InsertAt(int startIndex, const DblArrayC* other) {
  Core::InsertArray(*this, startIndex, other);
}
