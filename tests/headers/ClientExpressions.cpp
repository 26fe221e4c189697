// Client code that must compile without ambiguity under clang++ and
// g++ -pedantic-errors: comparisons with C text of every character-pointer
// kind on either side, and the queries on a const string. The table test in
// tests/string checks what the comparisons return.
#include <quarnbase/StringAC.h>
#include <quarnbase/StringC.h>

int Compares(const StringC& name, int argc, char** argv) {
  char buffer[8] = "abc";
  const char constBuffer[8] = "abc";
  const char* text = "abc";
  char* writable = buffer;
  int n = 0;
  n += (name == argv[0]) + (argv[0] == name) + (name != argv[argc - 1]) + (argv[0] != name);
  n += (name == buffer) + (buffer == name) + (name < buffer) + (buffer >= name);
  n += (name == constBuffer) + (constBuffer != name) + (name > constBuffer) + (constBuffer <= name);
  n += (name == text) + (text == name) + (name <= text) + (text > name);
  n += (name == writable) + (writable < name) + (name >= writable) + (writable != name);
  n += (name == "abc") + ("abc" == name) + ("abc" < name) + (name != "");
  n += (name == nullptr) + (nullptr != name) + (name == StringC(text)) + (argv[0] == buffer);
  return n;
}

int Queries(const StringC& word, const StringC& pattern, StringC& mutableWord) {
  const StringAC tokens = word.parse(",");
  return word.IsMetaMatch(pattern) + word.MetaCompare(pattern) + tokens.GetSize() +
         mutableWord.IsMetaMatch("a*") + mutableWord.parse(",").GetSize();
}
