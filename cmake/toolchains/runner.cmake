# How ctest starts the programs of a cross build: included by the cross
# toolchains after they set QUARNBASE_RUNNER to one of
#   wine64      64-bit Windows programs, under wine64;
#   wine32      32-bit Windows programs, under 32-bit Wine (Debian's
#               wine32:i386), which needs a machine that starts 32-bit x86
#               programs;
#   i686-linux  32-bit x86 Linux programs: natively where the machine starts
#               them (through the target's own dynamic linker), else under
#               qemu-i386;
#   qemu        other Linux targets, under QUARNBASE_QEMU.
# Sets CMAKE_CROSSCOMPILING_EMULATOR, and QUARNBASE_RUNNER_NOTE to one line
# saying how the programs run. Where nothing here can start them it sets
# QUARNBASE_CANNOT_RUN to the reason instead: the tests that start a program
# are then built but not run (quarnbase_program_tests).
get_filename_component(QUARNBASE_SCRIPTS_DIR ${CMAKE_CURRENT_LIST_DIR}/../../scripts ABSOLUTE)
unset(QUARNBASE_CANNOT_RUN)

if(QUARNBASE_RUNNER MATCHES "^(wine32|i686-linux)$")
  execute_process(COMMAND ${QUARNBASE_SCRIPTS_DIR}/x86-32-starts.sh
                  RESULT_VARIABLE x86_32_fails OUTPUT_QUIET ERROR_QUIET)
endif()

if(QUARNBASE_RUNNER STREQUAL "wine64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUARNBASE_SCRIPTS_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)
  set(QUARNBASE_RUNNER_NOTE "programs run under wine64")
elseif(QUARNBASE_RUNNER STREQUAL "wine32")
  if(x86_32_fails)
    set(QUARNBASE_CANNOT_RUN "this machine cannot start 32-bit x86 programs")
  elseif(NOT EXISTS /usr/lib/wine/wine)
    set(QUARNBASE_CANNOT_RUN "32-bit Wine is not installed (scripts/install-cross-tools.sh)")
  else()
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${QUARNBASE_SCRIPTS_DIR}/wine-run.sh --32 ${CMAKE_BINARY_DIR}/wineprefix)
    set(QUARNBASE_RUNNER_NOTE "programs run under 32-bit Wine")
  endif()
elseif(QUARNBASE_RUNNER STREQUAL "i686-linux")
  set(sysroot /usr/${QUARNBASE_LINUX_TRIPLE})
  if(NOT x86_32_fails)
    # The target's dynamic linker and libraries, not the host's 32-bit ones.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${sysroot}/lib/ld-linux.so.2 --library-path ${sysroot}/lib)
    set(QUARNBASE_RUNNER_NOTE "programs run natively")
  else()
    set(QUARNBASE_QEMU qemu-i386)
    set(QUARNBASE_RUNNER qemu)
  endif()
endif()

if(QUARNBASE_RUNNER STREQUAL "qemu")
  # qemu-user loads the target's dynamic linker and libraries from its
  # directory (-L). The library path makes that dynamic linker take the C
  # library from there too: it reads the host's ld.so.cache, which may name the
  # host's own 32-bit C library (package libc6-i386), and that one does not fit
  # the cross dynamic linker (threads hang on creation).
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUARNBASE_QEMU} -L /usr/${QUARNBASE_LINUX_TRIPLE}
      -E LD_LIBRARY_PATH=/lib)
  set(QUARNBASE_RUNNER_NOTE "programs run under ${QUARNBASE_QEMU}")
endif()
