// AbiCheck.cpp - uses quarnbase.dll and basesup.dll, built with the MSVC ABI,
// from a program built the same way, as a module of the application would:
// the classes through their exported members, std::bad_alloc thrown in the DLL
// and caught here, the allocation-failure hook with its 1001 recoveries, and
// the diagnostics, which the DLL writes to the process's one standard error
// (the test compares it with expected-stderr.txt). Prints "N passed, N failed".
//
// Allocation failures are injected, and the C runtime's handler slot is stood
// in for, by rebinding quarnbase.dll's imports of malloc, _set_new_handler,
// _callnewh (ucrtbase.dll) and std::set_new_handler (msvcp140.dll) to the
// functions below, which behave as the MSVC runtime's do. The stand-ins are
// needed under Wine 8, whose ucrtbase _set_new_handler clears the handler
// instead of setting it; the DLL itself is the one that ships.
#include <quarnbase/quarnbase.h>
#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const char* what, int line) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("AbiCheck.cpp:%d: check failed: %s\n", line, what);
  }
}
#define CHECK(cond) Check((cond), #cond, __LINE__)

// ---------------------------------------------------------------------------
// The runtime as quarnbase.dll sees it.

_PNH crtHandler = nullptr;              // the C runtime's sized handler
std::new_handler stdHandler = nullptr;  // std::set_new_handler's
int mallocFailures = 0;                 // quarnbase.dll's next requests that fail; -1: all

_PNH __cdecl SetCrtHandler(_PNH handler) {
  const _PNH previous = crtHandler;
  crtHandler = handler;
  return previous;
}

int __cdecl CallCrtHandler(size_t size) {
  const _PNH handler = crtHandler;
  return handler != nullptr && handler(size) != 0 ? 1 : 0;
}

int __cdecl CallStdHandler(size_t) {
  stdHandler();
  return 1;
}

// As msvcp140's: the C runtime's slot forwards to the handler, or is cleared.
std::new_handler __cdecl SetStdHandler(std::new_handler handler) noexcept {
  const std::new_handler previous = stdHandler;
  stdHandler = handler;
  SetCrtHandler(handler != nullptr ? &CallStdHandler : nullptr);
  return previous;
}

void* __cdecl InjectingMalloc(size_t size) {
  if (mallocFailures == 0) return std::malloc(size);
  if (mallocFailures > 0) --mallocFailures;
  return nullptr;
}

// Points `module`'s import of `name` from `dll` at `replacement`; returns
// whether the module imports it.
bool Rebind(HMODULE module, const char* dll, const char* name, void* replacement) {
  const auto base = reinterpret_cast<BYTE*>(module);
  const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const DWORD imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); d->Name != 0;
       ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
    auto names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto byName =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

void StandInForRuntime() {
  const HMODULE dll = GetModuleHandleA("quarnbase.dll");
  CHECK(dll != nullptr);
  CHECK(Rebind(dll, "ucrtbase.dll", "malloc", reinterpret_cast<void*>(&InjectingMalloc)));
  CHECK(Rebind(dll, "ucrtbase.dll", "_set_new_handler", reinterpret_cast<void*>(&SetCrtHandler)));
  CHECK(Rebind(dll, "ucrtbase.dll", "_callnewh", reinterpret_cast<void*>(&CallCrtHandler)));
  CHECK(Rebind(dll, "msvcp140.dll", "?set_new_handler@std@@YAP6AXXZP6AXXZ@Z",
               reinterpret_cast<void*>(&SetStdHandler)));
}

// ---------------------------------------------------------------------------
// Each class family through its exported interface.

void Strings() {
  const StringC formatted(32, "%s-%03d", "trace", 7);
  CHECK(formatted == "trace-007");
  CHECK(StringC("Alpha").Compare(StringC("aLPHA"), StrCompNoCase) == StrCompEqual);
  CHECK(StringC("Alpha").Compare(StringC("aLPHA"), StrCompExact) == StrCompLess);
  CHECK(StringC("Alpha").CompareNoCase("aLPHA") == 0 && StringC("b").CompareNoCase("A") > 0);
  StringC text = StringC("ab") + "cd" + 'e';
  text.MakeUpper();
  CHECK(text == "ABCDE" && text.length() == 5 && text.size() == 6);
  CHECK(text.Find("CD") == 2 && text.Mid(1, 3) == "BCD");
  StringC name("test_parse.cpp");
  StringC pattern("test_*.c?p");
  CHECK(name.IsMetaMatch(pattern) == 1);
  CHECK(StringC("*").MetaCompare(pattern) == StrCompGreater);
  CHECK(static_cast<char*>(StringC()) == static_cast<char*>(StringC::emptyPrototype));
}

// Where the fast paths of the comparisons take over from plain code: the first
// difference at every position of texts up to 300 bytes (the inline Compare's
// words here; the DLL's words, SSE2 and AVX2 blocks), and meta patterns whose
// column sets span several 64-bit words.
void Comparisons() {
  int wrong = 0;
  for (int length = 1; length <= 300; length += length < 140 ? 1 : 53) {
    const StringC same('q', length);
    if (same.Compare(StringC('q', length), StrCompExact) != StrCompEqual) ++wrong;
    if (same.Compare(StringC('q', length + 1), StrCompExact) != StrCompLess) ++wrong;
    for (int at = 0; at < length; ++at) {
      const StringC low = same;
      const StringC high = same;
      low.SetAt(at, '\x90');  // negative as a signed byte
      high.SetAt(at, '\x10');
      if (at + 1 < length) low.SetAt(at + 1, 'z');  // later bytes must not matter
      if (low.Compare(high, StrCompExact) != StrCompLess) ++wrong;
      if (high.Compare(low, StrCompExact) != StrCompGreater) ++wrong;
      if (!(low < high) || low == high || !(high > static_cast<const char*>(low))) ++wrong;
    }
  }
  CHECK(wrong == 0);
  StringC wider = StringC('?', 100) + "*";
  StringC narrower('?', 100);
  CHECK(wider.MetaCompare(narrower) == StrCompGreater);
  CHECK(narrower.MetaCompare(wider) == StrCompLess);
  // The queries of a const string and a C text on the left: inline templates
  // over the exported members, which the DLL neither exports nor needs to.
  const StringC& view = narrower;
  char apple[] = "apple";
  CHECK(view.MetaCompare(wider) == StrCompLess && view.IsMetaMatch(wider) == 1 &&
        view.parse("?").GetSize() == 0);
  CHECK(apple == StringC("apple") && StringC("apple") == apple && "apple" < StringC("pear"));
}

void StringArrays() {
  StringAC fruit = StringC("pear,apple,,pear").parse(",");
  CHECK(fruit.GetSize() == 3);
  fruit.sort(1, 0);
  CHECK(fruit.GetSize() == 2 && fruit.GetAt(0) == "apple" && fruit.GetAt(1) == "pear");
  CHECK(fruit.index("pear", 0) == 1);
}

void ScalarArrays() {
  DblArrayC doubles;
  doubles.Add(1.5);
  doubles.InsertAt(0, -2.0, 2);
  CHECK(doubles.GetSize() == 3 && doubles[0] == -2.0 && doubles[2] == 1.5);
  PtrArrayC pointers;
  pointers.SetAtGrow(2, &doubles);
  CHECK(pointers.GetSize() == 3 && pointers[0] == nullptr && pointers[2] == &doubles);
  UIntArrayC numbers;
  numbers.SetSize(4, 8);
  numbers.RemoveAt(1, 2);
  CHECK(numbers.GetSize() == 2 && numbers.GetAt(1) == 0u);
}

void Lists() {
  int a = 0, b = 0;
  PtrListC list(2);
  list.AddTail(&b);
  POSITION first = list.AddHead(&a);
  CHECK(list.GetCount() == 2 && list.GetNext(first) == &a && list.GetAt(first) == &b);
}

// ---------------------------------------------------------------------------
// std::bad_alloc raised in the DLL reaches this module's handlers.

void Exceptions() {
  bool caught = false;
  try {
    StringC s;
    s.GetBuffer(UINT_MAX);  // a size the library refuses before allocating
  } catch (const std::bad_alloc& e) {
    caught = std::strcmp(e.what(), "bad allocation") == 0;
  }
  CHECK(caught);

  caught = false;
  mallocFailures = 1;  // the DLL's operator new fails; no handler is installed
  try {
    StringC s("text");
  } catch (const std::exception& e) {
    caught = std::strcmp(e.what(), "bad allocation") == 0;
  }
  CHECK(caught && mallocFailures == 0);
}

// ---------------------------------------------------------------------------
// The allocation-failure hook.

int recoveries = 0;
unsigned int recoveredSize = 0;  // the size of every recovery, or UINT_MAX if they differed
unsigned int recoveredArg = 0;
int recoveryAnswer = 1;

int Recover(unsigned int size, unsigned int arg) {
  recoveredSize = recoveries++ == 0 || recoveredSize == size ? size : UINT_MAX;
  recoveredArg = arg;
  if (mallocFailures > 0) mallocFailures = 0;  // reclaimed: the retry succeeds
  return recoveryAnswer;
}

// Makes a string whose text takes 100 bytes; returns whether it succeeded.
bool Allocate() {
  try {
    StringC s('x', 99);
    return s.length() == 99;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void RecoveryHook() {
  int (*slot)(unsigned int, unsigned int) = &Recover;
  unsigned int arg = 7;

  CHECK(quarn_mem_recover_func_cxx(&slot, &arg) == 1 && crtHandler != nullptr);
  mallocFailures = 1;
  CHECK(Allocate());
  CHECK(recoveries == 1 && recoveredSize == 100 && recoveredArg == 7);

  // While recoveries succeed and memory stays short: 1001, then the handler
  // removes itself and the allocation fails.
  recoveries = 0;
  mallocFailures = -1;
  CHECK(quarn_mem_recover_func_cxx(&slot, &arg) == 1);
  CHECK(!Allocate());
  CHECK(recoveries == 1001 && recoveredSize == 100 && crtHandler == nullptr);

  // A recovery that reclaims nothing fails the allocation; the handler stays.
  recoveries = 0;
  recoveryAnswer = 0;
  CHECK(quarn_mem_recover_func_cxx(&slot, &arg) == 1);
  CHECK(!Allocate());
  CHECK(recoveries == 1 && crtHandler != nullptr);
  mallocFailures = 0;
  recoveryAnswer = 1;

  // A null slot, or a slot holding null, removes the handler.
  CHECK(quarn_mem_recover_func_cxx(nullptr, &arg) == 0 && crtHandler == nullptr);
  CHECK(quarn_mem_recover_func_cxx(&slot, &arg) == 1 && crtHandler != nullptr);
  slot = nullptr;
  CHECK(quarn_mem_recover_func_cxx(&slot, &arg) == 0 && crtHandler == nullptr);
}

// ---------------------------------------------------------------------------
// Diagnostics, each followed by a line break from this module.

void Diagnostics() {
  StringAC bad(-3);
  std::fputs("\n", stderr);
  StringAC pair;
  pair.Add("a");
  pair.Add("b");
  CHECK(pair.GetAt(5) == "");
  std::fputs("\n", stderr);
  pair.ElementAt(-1) = "scratch";
  std::fputs("\n", stderr);
  CHECK(pair.ElementAt(-1) == "");
  std::fputs("\n", stderr);
  pair.dump(0, -1);
}

}  // namespace

int main() {
  StandInForRuntime();
  Strings();
  Comparisons();
  StringArrays();
  ScalarArrays();
  Lists();
  Exceptions();
  RecoveryHook();
  Diagnostics();
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
