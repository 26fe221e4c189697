# Installation: headers, libraries, a relocatable CMake package and a pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS quarnbase basesup
    EXPORT quarnbaseTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/quarnbase DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/include/quarnbase/quarnbase_export.h
              ${PROJECT_BINARY_DIR}/include/quarnbase/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quarnbase)
install(DIRECTORY basesup/include/basesup DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/basesup/include/basesup/basesup_export.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/basesup)

set(QUARNBASE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quarnbase)
install(EXPORT quarnbaseTargets
    NAMESPACE quarnbase::
    DESTINATION ${QUARNBASE_CMAKE_DIR})
configure_package_config_file(cmake/quarnbaseConfig.cmake.in
    ${PROJECT_BINARY_DIR}/quarnbaseConfig.cmake
    INSTALL_DESTINATION ${QUARNBASE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quarnbaseConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/quarnbaseConfig.cmake
              ${PROJECT_BINARY_DIR}/quarnbaseConfigVersion.cmake
        DESTINATION ${QUARNBASE_CMAKE_DIR})

# pkg-config: paths are relative to the installed .pc file, so the tree can be
# moved. A static quarnbase needs basesup and the load hook's anchor on the
# client's link line (`pkg-config --static`), and the static define.
file(RELATIVE_PATH QUARNBASE_PC_TO_PREFIX
     /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
set(QUARNBASE_PC_CFLAGS "")
set(QUARNBASE_PC_LIBS_PRIVATE "-lbasesup")
if(MINGW)
  string(APPEND QUARNBASE_PC_LIBS_PRIVATE " -lntdll")
endif()
if(QUARNBASE_LIBRARY_TYPE STREQUAL "STATIC")
  set(QUARNBASE_PC_CFLAGS " -DQUARNBASE_STATIC_DEFINE")
  if(NOT WIN32)
    string(PREPEND QUARNBASE_PC_LIBS_PRIVATE "-Wl,-u,quarnbase_load_hook_anchor ")
  endif()
endif()
if(QUARNBASE_HARDENED)
  string(APPEND QUARNBASE_PC_CFLAGS " -DQUARNBASE_HARDENED")
endif()
configure_file(cmake/quarnbase.pc.in ${PROJECT_BINARY_DIR}/quarnbase.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quarnbase.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Release packages of what is installed above.
include(${CMAKE_CURRENT_LIST_DIR}/Packaging.cmake)
