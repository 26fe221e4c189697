#include <quarnbase/StringC.h>
