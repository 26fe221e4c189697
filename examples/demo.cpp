// A tour of quarnbase: strings built, assigned and grown.
#include <quarnbase/quarnbase.h>

#include <cstdio>

namespace {

void Show(const char* label, const StringC& s) {
  std::printf("%-28s [%s]  length %u, size %u\n", label, static_cast<char*>(s), s.length(),
              s.size());
}

}  // namespace

int main() {
  std::printf("== Strings\n");
  StringC empty;
  Show("empty", empty);
  StringC hello("hello");
  Show("from text", hello);
  StringC stars('*', 5);
  Show("repeated character", stars);
  StringC formatted(64, "%s has %d letters", "quarnbase", 9);
  Show("printf-style", formatted);

  StringC copy(formatted);
  copy = "short";
  Show("assigned into capacity", copy);
  copy = 'x';
  Show("assigned one character", copy);

  StringC reserved;
  char* raw = reserved.GetBuffer(32);
  std::snprintf(raw, 33, "written through GetBuffer");
  reserved.ReleaseBuffer();
  Show("GetBuffer/ReleaseBuffer", reserved);
  return 0;
}
