#include <quarnbase/quarnbase.h>

#include <cstdio>

int main() {
  StringC greeting("hello, ");
  greeting = StringC(32, "%s%s", static_cast<char*>(greeting), "world");
  std::printf("consumer: %s (%u)\n", static_cast<char*>(greeting), greeting.length());
  return greeting.length() == 12 ? 0 : 1;
}
