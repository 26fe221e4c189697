# Read after project() in builds with the msvc64 and msvc32 toolchains
# (CMAKE_PROJECT_INCLUDE): makes the import libraries and links every DLL and
# program of the project with the per-module runtime and its start-up code,
# as the MSVC toolchain links its static runtime pieces into each module.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/Imports.cmake)

quarn_msvc_make_import_libraries(QUARN_MSVC_IMPORT_LIBRARIES)
string(JOIN " " CMAKE_CXX_STANDARD_LIBRARIES ${QUARN_MSVC_IMPORT_LIBRARIES})

set(runtime ${CMAKE_CURRENT_LIST_DIR}/runtime)
add_library(quarn_msvc_module_runtime OBJECT ${runtime}/ModuleRuntime.cpp)
add_library(quarn_msvc_dll_start OBJECT ${runtime}/DllStart.cpp)
add_library(quarn_msvc_program_start OBJECT ${runtime}/ProgramStart.cpp ${runtime}/CxxLibrary.cpp)
set_target_properties(quarn_msvc_module_runtime quarn_msvc_dll_start quarn_msvc_program_start
    PROPERTIES CXX_STANDARD 17 CXX_STANDARD_REQUIRED ON CXX_EXTENSIONS OFF)
foreach(target quarn_msvc_module_runtime quarn_msvc_dll_start quarn_msvc_program_start)
  target_compile_options(${target} PRIVATE /W4 /WX)
endforeach()

# Targets made from here on link the runtime; DLLs and programs their start-up.
set(type "$<TARGET_PROPERTY:TYPE>")
set(is_dll "$<OR:$<STREQUAL:${type},SHARED_LIBRARY>,$<STREQUAL:${type},MODULE_LIBRARY>>")
set(is_program "$<STREQUAL:${type},EXECUTABLE>")
link_libraries(
    "$<$<OR:${is_dll},${is_program}>:quarn_msvc_module_runtime>"
    "$<${is_dll}:quarn_msvc_dll_start>"
    "$<${is_program}:quarn_msvc_program_start>")
