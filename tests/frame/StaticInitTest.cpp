// The empty prototype is usable from any other translation unit's static
// initialisers, both as a copy source and as a bit pattern for raw storage.
#include <quarnbase/StringC.h>

#include <gtest/gtest.h>

#include <cstring>
#include <new>

namespace {

alignas(StringC) unsigned char rawCopy[sizeof(StringC)];

StringC* BitCopyAtInit() {
  std::memcpy(rawCopy, static_cast<const void*>(&StringC::emptyPrototype), sizeof(StringC));
  return std::launder(reinterpret_cast<StringC*>(rawCopy));
}

StringC* const bitCopy = BitCopyAtInit();
StringC copiedAtInit(StringC::emptyPrototype);

TEST(EmptyPrototype, IsValidDuringStaticInitialisation) {
  const char* shared = StringC::emptyPrototype;
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared[0], '\0');
  EXPECT_EQ(StringC::emptyPrototype.length(), 0u);
  EXPECT_EQ(StringC::emptyPrototype.size(), 1u);

  EXPECT_EQ(static_cast<const char*>(copiedAtInit), shared);
  EXPECT_EQ(copiedAtInit.length(), 0u);
  EXPECT_EQ(static_cast<const char*>(*bitCopy), shared);
  EXPECT_EQ(bitCopy->size(), 1u);

  // A bit copy is a working string: it grows and releases like any other.
  *bitCopy += 'x';
  EXPECT_EQ(bitCopy->length(), 1u);
  bitCopy->Empty();
  EXPECT_EQ(static_cast<const char*>(*bitCopy), shared);
}

}  // namespace
