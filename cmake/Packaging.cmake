# Release packages, made by cpack from the install rules: on Linux a .tar.gz
# and a .deb (package preset release), for Windows a .zip of the DLLs, import
# libraries, headers and package files (preset mingw64-release).
# scripts/check-package.sh builds a client against an unpacked package.
set(CPACK_PACKAGE_NAME quarnbase)
set(CPACK_PACKAGE_VENDOR quarnbase)
set(CPACK_PACKAGE_CONTACT "quarnbase maintainers <quarnbase@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-${CMAKE_SYSTEM_PROCESSOR})
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
endif()
# The release build carries debug info for the ABI check; packages do not.
set(CPACK_STRIP_FILES ON)

# The .deb: a development package of the whole install tree under /usr, its
# dependencies read off the libraries by dpkg-shlibdeps.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME libquarnbase-dev)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
