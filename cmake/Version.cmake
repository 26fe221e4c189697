# The project's version, from project(), where clients and tools read it:
# quarnbase/version.h, and on Windows a VERSIONINFO resource in each DLL.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
               ${PROJECT_BINARY_DIR}/include/quarnbase/version.h @ONLY)

if(WIN32)
  enable_language(RC)
endif()

# quarnbase_add_version_resource(<target> <description>): gives the DLL that
# <target> builds a VERSIONINFO resource (FileVersion and ProductVersion from
# the project's version). Does nothing elsewhere or for a static library.
function(quarnbase_add_version_resource target description)
  get_target_property(type ${target} TYPE)
  if(NOT WIN32 OR NOT type STREQUAL "SHARED_LIBRARY")
    return()
  endif()
  set(QUARNBASE_RC_TARGET ${target})
  set(QUARNBASE_RC_DESCRIPTION "${description}")
  set(QUARNBASE_RC_FILENAME
      ${CMAKE_SHARED_LIBRARY_PREFIX}${target}${CMAKE_SHARED_LIBRARY_SUFFIX})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
endfunction()
