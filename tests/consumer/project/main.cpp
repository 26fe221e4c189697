#include <quarnbase/iostream.h>
#include <quarnbase/quarnbase.h>

#include <iostream>

int main() {
  StringC greeting("hello, ");
  greeting = StringC(32, "%s%s", static_cast<char*>(greeting), "world");
  std::cout << "consumer: " << greeting << " (" << greeting.length() << "), quarnbase "
            << QUARNBASE_VERSION_STRING << "\n";
  // A string array too: its code reaches the platform layer's system calls,
  // which a static package must bring onto the client's link line.
  StringAC words = greeting.parse(", ");
  words.Add("!");
  return greeting.length() == 12 && words.GetSize() == 3 ? 0 : 1;
}
