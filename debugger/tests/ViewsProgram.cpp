// ViewsProgram.cpp - the program the debugger view checks stop in.
//
// main builds one value of each class, a zero-filled string and records that
// break their invariants, then calls DebuggerStop, where the checks stop and
// print main's locals (views-gdb.txt, views-lldb.txt). The broken records are
// mirrors of the layouts filled by hand and looked at through a pointer of
// the class type; nothing but the debugger reads them. The element pointers
// are small fixed numbers, so that the expected views name them.
#include <quarnbase/quarnbase.h>

#include <cstring>

#include "ObjectLayout.h"

namespace {

/// The StringC record: allocLength, dataLength, buffer.
struct StringFields {
  unsigned int allocLength;
  unsigned int dataLength;
  const char* buffer;
};

/// The PtrListC record: head, tail, count, freeList, blocks, blockSize.
struct ListFields {
  PtrListC::CNode* head;
  PtrListC::CNode* tail;
  int count;
  PtrListC::CNode* freeList;
  PlexC* blocks;
  int blockSize;
};
static_assert(sizeof(StringFields) == sizeof(StringC) && sizeof(ListFields) == sizeof(PtrListC),
              "the mirrors have the records' layouts");

void* Pointer(unsigned long value) { return reinterpret_cast<void*>(value); }

/// The record of `record`, copied into its mirror.
template <class Fields, class T>
Fields MirrorOf(const T& record) {
  Fields fields;
  std::memcpy(&fields, static_cast<const void*>(&record), sizeof fields);
  return fields;
}

/// The mirror `fields` seen as a record of class `T`.
template <class T, class Fields>
const T* As(const Fields& fields) {
  return reinterpret_cast<const T*>(&fields);
}

/// Where the checks stop; main's frame holds every view.
[[gnu::noinline]] void DebuggerStop() { asm volatile("" ::: "memory"); }

}  // namespace

int main() {
  StringC text("hello, world");
  StringC spare("a longer text");
  spare = "short";
  StringC bytes("a\tb\0c\xff", 6);
  StringC empty;
  StringAC names;
  names.Add("one");
  names.Add("two");
  names.Add("three");
  DblArrayC doubles;
  doubles.Add(1.5);
  doubles.Add(-0.25);
  UIntArrayC uints;
  uints.Add(7);
  uints.Add(4000000000u);
  PtrArrayC pointers;
  pointers.Add(Pointer(0x1001));
  pointers.Add(nullptr);
  PtrListC list;
  list.AddTail(Pointer(0x2001));
  list.AddTail(Pointer(0x2002));
  list.AddTail(nullptr);
  PtrListC emptyList;

  const StringFields zeroFields{};
  const StringC* zeroFilled = As<StringC>(zeroFields);
  const StringFields overlongFields{4, 9, MirrorOf<StringFields>(text).buffer};
  const StringC* overlong = As<StringC>(overlongFields);
  const StringFields unreadableFields{8, 5, static_cast<const char*>(Pointer(0x10))};
  const StringC* unreadable = As<StringC>(unreadableFields);
  const StringFields noBufferFields{3, 0, nullptr};
  const StringC* noBuffer = As<StringC>(noBufferFields);

  StringC* const nameBlock = quarn::test::FieldsOf(names).data;
  const quarn::test::ArrayFields<StringC> overfullFields{nameBlock, 5, 2, 0};
  const StringAC* overfull = As<StringAC>(overfullFields);
  const quarn::test::ArrayFields<StringC> absurdFields{nameBlock, 100000000, 100000000, 0};
  const StringAC* absurd = As<StringAC>(absurdFields);
  double* const doubleBlock = quarn::test::FieldsOf(doubles).data;
  const quarn::test::ArrayFields<double> negativeFields{doubleBlock, -1, 2, 0};
  const DblArrayC* negative = As<DblArrayC>(negativeFields);
  const quarn::test::ArrayFields<unsigned int> blocklessFields{nullptr, 0, 4, 0};
  const UIntArrayC* blockless = As<UIntArrayC>(blocklessFields);

  const ListFields listFields = MirrorOf<ListFields>(list);
  ListFields shortChainFields = listFields;
  shortChainFields.count = 5;
  const PtrListC* shortChain = As<PtrListC>(shortChainFields);
  ListFields longChainFields = listFields;
  longChainFields.count = 2;
  const PtrListC* longChain = As<PtrListC>(longChainFields);
  PtrListC::CNode loop[2] = {{&loop[1], nullptr, Pointer(0x3001)},
                             {&loop[0], &loop[0], Pointer(0x3002)}};
  const ListFields loopFields{&loop[0], &loop[1], 4, nullptr, nullptr, 10};
  const PtrListC* looped = As<PtrListC>(loopFields);
  const ListFields headlessFields{nullptr, listFields.tail, 1, nullptr, nullptr, 10};
  const PtrListC* headless = As<PtrListC>(headlessFields);
  PlexC plexLoop[2] = {{&plexLoop[1], 4, 0}, {&plexLoop[0], 6, 0}};

  DebuggerStop();
  // Keeps every local alive up to here.
  const void* const views[] = {&text,      &spare,    &bytes,   &empty,     &names,     &doubles,
                               &uints,     &pointers, &list,    &emptyList, zeroFilled, overlong,
                               unreadable, noBuffer,  overfull, absurd,     negative,   blockless,
                               shortChain, longChain, looped,   headless,   plexLoop};
  return views[0] != nullptr ? 0 : 1;
}
