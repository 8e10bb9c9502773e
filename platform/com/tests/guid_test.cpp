// GUID text forms: parsing, formatting and comparison.
#include "platform/com/Guid.h"

#include <gtest/gtest.h>

namespace platform::com {
namespace {

constexpr GUID kClass = MakeGuid("{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}");

TEST(Guid, ParsesTheRegistryFormWithOrWithoutBracesInEitherCase) {
  GUID g;
  ASSERT_TRUE(ParseGuid("{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}", &g));
  EXPECT_EQ(g.Data1, 0x997FD4F7u);
  EXPECT_EQ(g.Data2, 0x0D1B);
  EXPECT_EQ(g.Data3, 0x4CA9);
  EXPECT_EQ(g.Data4[0], 0xA0);
  EXPECT_EQ(g.Data4[1], 0x56);
  EXPECT_EQ(g.Data4[7], 0x70);
  EXPECT_EQ(g, kClass);
  GUID lower;
  ASSERT_TRUE(ParseGuid("997fd4f7-0d1b-4ca9-a056-3ea9b3a25c70", &lower));
  EXPECT_EQ(lower, kClass);
}

TEST(Guid, FormatsUpperCaseWithBracesAndReadsItBack) {
  EXPECT_EQ(FormatGuid(kClass), "{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}");
  GUID back;
  ASSERT_TRUE(ParseGuid(FormatGuid(kClass), &back));
  EXPECT_EQ(back, kClass);
  EXPECT_EQ(FormatGuid(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
}

TEST(Guid, RefusesEverythingElseAndLeavesTheOutputAlone) {
  const GUID before = kClass;
  for (const char* bad :
       {"", "{}", "{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C7}",
        "{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C700}", "{997FD4F7-0D1B-4CA9-A0563EA9B3A25C70}",
        "{997FD4F7-0D1B-4CA9-A056-3EA9B3A25C7G}", " {997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70}",
        "(997FD4F7-0D1B-4CA9-A056-3EA9B3A25C70)", "{997FD4F7+0D1B-4CA9-A056-3EA9B3A25C70}"}) {
    GUID g = before;
    EXPECT_FALSE(ParseGuid(bad, &g)) << bad;
    EXPECT_EQ(g, before) << bad;
  }
}

TEST(Guid, ComparesEveryByte) {
  GUID other = kClass;
  other.Data4[7] ^= 1;
  EXPECT_FALSE(IsEqualGUID(kClass, other));
  other = kClass;
  other.Data3 ^= 0x100;
  EXPECT_NE(kClass, other);
  EXPECT_TRUE(IsEqualGUID(kClass, MakeGuid("{997fd4f7-0d1b-4ca9-a056-3ea9b3a25c70}")));
}

}  // namespace
}  // namespace platform::com
