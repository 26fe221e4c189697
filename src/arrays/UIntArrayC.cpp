// UIntArrayC: the unsigned int member of the scalar arrays, a shell over ScalarArrayCore.
#include <quarnbase/ScalarArrays.h>

#include "ScalarArrayCore.h"

namespace {
using Core = quarn::detail::ScalarArrayCore<UIntArrayC>;
}  // namespace

UIntArrayC::UIntArrayC(const UIntArrayC& other) : UIntArrayC() {
  Core::CopyConstruct(*this, other);
}

UIntArrayC& UIntArrayC::operator=(const UIntArrayC& other) {
  Core::Assign(*this, other);
  return *this;
}

UIntArrayC::~UIntArrayC() { Core::Release(*this); }

void UIntArrayC::SetSize(int newSize, int newGrowBy) { Core::SetSize(*this, newSize, newGrowBy); }

void UIntArrayC::FreeExtra() { Core::FreeExtra(*this); }

void UIntArrayC::RemoveAll() { Core::Release(*this); }

void UIntArrayC::SetAtGrow(int index, unsigned int value) { Core::SetAtGrow(*this, index, value); }

int UIntArrayC::AddGrowing(unsigned int value) { return Core::AddGrowing(*this, value); }

void UIntArrayC::InsertAt(int index, unsigned int value, int count) {
  Core::InsertAt(*this, index, value, count);
}

void UIntArrayC::RemoveAt(int index, int count) { Core::RemoveAt(*this, index, count); }

void UIntArrayC::InsertAt(int startIndex, const UIntArrayC* other) {
  Core::InsertArray(*this, startIndex, other);
}
