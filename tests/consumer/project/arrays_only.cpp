// A client that uses the library but no string: in a static link only the
// load hook's anchor on the link line brings the hook's object in.
#include <quarnbase/ScalarArrays.h>

int main() {
  DblArrayC values;
  values.Add(1.5);
  return values.GetSize() == 1 ? 0 : 1;
}
