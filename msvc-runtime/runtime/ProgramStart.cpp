// ProgramStart.cpp - the entry point of a console program built by this
// toolchain: sets up the C runtime's arguments and environment, runs the static
// initialisation, calls main and exits with its result. Functions registered
// with atexit run at exit, in the C runtime's process-wide list.
#include <corecrt_startup.h>
#include <stdlib.h>

#include "StartUp.h"

int main(int argc, char** argv);

extern "C" int __cdecl atexit(void(__cdecl* function)()) { return _crt_atexit(function); }

extern "C" int __cdecl mainCRTStartup() {
  _set_app_type(_crt_console_app);
  if (_configure_narrow_argv(_crt_argv_unexpanded_arguments) != 0 ||
      _initialize_narrow_environment() != 0 || !RunInitializers()) {
    abort();
  }
  exit(main(*__p___argc(), *__p___argv()));
}
