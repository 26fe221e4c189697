// Reads past the end of a DblArrayC. Against a hardened library the inline
// accessor checks the index in this client's own code and stops the process
// with a message; the consumer check runs it only then.
#include <quarnbase/ScalarArrays.h>

int main(int argc, char**) {
  DblArrayC values;
  values.Add(1.5);
  return values[argc] > 0.0 ? 0 : 1;
}
