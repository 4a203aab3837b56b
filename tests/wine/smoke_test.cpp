#include <gtest/gtest.h>
#include <windows.h>

TEST(Wine, RunsTheTestProgram)
{
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
}
