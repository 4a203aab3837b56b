#include "common/bytecode.h"

#include <gtest/gtest.h>

#include <vector>

TEST(KeyNameTable, RunsFromAltToApps)
{
    EXPECT_STREQ(KeyNameTable[0].name, "alt");
    EXPECT_EQ(KeyNameTable[0].code, 0x12);
    EXPECT_STREQ(KeyNameTable[33].name, "apps");
    EXPECT_EQ(KeyNameTable[33].code, 0x5D);
}
