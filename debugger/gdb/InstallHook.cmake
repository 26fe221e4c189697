# Part of the install step (included by cmake_install.cmake): installs the GDB
# hook of the shared library, <library file name>-gdb.py, which GDB runs when
# it loads the library and which registers the printers, found relative to the
# hook. The caller sets quarnbase_gdb_library (the library's file name),
# quarnbase_gdb_libdir and quarnbase_gdb_printers_dir (install directories,
# relative to the prefix or absolute) and quarnbase_gdb_hook_template.
#
# GDB looks for the hook beside the library, then under its own data
# directory, in auto-load/<the library's directory>/. So the hook goes to
#  - share/gdb/auto-load/<prefix>/<libdir>/, where a GDB whose data directory
#    is <prefix>/share/gdb (the system GDB, for /usr) loads it unasked;
#  - beside the library, for every prefix but /usr: any GDB loads it there
#    once the prefix is allowed (add-auto-load-safe-path). Under /usr the
#    system GDB would find this one first and decline it (its default safe
#    path holds only its own directories) instead of loading the one above.
# An archive staged by cpack (.tar.gz) is unpacked anywhere: it has no
# absolute path to name, and gets the hook beside the library only.

# quarnbase_gdb_install_hook(<directory>): writes the hook into <directory>.
function(quarnbase_gdb_install_hook directory)
  file(RELATIVE_PATH QUARNBASE_GDB_PRINTERS_DIR "${directory}" "${printers_dir}")
  file(READ "${quarnbase_gdb_hook_template}" hook)
  string(CONFIGURE "${hook}" hook @ONLY)
  set(path "${directory}/${quarnbase_gdb_library}-gdb.py")
  message(STATUS "Installing: $ENV{DESTDIR}${path}")
  file(WRITE "$ENV{DESTDIR}${path}" "${hook}")
  set(CMAKE_INSTALL_MANIFEST_FILES ${CMAKE_INSTALL_MANIFEST_FILES} "${path}" PARENT_SCOPE)
endfunction()

cmake_path(ABSOLUTE_PATH quarnbase_gdb_libdir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
           OUTPUT_VARIABLE libdir)
cmake_path(ABSOLUTE_PATH quarnbase_gdb_printers_dir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
           NORMALIZE OUTPUT_VARIABLE printers_dir)
cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
string(REGEX REPLACE "/$" "" prefix "${prefix}")

if("$ENV{DESTDIR}" STREQUAL "" AND prefix MATCHES "/_CPack_Packages/")
  set(staged_archive TRUE)
else()
  set(staged_archive FALSE)
endif()
if(NOT staged_archive)
  quarnbase_gdb_install_hook("${prefix}/share/gdb/auto-load${libdir}")
endif()
if(NOT prefix STREQUAL "/usr")
  quarnbase_gdb_install_hook("${libdir}")
endif()
