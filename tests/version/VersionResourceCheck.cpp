// Reads the VERSIONINFO resource of quarnbase.dll and basesup.dll, which lie
// beside this program, through the system's version API, and compares it with
// quarnbase/version.h. A plain program, so that it runs where GoogleTest does
// not link (the MSVC-ABI builds). Exits 1 with a message on the first mismatch.
#include <quarnbase/version.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

char versionInfo[16384];

bool Fail(const char* dll, const char* what) {
  std::fprintf(stderr, "version_resource_check: %s: %s\n", dll, what);
  return false;
}

bool CheckText(const char* dll, const char* key) {
  char query[128];
  std::snprintf(query, sizeof query, "\\StringFileInfo\\040904B0\\%s", key);
  void* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(versionInfo, query, &text, &length) || text == nullptr) {
    return Fail(dll, key);
  }
  if (std::strcmp(static_cast<const char*>(text), QUARNBASE_VERSION_STRING) != 0) {
    std::fprintf(stderr, "version_resource_check: %s: %s is %s, not %s\n", dll, key,
                 static_cast<const char*>(text), QUARNBASE_VERSION_STRING);
    return false;
  }
  return true;
}

bool Check(const char* directory, const char* name) {
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, "%s\\%s", directory, name);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0 || size > sizeof versionInfo) return Fail(name, "no version resource");
  if (!GetFileVersionInfoA(path, 0, size, versionInfo)) return Fail(name, "unreadable");

  void* block = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(versionInfo, "\\", &block, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
    return Fail(name, "no fixed file information");
  }
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, block, sizeof fixed);
  const DWORD high = (DWORD{QUARNBASE_VERSION_MAJOR} << 16) | QUARNBASE_VERSION_MINOR;
  const DWORD low = DWORD{QUARNBASE_VERSION_PATCH} << 16;
  if (fixed.dwSignature != 0xFEEF04BD || fixed.dwFileVersionMS != high ||
      fixed.dwFileVersionLS != low || fixed.dwProductVersionMS != high ||
      fixed.dwProductVersionLS != low || fixed.dwFileType != VFT_DLL) {
    return Fail(name, "fixed file information does not match quarnbase/version.h");
  }
  return CheckText(name, "FileVersion") && CheckText(name, "ProductVersion");
}

}  // namespace

int main() {
  char directory[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, directory, MAX_PATH);
  if (length == 0 || length == MAX_PATH) {
    Fail("program", "no module file name");
    return 1;
  }
  char* slash = std::strrchr(directory, '\\');
  if (slash != nullptr) *slash = '\0';
  const bool quarnbase = Check(directory, "quarnbase.dll");
  const bool basesup = Check(directory, "basesup.dll");
  if (!quarnbase || !basesup) return 1;
  std::printf("version_resource_check: quarnbase.dll and basesup.dll are version %s\n",
              QUARNBASE_VERSION_STRING);
  return 0;
}
