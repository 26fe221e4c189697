# The runtime DLLs that MinGW-w64 builds link against (see
# cmake/toolchains/mingw-common.cmake): copied next to the programs of the build
# tree, so that they run there, and installed beside quarnbase.dll.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(gcc_runtime libgcc_s_seh-1.dll)
else()
  set(gcc_runtime libgcc_s_dw2-1.dll)
endif()
set(QUARNBASE_MINGW_RUNTIME_DLLS)
foreach(dll ${gcc_runtime} libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "The MinGW-w64 runtime DLL ${dll} was not found (${CMAKE_CXX_COMPILER})")
  endif()
  get_filename_component(path "${path}" REALPATH)
  list(APPEND QUARNBASE_MINGW_RUNTIME_DLLS ${path})
endforeach()

if(CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  file(COPY ${QUARNBASE_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endif()
install(FILES ${QUARNBASE_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})
