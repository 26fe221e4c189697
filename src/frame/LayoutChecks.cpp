// Compile-time checks of the record sizes of the exported classes. Clients
// embed these objects by value and the string array copies StringC records bit
// for bit, so the sizes are part of the binary interface: a field added,
// removed or widened must fail the build here rather than break clients.
// Nothing in this file generates code.
#include <quarnbase/PtrListC.h>
#include <quarnbase/ScalarArrays.h>
#include <quarnbase/StringAC.h>
#include <quarnbase/StringC.h>

namespace {

// 32-bit targets (the DLL's home): 4-byte pointers, ints and lengths, no padding.
constexpr bool kIlp32 = sizeof(void*) == 4;
static_assert(!kIlp32 || sizeof(StringC) == 12, "StringC: allocLength, dataLength, buffer");
static_assert(!kIlp32 || sizeof(StringAC) == 16, "StringAC: data, elementCount, maxSize, growBy");
static_assert(!kIlp32 || sizeof(DblArrayC) == 16, "DblArrayC: data, elementCount, maxSize, growBy");
static_assert(!kIlp32 || sizeof(PtrArrayC) == 16, "PtrArrayC: data, elementCount, maxSize, growBy");
static_assert(!kIlp32 || sizeof(UIntArrayC) == 16,
              "UIntArrayC: data, elementCount, maxSize, growBy");
static_assert(!kIlp32 || sizeof(PtrListC) == 24,
              "PtrListC: head, tail, count, freeList, blocks, blockSize");
static_assert(!kIlp32 || sizeof(PlexC) == 12, "PlexC header: next, capacity, reserved");
static_assert(!kIlp32 || sizeof(PtrListC::CNode) == 12, "CNode: next, prev, data");

// 64-bit targets (Linux and 64-bit Windows alike: 8-byte pointers, 4-byte ints),
// padding included.
constexpr bool kPtr64 = sizeof(void*) == 8 && sizeof(int) == 4;
static_assert(!kPtr64 || sizeof(StringC) == 16, "StringC: allocLength, dataLength, buffer");
static_assert(!kPtr64 || sizeof(StringAC) == 24, "StringAC: data, elementCount, maxSize, growBy");
static_assert(!kPtr64 || sizeof(DblArrayC) == 24, "DblArrayC: data, elementCount, maxSize, growBy");
static_assert(!kPtr64 || sizeof(PtrArrayC) == 24, "PtrArrayC: data, elementCount, maxSize, growBy");
static_assert(!kPtr64 || sizeof(UIntArrayC) == 24,
              "UIntArrayC: data, elementCount, maxSize, growBy");
static_assert(!kPtr64 || sizeof(PtrListC) == 48,
              "PtrListC: head, tail, count, freeList, blocks, blockSize");
static_assert(!kPtr64 || sizeof(PlexC) == 16, "PlexC header: next, capacity, reserved");
static_assert(!kPtr64 || sizeof(PtrListC::CNode) == 24, "CNode: next, prev, data");

}  // namespace
