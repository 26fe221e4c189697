#include <quarnbase/iostream.h>
#include <quarnbase/quarnbase.h>

#include <iostream>

int main() {
  StringC greeting("hello, ");
  greeting = StringC(32, "%s%s", static_cast<char*>(greeting), "world");
  std::cout << "consumer: " << greeting << " (" << greeting.length() << "), quarnbase "
            << QUARNBASE_VERSION_STRING << "\n";
  return greeting.length() == 12 ? 0 : 1;
}
