// A tour of quarnbase: strings built, assigned and grown; a text split into a
// string array, its distinct fields counted, sorted, searched and dumped; file
// names filtered by wildcard patterns, and the patterns ranked from general to
// specific.
#include <quarnbase/quarnbase.h>

#include <cstdio>
#include <initializer_list>
#include <unordered_set>

namespace {

void Show(const char* label, const StringC& s) {
  std::printf("%-28s [%s]  length %u, size %u\n", label, static_cast<char*>(s), s.length(),
              s.size());
}

void ShowArray(const char* label, const StringAC& a) {
  std::printf("%-28s", label);
  for (const StringC& s : a) std::printf(" [%s]", static_cast<char*>(s));
  std::printf("  (%d elements, size %d)\n", a.GetSize(), a.size());
}

void Strings() {
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
}

// The typical request: split, sort without duplicates, look up, dump.
void StringArrays() {
  std::printf("\n== String arrays\n");
  StringC text("b,a,,b");
  StringAC fields = text.parse(",");
  ShowArray("\"b,a,,b\" parsed on \",\"", fields);
  const std::unordered_set<StringC> distinct(fields.begin(), fields.end());
  std::printf("%-28s %d\n", "distinct (unordered_set)", static_cast<int>(distinct.size()));
  fields.sort(1, 0);
  ShowArray("sort(1, 0)", fields);
  std::printf("%-28s %d\n", "index(\"b\", 0)", fields.index("b", 0));
  std::printf("%-28s (on stderr)\n", "dump(0, -1)");
  std::fflush(stdout);  // keep the dump after the lines above
  fields.dump(0, -1);
}

// Filters file names with a pattern, then ranks patterns by how many of the
// others each one covers: the most general first.
void Wildcards() {
  std::printf("\n== Wildcards\n");
  StringAC files;
  for (const char* name :
       {"main.cpp", "main.o", "test_parse.cpp", "test_sort.cpp", "notes.txt", "Makefile"}) {
    files.Add(name);
  }
  const StringC pattern("test_*.cpp");
  std::printf("files matching %s:", static_cast<char*>(pattern));
  for (StringC& file : files) {
    if (file.IsMetaMatch(pattern)) std::printf(" %s", static_cast<char*>(file));
  }
  std::printf("\n");

  // Each pattern's rank is the number of the others it covers (is wider than).
  const char* const patterns[] = {"test_parse.cpp", "*.cpp", "test_*.cpp", "*", "test_?????.cpp"};
  const int count = 5;
  int covered[count] = {};
  for (int i = 0; i < count; ++i) {
    for (int j = 0; j < count; ++j) {
      if (StringC(patterns[i]).MetaCompare(patterns[j]) == StrCompGreater) ++covered[i];
    }
  }
  std::printf("patterns, most general first:\n");
  for (int rank = count - 1; rank >= 0; --rank) {
    for (int i = 0; i < count; ++i) {
      if (covered[i] == rank) std::printf("  %-16s covers %d of the others\n", patterns[i], rank);
    }
  }
}

}  // namespace

int main() {
  Strings();
  StringArrays();
  Wildcards();
  return 0;
}
