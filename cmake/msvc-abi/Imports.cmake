# Import libraries of the Windows and runtime DLLs, made at configure time with
# llvm-dlltool from the lists below (the import libraries that Wine ships lack
# the runtime's C++ names). Each list names what the modules built here import
# from one DLL. A name carries its 32-bit decoration (@N: the bytes of
# arguments of a __stdcall function), which x64 drops; "x86:" or "x64:" in
# front limits a name to one architecture.
#
# The lists follow what a module built with the MSVC toolchain imports with the
# DLL runtime (/MD), except that the C runtime comes from ucrtbase.dll itself
# rather than through its api-ms-win-crt-* forwarders.

set(QUARN_MSVC_IMPORTS_ucrtbase
    # start-up and exit
    _configure_narrow_argv _crt_atexit _execute_onexit_table _initialize_narrow_environment
    _initialize_onexit_table _initterm _initterm_e _register_onexit_function _set_app_type
    __p___argc __p___argv abort exit
    # allocation and its failure handler
    _aligned_free _aligned_malloc _callnewh _query_new_handler _set_new_handler free malloc
    # stdio, strings, characters, assertions
    __acrt_iob_func __stdio_common_vfprintf __stdio_common_vsprintf _assert _wassert
    fclose fflush fopen fputc fputs fread fwrite putchar puts
    _stricmp islower isupper qsort strcmp strcoll strcspn strlen strncmp strpbrk strspn strtok
    tolower toupper)
set(QUARN_MSVC_IMPORTS_vcruntime140
    _CxxThrowException@8 __CxxFrameHandler3 __std_exception_copy __std_exception_destroy
    __std_terminate __std_type_info_compare __std_type_info_hash __std_type_info_name
    memchr memcmp memcpy memmove memset strchr strrchr strstr)
set(QUARN_MSVC_IMPORTS_msvcp140
    ?set_new_handler@std@@YAP6AXXZP6AXXZ@Z)
set(QUARN_MSVC_IMPORTS_kernel32
    AcquireSRWLockExclusive@4 ReleaseSRWLockExclusive@4 SleepConditionVariableSRW@16
    WakeAllConditionVariable@4 DisableThreadLibraryCalls@4 FlsAlloc@4 FlsFree@4 FlsGetValue@4
    FlsSetValue@8
    FindClose@4 FindFirstFileA@8 FindNextFileA@8 GetModuleFileNameA@12 GetModuleHandleA@4
    VirtualProtect@16)
# the DLLs' version resources (tests/version)
set(QUARN_MSVC_IMPORTS_version
    GetFileVersionInfoA@16 GetFileVersionInfoSizeA@8 VerQueryValueA@16)
set(QUARN_MSVC_IMPORTS_ntdll
    # stack probe of functions with large frames
    x64:__chkstk x86:_chkstk
    # whether the process is exiting, for the per-thread slots (src/platform/PerThread.cpp)
    RtlDllShutdownInProgress@0)

# quarn_msvc_make_import_libraries(<out-var>): writes the import libraries into
# the build tree and sets <out-var> to their paths.
function(quarn_msvc_make_import_libraries out)
  find_program(QUARN_MSVC_DLLTOOL NAMES llvm-dlltool-14 llvm-dlltool REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/msvc-abi-imports)
  file(MAKE_DIRECTORY ${dir})
  if(QUARN_MSVC_ARCH STREQUAL "x86")
    set(machine i386)
  else()
    set(machine i386:x86-64)
  endif()
  set(libs)
  foreach(dll ucrtbase vcruntime140 msvcp140 kernel32 ntdll version)
    set(def "LIBRARY ${dll}.dll\nEXPORTS\n")
    foreach(name IN LISTS QUARN_MSVC_IMPORTS_${dll})
      if(name MATCHES "^(x86|x64):(.*)$")
        if(NOT CMAKE_MATCH_1 STREQUAL QUARN_MSVC_ARCH)
          continue()
        endif()
        set(name ${CMAKE_MATCH_2})
      endif()
      if(QUARN_MSVC_ARCH STREQUAL "x64")
        string(REGEX REPLACE "@[0-9]+$" "" name "${name}")
      endif()
      string(APPEND def "  ${name}\n")
    endforeach()
    set(old "")
    if(EXISTS ${dir}/${dll}.def)
      file(READ ${dir}/${dll}.def old)
    endif()
    if(NOT old STREQUAL def)
      file(WRITE ${dir}/${dll}.def "${def}")
    endif()
    # -k: a __stdcall function is imported by its plain name.
    execute_process(
        COMMAND ${QUARN_MSVC_DLLTOOL} -m ${machine} -k -d ${dir}/${dll}.def -l ${dir}/${dll}.lib
        RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "llvm-dlltool could not make ${dir}/${dll}.lib")
    endif()
    list(APPEND libs ${dir}/${dll}.lib)
  endforeach()
  set(${out} ${libs} PARENT_SCOPE)
endfunction()
