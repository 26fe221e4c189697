// new.h - the allocation interface of the MSVC runtime, for the C++ library
// headers in MSVC mode: the global allocation operators (defined in each
// module), the C runtime's sized allocation-failure handler, and the standard
// std::set_new_handler of the C++ runtime DLL.
#ifndef QUARN_MSVC_ABI_NEW_H
#define QUARN_MSVC_ABI_NEW_H

#include <vcruntime_exception.h>

namespace std {
struct nothrow_t {
  explicit nothrow_t() = default;
};
extern const nothrow_t nothrow;

#ifdef __cpp_aligned_new
enum class align_val_t : decltype(sizeof(0)) {};
#endif

using new_handler = void(__cdecl*)();
__declspec(dllimport) new_handler __cdecl set_new_handler(new_handler handler) noexcept;
}  // namespace std

[[nodiscard]] void* __cdecl operator new(decltype(sizeof(0)) size);
[[nodiscard]] void* __cdecl operator new(decltype(sizeof(0)) size, const std::nothrow_t&) noexcept;
[[nodiscard]] void* __cdecl operator new[](decltype(sizeof(0)) size);
[[nodiscard]] void* __cdecl operator new[](decltype(sizeof(0)) size,
                                           const std::nothrow_t&) noexcept;
void __cdecl operator delete(void* block) noexcept;
void __cdecl operator delete(void* block, const std::nothrow_t&) noexcept;
void __cdecl operator delete[](void* block) noexcept;
void __cdecl operator delete[](void* block, const std::nothrow_t&) noexcept;
void __cdecl operator delete(void* block, decltype(sizeof(0)) size) noexcept;
void __cdecl operator delete[](void* block, decltype(sizeof(0)) size) noexcept;

#ifdef __cpp_aligned_new
[[nodiscard]] void* __cdecl operator new(decltype(sizeof(0)) size, std::align_val_t align);
[[nodiscard]] void* __cdecl operator new[](decltype(sizeof(0)) size, std::align_val_t align);
void __cdecl operator delete(void* block, std::align_val_t align) noexcept;
void __cdecl operator delete[](void* block, std::align_val_t align) noexcept;
void __cdecl operator delete(void* block, decltype(sizeof(0)) size,
                             std::align_val_t align) noexcept;
void __cdecl operator delete[](void* block, decltype(sizeof(0)) size,
                               std::align_val_t align) noexcept;
#endif

[[nodiscard]] inline void* __cdecl operator new(decltype(sizeof(0)), void* where) noexcept {
  return where;
}
[[nodiscard]] inline void* __cdecl operator new[](decltype(sizeof(0)), void* where) noexcept {
  return where;
}
inline void __cdecl operator delete(void*, void*) noexcept {}
inline void __cdecl operator delete[](void*, void*) noexcept {}

extern "C" {
/// The C runtime's allocation-failure handler: gets the failed request's size,
/// answers retry (nonzero) or fail (0).
typedef int(__cdecl* _PNH)(decltype(sizeof(0)));
__declspec(dllimport) _PNH __cdecl _set_new_handler(_PNH handler);
__declspec(dllimport) _PNH __cdecl _query_new_handler();
/// Runs the installed handler for a failed request of `size` bytes; returns 0
/// when none is installed or it answers fail.
__declspec(dllimport) int __cdecl _callnewh(decltype(sizeof(0)) size);
}

#endif  // QUARN_MSVC_ABI_NEW_H
