#include "forms/strtoint.h"

#include <gtest/gtest.h>

TEST(StrToInt, AcceptsDecimalAndHexadecimal)
{
    const std::pair<const char*, int32_t> cases[] = {
        {"0", 0},
        {"42", 42},
        {"007", 7},
        {"+5", 5},
        {"-1", -1},
        {"  12", 12},
        {"$1F", 31},
        {"$ff", 255},
        {"x10", 16},
        {"X10", 16},
        {"0x10", 16},
        {"0X1a", 26},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
    };
    for (const auto& c : cases) {
        int32_t value = 12345;
        EXPECT_TRUE(TryStrToInt(c.first, value)) << c.first;
        EXPECT_EQ(value, c.second) << c.first;
        EXPECT_EQ(StrToInt(c.first), c.second) << c.first;
    }
}

TEST(StrToInt, RefusesWhatIsNotAnInteger)
{
    const char* const cases[] = {
        "", " ", "+", "-", "$", "x", "0x", "abc", "5s", "1 ", "1.5", "1e3", "$G",
        "12a", "0x-1", "2147483648", "-2147483649", "$100000000", "\t1", "--1",
    };
    for (const char* text : cases) {
        int32_t value = 12345;
        EXPECT_FALSE(TryStrToInt(text, value)) << text;
        EXPECT_EQ(value, 12345) << text;
        try {
            StrToInt(text);
            ADD_FAILURE() << text << " converted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}
