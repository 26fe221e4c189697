// ReplayMain.cpp - runs a fuzz target's entry function over saved inputs, for
// builds without libFuzzer. Each argument is a file or a directory of files;
// a failing input aborts, as it would under the fuzzer. Files are read with C
// stdio and, on Windows, directories listed with the Win32 API, so that builds
// without the compiled parts of the C++ library can replay too.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <filesystem>
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Appends the regular files in `path` to `files` and returns true, or returns
// false when `path` is not a directory.
bool ListDirectory(const std::string& path, std::vector<std::string>& files) {
#if defined(_WIN32)
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      files.push_back(path + "/" + entry.cFileName);
    }
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return true;
#else
  std::error_code error;
  if (!std::filesystem::is_directory(path, error)) return false;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  return true;
#endif
}

bool Replay(const std::string& file) {
  std::FILE* in = std::fopen(file.c_str(), "rb");
  if (in == nullptr) return false;
  std::vector<char> bytes;
  char chunk[4096];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(in);
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long inputs = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::string> files;
    if (!ListDirectory(argv[i], files)) files.push_back(argv[i]);
    for (const auto& file : files) {
      if (!Replay(file)) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
      }
      ++inputs;
    }
  }
  std::printf("replayed %ld inputs\n", inputs);
  return inputs > 0 ? 0 : 1;
}
