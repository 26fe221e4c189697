// ModuleRuntime.cpp - the part of the MSVC C++ runtime that each module (DLL or
// program) carries inside itself instead of importing it from the runtime DLLs:
// the global allocation operators, thread-safe initialisation of local statics,
// the thread-local storage directory, the bounds of the initializer tables and
// the type_info vtable. Every module built by this toolchain links it.
#include <windows.h>

#include <climits>
#include <new>

#include "StartUp.h"

extern "C" {
__declspec(dllimport) void* __cdecl malloc(size_t size);
__declspec(dllimport) void __cdecl free(void* block);
__declspec(dllimport) void* __cdecl _aligned_malloc(size_t size, size_t alignment);
__declspec(dllimport) void __cdecl _aligned_free(void* block);
__declspec(dllimport) void __cdecl abort();
}

// ---------------------------------------------------------------------------
// Allocation: a failed request runs the C runtime's handler (_callnewh), which
// gets the size and answers retry or fail; fail throws std::bad_alloc.

void* __cdecl operator new(size_t size) {
  for (;;) {
    if (void* block = malloc(size)) return block;
    if (_callnewh(size) == 0) throw std::bad_alloc();
  }
}

void* __cdecl operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

void* __cdecl operator new[](size_t size) { return ::operator new(size); }
void* __cdecl operator new[](size_t size, const std::nothrow_t& tag) noexcept {
  return ::operator new(size, tag);
}
void __cdecl operator delete(void* block) noexcept { free(block); }
void __cdecl operator delete(void* block, const std::nothrow_t&) noexcept { free(block); }
void __cdecl operator delete(void* block, size_t) noexcept { free(block); }
void __cdecl operator delete[](void* block) noexcept { free(block); }
void __cdecl operator delete[](void* block, const std::nothrow_t&) noexcept { free(block); }
void __cdecl operator delete[](void* block, size_t) noexcept { free(block); }

void* __cdecl operator new(size_t size, std::align_val_t align) {
  for (;;) {
    if (void* block = _aligned_malloc(size, static_cast<size_t>(align))) return block;
    if (_callnewh(size) == 0) throw std::bad_alloc();
  }
}
void* __cdecl operator new[](size_t size, std::align_val_t align) {
  return ::operator new(size, align);
}
void __cdecl operator delete(void* block, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete[](void* block, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete(void* block, size_t, std::align_val_t) noexcept {
  _aligned_free(block);
}
void __cdecl operator delete[](void* block, size_t, std::align_val_t) noexcept {
  _aligned_free(block);
}

// ---------------------------------------------------------------------------
// Thread-safe local statics. The compiler guards each one with an int: 0 until
// initialised, -1 while a thread initialises it, then the epoch at which it was
// done. A thread whose own epoch has reached the guard skips the lock.

namespace {
constexpr int kUninitialized = 0;
constexpr int kBeingInitialized = -1;
int globalEpoch = INT_MIN;
SRWLOCK guardLock = SRWLOCK_INIT;
CONDITION_VARIABLE guardChanged = CONDITION_VARIABLE_INIT;
}  // namespace

extern "C" {
thread_local int _Init_thread_epoch = INT_MIN;

// Called when the guard is newer than this thread's epoch: claims the
// initialisation (guard -1), or waits for another thread's to end.
void __cdecl _Init_thread_header(int* guard) noexcept {
  AcquireSRWLockExclusive(&guardLock);
  for (;;) {
    if (*guard == kUninitialized) {
      *guard = kBeingInitialized;
      break;
    }
    if (*guard != kBeingInitialized) {
      _Init_thread_epoch = globalEpoch;
      break;
    }
    SleepConditionVariableSRW(&guardChanged, &guardLock, INFINITE, 0);
  }
  ReleaseSRWLockExclusive(&guardLock);
}

// The initialisation finished: stamps the guard with a new epoch.
void __cdecl _Init_thread_footer(int* guard) noexcept {
  AcquireSRWLockExclusive(&guardLock);
  *guard = _Init_thread_epoch = ++globalEpoch;
  ReleaseSRWLockExclusive(&guardLock);
  WakeAllConditionVariable(&guardChanged);
}

// The initialisation threw: the next use tries again.
void __cdecl _Init_thread_abort(int* guard) noexcept {
  AcquireSRWLockExclusive(&guardLock);
  *guard = kUninitialized;
  ReleaseSRWLockExclusive(&guardLock);
  WakeAllConditionVariable(&guardChanged);
}
}

// ---------------------------------------------------------------------------
// Thread-local storage: the compiler puts thread_local variables in .tls$ and
// reads them through _tls_index; the linker points the image's TLS directory at
// _tls_used. The loader copies .tls (from _tls_start to _tls_end) for each
// thread. Only constant-initialised thread_local variables are supported.

#pragma section(".tls", read, write)
#pragma section(".tls$ZZZ", read, write)
#pragma section(".CRT$XLA", read)
#pragma section(".CRT$XLZ", read)
#pragma section(".rdata$T", read)

extern "C" {
ULONG _tls_index = 0;
__declspec(allocate(".tls")) char _tls_start = 0;
__declspec(allocate(".tls$ZZZ")) char _tls_end = 0;
extern const PIMAGE_TLS_CALLBACK __xl_a;
extern const PIMAGE_TLS_CALLBACK __xl_z;
extern const IMAGE_TLS_DIRECTORY _tls_used;
__declspec(allocate(".CRT$XLA")) const PIMAGE_TLS_CALLBACK __xl_a = nullptr;
__declspec(allocate(".CRT$XLZ")) const PIMAGE_TLS_CALLBACK __xl_z = nullptr;
__declspec(allocate(".rdata$T")) const IMAGE_TLS_DIRECTORY _tls_used = {
    reinterpret_cast<ULONG_PTR>(&_tls_start),
    reinterpret_cast<ULONG_PTR>(&_tls_end),
    reinterpret_cast<ULONG_PTR>(&_tls_index),
    reinterpret_cast<ULONG_PTR>(&__xl_a + 1),
    0,
    0};
}

#if defined(_M_IX86)
// On x86 the compiler reads the thread's TLS array at fs:[_tls_array]: an
// absolute symbol whose value is that field's offset in the thread block.
__asm__(".globl __tls_array\n__tls_array = 0x2C\n");

// ---------------------------------------------------------------------------
// x86 exception handlers are registered on the stack; the system calls only
// those the image lists as safe. The linker gathers the list (the handlers the
// compiler marks) into __safe_se_handler_table; the load configuration points
// the system at it. Without it the linker marks the image as having no
// handlers, and no exception could pass through its frames.

extern "C" {
extern const DWORD __safe_se_handler_table[];
extern const BYTE __safe_se_handler_count;  // absolute: its address is the count
extern const IMAGE_LOAD_CONFIG_DIRECTORY32 _load_config_used;
// clang-format off
const IMAGE_LOAD_CONFIG_DIRECTORY32 _load_config_used = {
    sizeof(IMAGE_LOAD_CONFIG_DIRECTORY32),
    0, 0, 0, 0, 0, 0, 0, 0, nullptr, 0, 0, 0, 0, 0, 0, nullptr, 0,  // not used here
    reinterpret_cast<DWORD>(__safe_se_handler_table),                // SEHandlerTable
    reinterpret_cast<DWORD>(&__safe_se_handler_count)};              // SEHandlerCount
// clang-format on
}
#endif

// ---------------------------------------------------------------------------
// Initializer tables: the compiler adds a pointer to each translation unit's
// dynamic initialisation to .CRT$XCU; the linker sorts the .CRT$X* pieces by
// name, so these markers bracket them. The start-up code runs them.

#pragma section(".CRT$XCA", read)
#pragma section(".CRT$XCZ", read)
#pragma section(".CRT$XIA", read)
#pragma section(".CRT$XIZ", read)

extern "C" {
__declspec(allocate(".CRT$XCA")) const InitFunction __xc_a[] = {nullptr};
__declspec(allocate(".CRT$XCZ")) const InitFunction __xc_z[] = {nullptr};
__declspec(allocate(".CRT$XIA")) const CheckedInitFunction __xi_a[] = {nullptr};
__declspec(allocate(".CRT$XIZ")) const CheckedInitFunction __xi_z[] = {nullptr};
}

// ---------------------------------------------------------------------------
// The compiler references _fltused from every module that uses floating point;
// the runtime defines it.

extern "C" int _fltused = 0x9875;

// ---------------------------------------------------------------------------
// The vtable of std::type_info, which every type descriptor (run-time type
// information, exception types) points at. Descriptors are static data and are
// never destroyed, so its one slot, the deleting destructor, is never called.

namespace {
void TypeInfoDestructor() { abort(); }
}  // namespace

extern "C" const void* const quarn_type_info_vftable[] = {
    reinterpret_cast<const void*>(&TypeInfoDestructor)};
#if defined(_M_IX86)
#pragma comment(linker, "/alternatename:??_7type_info@@6B@=_quarn_type_info_vftable")
#else
#pragma comment(linker, "/alternatename:??_7type_info@@6B@=quarn_type_info_vftable")
#endif
