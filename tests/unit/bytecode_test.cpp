#include "common/bytecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

TEST(KeyNameTable, RunsFromAltToApps)
{
    EXPECT_STREQ(KeyNameTable[0].name, "alt");
    EXPECT_EQ(KeyNameTable[0].code, 0x12);
    EXPECT_STREQ(KeyNameTable[33].name, "apps");
    EXPECT_EQ(KeyNameTable[33].code, 0x5D);
}

TEST(KeyNameTable, NamesAreLowerCaseAndDistinct)
{
    for (size_t i = 0; i < KeyNameCount; i++) {
        for (const char* c = KeyNameTable[i].name; *c; c++)
            EXPECT_FALSE(*c >= 'A' && *c <= 'Z') << KeyNameTable[i].name;
        for (size_t j = 0; j < i; j++)
            EXPECT_STRNE(KeyNameTable[i].name, KeyNameTable[j].name);
    }
}

TEST(Keywords, OpcodesOneToFourteen)
{
    const char* const expected[] = {
        nullptr, "sleep", "shutdown", "logoff",  "reboot",  "poweroff", "deactivate", "close",
        "key",   "open",  "print",    "text",    "press",   "release",  "activate",   nullptr,
    };
    for (int op = 0; op < 16; op++) {
        if (expected[op])
            EXPECT_STREQ(KeywordOf(uint8_t(op)), expected[op]) << op;
        else
            EXPECT_EQ(KeywordOf(uint8_t(op)), nullptr) << op;
    }
    EXPECT_EQ(KeywordOf(255), nullptr);
}

namespace {

// One statement as the walk sees it, written compactly for comparison.
std::string Describe(const Statement& st)
{
    std::string out = std::to_string(st.opcode) + "/" + std::to_string(st.size);
    if (st.opcode == OpSleep)
        out += " s" + std::to_string(st.seconds);
    for (size_t i = 0; i < st.keyCount; i++)
        out += (st.keys[i].escaped ? " vk" : " #") + std::to_string(st.keys[i].value);
    if (st.opcode >= OpOpen && st.opcode <= OpText)
        out += " '" + std::string(st.text) + "'";
    return out;
}

std::vector<std::string> Walk(const std::vector<uint8_t>& code)
{
    std::vector<std::string> out;
    Statement st;
    for (size_t pos = 0; ReadStatement(code.data(), code.size(), pos, st); pos += st.size)
        out.push_back(Describe(st));
    return out;
}

struct WalkCase {
    const char* what;
    std::vector<uint8_t> code;
    std::vector<std::string> statements;
};

}  // namespace

TEST(Walk, FindsEveryStatement)
{
    const WalkCase cases[] = {
        {"empty", {}, {}},
        {"empty key list", {8, 0}, {"8/2"}},
        {"press by name and by character", {12, 2, 12, 255, 0x41}, {"12/2 #2", "12/3 vk65"}},
        {"escaped key 255 is one item", {8, 2, 255, 255}, {"8/4 vk255"}},
        {"key list counts bytes", {8, 4, 1, 255, 0x53, 0}, {"8/6 #1 vk83 #0"}},
        {"empty text", {11, 1, 0}, {"11/3 ''"}},
        {"unassigned opcodes are single bytes",
         {0, 15, 7, 255, 1, 9},
         {"0/1", "15/1", "7/1", "255/1", "1/2 s9"}},
        {"last key name", {13, 33}, {"13/2 #33"}},
    };
    for (const WalkCase& c : cases)
        EXPECT_EQ(Walk(c.code), c.statements) << c.what;

    std::vector<uint8_t> longest = {11, 255};
    longest.insert(longest.end(), 254, 'x');
    longest.push_back(0);
    EXPECT_EQ(Walk(longest), std::vector<std::string>{"11/257 '" + std::string(254, 'x') + "'"});
}

// Each case is one good statement, then one that does not fit: the walk
// returns the first and stops. Run under the address sanitizer on exact-size
// copies, so a read past the end would be caught.
TEST(Walk, StopsAtTheFirstStatementThatDoesNotFit)
{
    const WalkCase cases[] = {
        {"sleep cut off", {7, 1}, {"7/1"}},
        {"press cut off", {7, 12}, {"7/1"}},
        {"release escape cut off", {7, 13, 255}, {"7/1"}},
        {"key index 34", {7, 12, 34, 7}, {"7/1"}},
        {"key index 254", {7, 13, 254}, {"7/1"}},
        {"count byte missing", {7, 8}, {"7/1"}},
        {"count past the end", {7, 8, 2, 1}, {"7/1"}},
        {"list index past the table", {7, 8, 1, 40}, {"7/1"}},
        {"escape cut by the count", {7, 8, 2, 0, 255, 65}, {"7/1"}},
        {"length byte missing", {7, 9}, {"7/1"}},
        {"length past the end", {7, 10, 3, 'a', 0}, {"7/1"}},
    };
    for (const WalkCase& c : cases) {
        std::unique_ptr<uint8_t[]> exact(new uint8_t[c.code.size()]);
        std::copy(c.code.begin(), c.code.end(), exact.get());
        std::vector<std::string> found;
        Statement st;
        for (size_t pos = 0; ReadStatement(exact.get(), c.code.size(), pos, st); pos += st.size)
            found.push_back(Describe(st));
        EXPECT_EQ(found, c.statements) << c.what;
    }
}

// Text operands end at their zero byte but never outside their length.
TEST(Walk, TextEndsAtZeroOrLength)
{
    const WalkCase cases[] = {
        {"zero inside", {11, 4, 'a', 0, 'b', 0, 7}, {"11/6 'a'", "7/1"}},
        {"no zero", {11, 2, 'a', 'b', 7}, {"11/4 'ab'", "7/1"}},
        {"length 0", {11, 0, 7}, {"11/2 ''", "7/1"}},
    };
    for (const WalkCase& c : cases)
        EXPECT_EQ(Walk(c.code), c.statements) << c.what;
}

TEST(Walk, KeysResolveToVirtualKeys)
{
    EXPECT_EQ(VirtualKeyOf({false, 1}), 0x11);
    EXPECT_EQ(VirtualKeyOf({false, 29}), 0x2E);
    EXPECT_EQ(VirtualKeyOf({true, 0x53}), 0x53);
    EXPECT_EQ(VirtualKeyOf({true, 255}), 255);
}
