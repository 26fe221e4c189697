# Read after project() in builds with the msvc64 and msvc32 toolchains
# (CMAKE_PROJECT_INCLUDE): makes the import libraries and links every DLL and
# program of the project with the per-module runtime and its start-up code,
# as the MSVC toolchain links its static runtime pieces into each module.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/Imports.cmake)

quarn_msvc_make_import_libraries(QUARN_MSVC_IMPORT_LIBRARIES)
string(JOIN " " CMAKE_CXX_STANDARD_LIBRARIES ${QUARN_MSVC_IMPORT_LIBRARIES})

set(runtime ${QUARN_MSVC_RUNTIME_DIR}/runtime)
add_library(quarn_msvc_module_runtime OBJECT ${runtime}/ModuleRuntime.cpp)
add_library(quarn_msvc_dll_start OBJECT ${runtime}/DllStart.cpp)
add_library(quarn_msvc_program_start OBJECT ${runtime}/ProgramStart.cpp ${runtime}/CxxLibrary.cpp)
set_target_properties(quarn_msvc_module_runtime quarn_msvc_dll_start quarn_msvc_program_start
    PROPERTIES CXX_STANDARD 17 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF)
foreach(target quarn_msvc_module_runtime quarn_msvc_dll_start quarn_msvc_program_start)
  target_compile_options(${target} PRIVATE /W4 /WX)
endforeach()

# Once the project has defined its targets, each DLL and program links the
# runtime and its start-up code, privately: they are part of each module, not
# of its link interface, so installed packages do not name them.
function(quarn_msvc_link_runtime directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      target_link_libraries(${target} PRIVATE quarn_msvc_module_runtime quarn_msvc_dll_start)
    elseif(type STREQUAL "EXECUTABLE")
      target_link_libraries(${target} PRIVATE quarn_msvc_module_runtime quarn_msvc_program_start)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    quarn_msvc_link_runtime(${subdirectory})
  endforeach()
endfunction()
cmake_language(DEFER CALL quarn_msvc_link_runtime ${CMAKE_CURRENT_SOURCE_DIR})
