// vcruntime_typeinfo.h - std::type_info as the MSVC runtime lays it out, with
// the cast exceptions, for the C++ library headers in MSVC mode.
//
// A type_info is a vtable pointer, a lazily filled readable name and the
// decorated name; equality compares decorated names, so descriptors of one type
// emitted by different modules compare equal.
#ifndef QUARN_MSVC_ABI_VCRUNTIME_TYPEINFO_H
#define QUARN_MSVC_ABI_VCRUNTIME_TYPEINFO_H

#include <vcruntime_exception.h>

extern "C" {
struct __std_type_info_data {
  const char* _UndecoratedName;
  const char _DecoratedName[1];
  __std_type_info_data() = delete;
  __std_type_info_data(const __std_type_info_data&) = delete;
  __std_type_info_data& operator=(const __std_type_info_data&) = delete;
};
struct __type_info_node;
extern __type_info_node __type_info_root_node;
__declspec(dllimport) int __cdecl __std_type_info_compare(const __std_type_info_data* left,
                                                          const __std_type_info_data* right);
__declspec(dllimport) decltype(sizeof(0)) __cdecl __std_type_info_hash(
    const __std_type_info_data* data);
__declspec(dllimport) const
    char* __cdecl __std_type_info_name(__std_type_info_data* data, __type_info_node* root);
}

class type_info {
 public:
  type_info(const type_info&) = delete;
  type_info& operator=(const type_info&) = delete;
  virtual ~type_info() noexcept;

  decltype(sizeof(0)) hash_code() const noexcept { return __std_type_info_hash(&_Data); }
  bool operator==(const type_info& other) const noexcept {
    return __std_type_info_compare(&_Data, &other._Data) == 0;
  }
  bool operator!=(const type_info& other) const noexcept { return !(*this == other); }
  bool before(const type_info& other) const noexcept {
    return __std_type_info_compare(&_Data, &other._Data) < 0;
  }
  const char* name() const noexcept { return __std_type_info_name(&_Data, &__type_info_root_node); }
  const char* raw_name() const noexcept { return _Data._DecoratedName; }

 private:
  mutable __std_type_info_data _Data;
};

namespace std {

using ::type_info;

class bad_cast : public exception {
 public:
  bad_cast() noexcept : exception("bad cast", 1) {}
};

class bad_typeid : public exception {
 public:
  bad_typeid() noexcept : exception("bad typeid", 1) {}
};

}  // namespace std

#endif  // QUARN_MSVC_ABI_VCRUNTIME_TYPEINFO_H
