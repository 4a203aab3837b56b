#include "common/layout.h"
#include "common/memregistry.h"
#include "common/store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

using Bytes = std::vector<uint8_t>;

class StoreTest : public ::testing::Test {
public:
    MemRegistry reg;
    const Locale& locale = UsEnglishLocale();

    std::map<std::string, RegValue> Values() { return reg.Values(CommandsKeyPath); }

    // A Commands key written value by value, as a hand-edited or damaged store would be.
    void SetRaw(const std::string& name, uint32_t type, const Bytes& data)
    {
        RegKey key = reg.CreateKey(CommandsKeyPath);
        reg.SetValue(key, name, type, data.data(), uint32_t(data.size()));
        reg.CloseKey(key);
    }
    void SetCount(uint32_t n)
    {
        Bytes b(4);
        std::memcpy(b.data(), &n, 4);
        SetRaw("Count", RegDword, b);
    }
    static Bytes Wide(const char* text, bool zero = true)
    {
        Bytes b;
        for (const char* p = text; *p; p++)
            b.insert(b.end(), {uint8_t(*p), 0});
        if (zero)
            b.insert(b.end(), {0, 0});
        return b;
    }
};

const std::vector<StoredCommand> Three = {
    {true, "call mail", "Mail", {0x07}},
    {false, "open notes", "", {0x0B, 0x03, 'H', 'i', 0x00}},
    {true, "zzz", "Sleep a while", {}},
};

TEST_F(StoreTest, WritesThreeCommandsAsNumberedValues)
{
    WriteStore(reg, locale, Three);
    auto v = Values();
    ASSERT_EQ(v.size(), 11u);  // Count, Active, "0".."8"
    EXPECT_EQ(v["count"].type, RegDword);
    EXPECT_EQ(v["count"].data, (Bytes{3, 0, 0, 0}));
    EXPECT_EQ(v["active"].type, RegBinary);
    EXPECT_EQ(v["active"].data, (Bytes{1, 0, 1}));
    EXPECT_EQ(v["0"].type, RegBinary);
    EXPECT_EQ(v["0"].data, Wide("call mail"));        // nine characters: 20 bytes
    EXPECT_EQ(v["0"].data.size(), 20u);
    EXPECT_EQ(v["4"].data, Three[1].code);
    EXPECT_EQ(v["5"].type, RegBinary);
    EXPECT_TRUE(v["5"].data.empty());                 // a script without statements
    EXPECT_EQ(v["6"].type, RegSz);
    EXPECT_EQ(v["6"].data, (Bytes{'M', 'a', 'i', 'l', 0}));
    EXPECT_EQ(v["7"].data, (Bytes{0}));               // empty description: one zero byte
    EXPECT_EQ(v["8"].data.size(), 14u);
}

TEST_F(StoreTest, EmptyPhraseIsOneZeroCodeUnit)
{
    WriteStore(reg, locale, {{true, "", "", {}}});
    EXPECT_EQ(Values()["0"].data, (Bytes{0, 0}));
}

TEST_F(StoreTest, ShorterSaveLeavesNothingOfTheLongerOne)
{
    std::vector<StoredCommand> five(5, StoredCommand{true, "a", "d", {0x07}});
    WriteStore(reg, locale, five);
    WriteStore(reg, locale, {Three[0], Three[1]});
    auto v = Values();
    std::vector<std::string> names;
    for (auto& [name, value] : v)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "active", "count"}));
}

TEST_F(StoreTest, EmptyListHasCountZeroAndEmptyActive)
{
    WriteStore(reg, locale, {});
    auto v = Values();
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v["count"].data, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(v["active"].type, RegBinary);
    EXPECT_TRUE(v["active"].data.empty());
    EXPECT_TRUE(LoadStoredCommands(reg, locale).empty());
    EXPECT_TRUE(LoadEngineCommands(reg).empty());
    EXPECT_TRUE(StoreExists(reg));
}

TEST_F(StoreTest, ConfigurationReadsBackWhatWasWritten)
{
    WriteStore(reg, locale, Three);
    auto back = LoadStoredCommands(reg, locale);
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < 3; i++) {
        EXPECT_EQ(back[i].enabled, Three[i].enabled) << i;
        EXPECT_EQ(back[i].phrase, Three[i].phrase) << i;
        EXPECT_EQ(back[i].description, Three[i].description) << i;
        EXPECT_EQ(back[i].code, Three[i].code) << i;
    }
    EXPECT_EQ(reg.OpenKeys(), 0u);
}

TEST_F(StoreTest, EngineSkipsDisabledCommandsButKeepsTheirIndex)
{
    WriteStore(reg, locale, Three);
    auto table = LoadEngineCommands(reg);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_TRUE(table[0].enabled);
    EXPECT_EQ(table[0].phrase, u"call mail");
    EXPECT_EQ(table[0].code, Three[0].code);
    EXPECT_FALSE(table[1].enabled);
    EXPECT_FALSE(table[1].hasPhrase);
    EXPECT_TRUE(table[1].code.empty());
    EXPECT_TRUE(table[2].enabled);
    EXPECT_EQ(table[2].phrase, u"zzz");
    EXPECT_TRUE(table[2].code.empty());
}

TEST_F(StoreTest, NoCommandsKey)
{
    EXPECT_FALSE(StoreExists(reg));
    EXPECT_TRUE(LoadEngineCommands(reg).empty());
    EXPECT_TRUE(LoadStoredCommands(reg, locale).empty());
    EXPECT_FALSE(reg.KeyExists(CommandsKeyPath));  // reading creates nothing
}

// Stores no program of ours writes: each loads what can be loaded.
TEST_F(StoreTest, HostileStores)
{
    struct Case {
        const char* what;
        std::function<void(StoreTest&)> build;
        size_t engineEntries;
        std::vector<bool> engineEnabled;
    };
    const std::vector<Case> cases = {
        {"missing Count", [](StoreTest& t) { t.SetRaw("Active", RegBinary, {1}); t.SetRaw("0", RegBinary, Wide("a")); }, 0, {}},
        {"Count of the wrong size", [](StoreTest& t) { t.SetRaw("Count", RegSz, {'1', 0}); t.SetRaw("0", RegBinary, Wide("a")); }, 0, {}},
        {"Active shorter than Count", [](StoreTest& t) {
             t.SetCount(3); t.SetRaw("Active", RegBinary, {1});
             for (const char* n : {"0", "1", "2"}) t.SetRaw(n, RegBinary, Wide("p"));
             for (const char* n : {"3", "4", "5"}) t.SetRaw(n, RegBinary, {0x07});
         }, 3, {true, false, false}},
        {"no Active at all", [](StoreTest& t) { t.SetCount(1); t.SetRaw("0", RegBinary, Wide("a")); }, 1, {false}},
        {"Count of four billion", [](StoreTest& t) { t.SetCount(4000000000u); t.SetRaw("Active", RegBinary, {1, 1}); t.SetRaw("0", RegBinary, Wide("a")); }, 3, {true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemRegistry fresh;
        reg = fresh;
        c.build(*this);
        auto table = LoadEngineCommands(reg);
        ASSERT_EQ(table.size(), c.engineEntries);
        for (size_t i = 0; i < table.size(); i++)
            EXPECT_EQ(table[i].enabled, c.engineEnabled[i]) << i;
        EXPECT_EQ(LoadStoredCommands(reg, locale).size(), c.engineEntries);
    }
}

TEST_F(StoreTest, MissingNumberedValuesReadAsAbsent)
{
    SetCount(2);
    SetRaw("Active", RegBinary, {1, 1});
    SetRaw("1", RegBinary, Wide("second"));
    SetRaw("2", RegBinary, {0x07});
    SetRaw("extra", RegSz, {0});
    auto table = LoadEngineCommands(reg);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_FALSE(table[0].hasPhrase);  // never registered: it has nothing to be heard by
    EXPECT_EQ(table[0].code, (Bytes{0x07}));
    EXPECT_TRUE(table[1].hasPhrase);
    EXPECT_TRUE(table[1].code.empty());  // runs as an empty program
    auto commands = LoadStoredCommands(reg, locale);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].phrase, "");
    EXPECT_EQ(commands[1].phrase, "second");
    EXPECT_EQ(commands[1].description, "");
}

TEST_F(StoreTest, PhrasesEndAtTheFirstZeroOrTheEndOfTheData)
{
    struct Case { Bytes stored; std::u16string phrase; };
    const Case cases[] = {
        {Wide("open", false), u"open"},               // no terminating zero
        {{'o', 0, 'k', 0, 'x'}, u"ok"},               // an odd trailing byte
        {{'a', 0, 0, 0, 'b', 0, 0, 0}, u"a"},         // what follows the zero carries no meaning
        {{}, u""},
    };
    for (const Case& c : cases) {
        MemRegistry fresh;
        reg = fresh;
        SetCount(1);
        SetRaw("Active", RegBinary, {1});
        SetRaw("0", RegBinary, c.stored);
        SetRaw("1", RegBinary, {});
        auto table = LoadEngineCommands(reg);
        ASSERT_EQ(table.size(), 1u);
        EXPECT_EQ(table[0].phrase, c.phrase);
    }
}

TEST(PhraseValueTest, IsTwiceTheAnsiLengthPlusTwo)
{
    EXPECT_EQ(PhraseValue("abc", UsEnglishLocale()), (Bytes{'a', 0, 'b', 0, 'c', 0, 0, 0}));
    EXPECT_EQ(PhraseValue("\xE9t\xE9", UsEnglishLocale()), (Bytes{0xE9, 0, 't', 0, 0xE9, 0, 0, 0}));
}

TEST(MemRegistryTest, KeyWithSubkeysIsNotDeleted)
{
    MemRegistry reg;
    reg.CloseKey(reg.CreateKey("Software\\A\\B"));
    EXPECT_FALSE(reg.DeleteKey("Software\\A"));
    EXPECT_TRUE(reg.DeleteKey("software\\a\\b"));
    EXPECT_TRUE(reg.DeleteKey("Software\\A"));
}

TEST(RegistryHelpersTest, DwordNeedsExactlyFourBytesAndTextStopsAtZero)
{
    MemRegistry reg;
    RegKey key = reg.CreateKey("K");
    reg.SetValue(key, "short", RegDword, "\x01\x02", 2);
    reg.SetValue(key, "sz", RegSz, "ab\0cd", 5);
    reg.SetValue(key, "open", RegSz, "abc", 3);
    uint32_t d = 7;
    EXPECT_FALSE(ReadDword(reg, key, "short", d));
    EXPECT_EQ(d, 7u);
    std::string text;
    EXPECT_TRUE(ReadText(reg, key, "sz", text));
    EXPECT_EQ(text, "ab");
    EXPECT_TRUE(ReadText(reg, key, "open", text));
    EXPECT_EQ(text, "abc");
    reg.CloseKey(key);
}

}  // namespace
