#include "config/command.h"
#include "forms/strtoint.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ByteCode = std::vector<uint8_t>;
using Script = std::vector<std::string>;

ByteCode Hex(const std::string& text)
{
    ByteCode bytes;
    std::istringstream in(text);
    for (unsigned b; in >> std::hex >> b;)
        bytes.push_back(uint8_t(b));
    return bytes;
}

ByteCode Compile(const Script& lines)
{
    TCommand command(lines, UsEnglishLocale());
    size_t length = command.Compile();
    return ByteCode(command.Code, command.Code + length);
}

Script Regenerate(const ByteCode& code)
{
    return TCommand(code.data(), code.size(), UsEnglishLocale()).Lines;
}

// The message of the ECompileError that compiling the lines throws, or "" if none.
std::string Refusal(const Script& lines)
{
    try {
        Compile(lines);
    } catch (const ECompileError& e) {
        return e.what();
    }
    return "";
}

TEST(Compiler, WorkedExample)
{
    const Script script = {
        "open notepad.exe", "sleep 2",       "text Hello World",    "key ctrl s",
        "press shift",      "release shift", "key ctrl alt delete", "close",
    };
    const ByteCode expected = Hex("09 0C 6E 6F 74 65 70 61 64 2E 65 78 65 00"
                                  " 01 02"
                                  " 0B 0C 48 65 6C 6C 6F 20 57 6F 72 6C 64 00"
                                  " 08 03 01 FF 53"
                                  " 0C 02"
                                  " 0D 02"
                                  " 08 03 01 00 1D"
                                  " 07");
    ASSERT_EQ(expected.size(), 45u);
    EXPECT_EQ(Compile(script), expected);

    Script reloaded = script;
    reloaded[3] = "key ctrl S";  // a letter key comes back in upper case
    EXPECT_EQ(Regenerate(expected), reloaded);
}

struct CompileCase {
    std::string line;
    const char* code;  // hex
};

TEST(Compiler, OneLine)
{
    const CompileCase cases[] = {
        {"Sleep 5", "01 05"},
        {"sleep 300", "01 2C"},
        {"sleep 255", "01 FF"},
        {"sleep 256", "01 00"},
        {"sleep -1", "01 FF"},
        {"sleep $1F", "01 1F"},
        {"sleep 0x10", "01 10"},
        {"sleep x10", "01 10"},
        {"sleep 7 seconds", "01 07"},
        {"close now", "07"},
        {"close   ", "07"},
        {"SHUTDOWN", "02"},
        {"logoff", "03"},
        {"reboot", "04"},
        {"poweroff", "05"},
        {"deactivate", "06"},
        {"Activate", "0E"},
        {"press ALT", "0C 00"},
        {"press a", "0C FF 41"},
        {"release A", "0D FF 41"},
        {"press 1", "0C FF 31"},
        {"press !", "0C FF 31"},
        {"press \xE9", "0C FF FF"},
        {"press Apps extra", "0C 21"},
        {"key ctrl shift escape", "08 03 01 02 10"},
        {"key alt f4", "08 02 00 06"},
        {"key ctrl x", "08 03 01 FF 58"},
        {"key ctrl foo c", "08 03 01 FF 43"},
        {"KEY CTRL ALT DELETE", "08 03 01 00 1D"},
        {"key", "08 00"},
        {"key foo bar", "08 00"},
        {"key ctrl  alt", "08 01 01"},
        {"text Hi", "0B 03 48 69 00"},
        {"text", "0B 01 00"},
        {"text ", "0B 01 00"},
        {"text Hello  World", "0B 06 48 65 6C 6C 6F 00"},
        {"text a ", "0B 02 61 00"},
        {"print report.txt", "0A 0B 72 65 70 6F 72 74 2E 74 78 74 00"},
        {"open  notepad", "09 09 20 6E 6F 74 65 70 61 64 00"},
        {"open \"C:\\a b\\x.exe\" -q", "09 12 22 43 3A 5C 61 20 62 5C 78 2E 65 78 65 22 20 2D 71 00"},
        {"text\tHi", ""},
        {" close", ""},
        {"rem start mail", ""},
        {"", ""},
        {"closed", ""},
        {std::string("close\0 x", 8), "07"},  // a line ends at a zero character
        {std::string("text a\0b", 8), "0B 02 61 00"},
    };
    for (const CompileCase& c : cases)
        EXPECT_EQ(Compile({c.line}), Hex(c.code)) << '"' << c.line << '"';
}

TEST(Compiler, NoStatementsGiveEmptyByteCode)
{
    EXPECT_EQ(Compile({}), ByteCode());
    EXPECT_EQ(Compile({"; a comment", "", "  ", "opn notepad"}), ByteCode());
}

TEST(Compiler, LimitsAreKeptToTheByte)
{
    std::string longest(MaxTextLength, 'x');
    ByteCode code = Compile({"text " + longest});
    ASSERT_EQ(code.size(), 2 + MaxTextLength + 1);
    EXPECT_EQ(code[1], 255);
    EXPECT_EQ(code.back(), 0);

    // 127 characters and one name: 255 bytes of keys.
    std::string chord = "key ctrl";
    for (int i = 0; i < 127; i++)
        chord += " a";
    code = Compile({chord});
    ASSERT_EQ(code.size(), 2u + 255);
    EXPECT_EQ(code[1], 255);

    Script full(500, "sleep 1");
    EXPECT_EQ(Compile(full).size(), MaxCodeSize);
}

TEST(Compiler, SleepWithoutAnIntegerIsAConversionError)
{
    const std::pair<const char*, const char*> cases[] = {
        {"sleep", "'' is not a valid integer value"},
        {"sleep  5", "'' is not a valid integer value"},
        {"sleep five", "'five' is not a valid integer value"},
        {"sleep 5s", "'5s' is not a valid integer value"},
        {"sleep 99999999999", "'99999999999' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        try {
            Compile({"close", c.first});
            ADD_FAILURE() << c.first << " compiled";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), c.second);
        }
    }
}

// What cannot be stored is refused with the line that holds it; nothing is
// truncated and no count disagrees with what follows it.
TEST(Compiler, RefusesWhatCannotBeStored)
{
    std::string chord = "key";
    for (int i = 0; i < 128; i++)
        chord += " a";
    Script tooLong(500, "sleep 1");
    tooLong.push_back("close");
    Script straddling(498, "sleep 1");
    straddling.push_back("text abc");

    const std::pair<Script, const char*> cases[] = {
        {{"close", "press"},
         "Line 2 \"press\": a key name or a single character must follow \"press\"."},
        {{"release "},
         "Line 1 \"release \": a key name or a single character must follow \"release\"."},
        {{"press  a"},
         "Line 1 \"press  a\": a key name or a single character must follow \"press\"."},
        {{"press control"}, "Line 1 \"press control\": \"control\" is not a key name."},
        {{"text " + std::string(MaxTextLength + 1, 'x')}, nullptr},
        {{"open " + std::string(200, 'x') + " " + std::string(60, 'y')}, nullptr},
        {{chord}, nullptr},
        {tooLong, "Line 501 \"close\": the script is too long to be stored; split it into "
                  "several commands."},
        {straddling, nullptr},
    };
    for (const auto& c : cases) {
        std::string message = Refusal(c.first);
        size_t line = c.first.size();
        std::string shown = c.first.back();
        if (shown.size() > 60)
            shown = shown.substr(0, 57) + "...";
        EXPECT_EQ(message.rfind("Line " + std::to_string(line) + " \"" + shown + "\": ", 0), 0u)
            << message;
        if (c.second)
            EXPECT_EQ(message, c.second);
    }
    EXPECT_EQ(Refusal({"text " + std::string(MaxTextLength + 1, 'x')}),
              "Line 1 \"text " + std::string(52, 'x') +
                  "...\": the text is longer than 254 characters.");
}

struct RegenerateCase {
    const char* code;  // hex
    Script lines;
};

TEST(Regenerator, OneLinePerStatement)
{
    const RegenerateCase cases[] = {
        {"", {}},
        {"08 00", {"key"}},
        {"0B 01 00", {"text "}},
        {"01 2C", {"sleep 44"}},
        {"01 00 01 FF", {"sleep 0", "sleep 255"}},
        {"0C FF 41", {"press A"}},
        {"0C 10", {"press escape"}},
        {"0D 21", {"release apps"}},
        {"08 03 01 FF 53", {"key ctrl S"}},
        {"0C FF 31", {"press 1"}},
        {"0C FF FF", {"press "}},
        {"08 04 01 FF FF 00", {"key ctrl  alt"}},
        {"02 03 04 05 06 07 0E", {"shutdown", "logoff", "reboot", "poweroff", "deactivate",
                                  "close", "activate"}},
        {"09 09 20 6E 6F 74 65 70 61 64 00", {"open  notepad"}},
        {"0A 02 61 00", {"print a"}},
        {"0B 04 61 00 62 00", {"text a"}},
        {"00 0F FF 07 80 0E", {"close", "activate"}},
    };
    for (const RegenerateCase& c : cases)
        EXPECT_EQ(Regenerate(Hex(c.code)), c.lines) << c.code;
}

TEST(Regenerator, AppendsToTheLinesItHas)
{
    TCommand command({"; kept"}, UsEnglishLocale());
    const uint8_t code[] = {7};
    command.Regenerate(code, sizeof code);
    EXPECT_EQ(command.Lines, (Script{"; kept", "close"}));
}

// The statements before a faulty one come back; the walk ends there.
TEST(Regenerator, MalformedByteCodeKeepsWhatFits)
{
    const RegenerateCase cases[] = {
        {"07 01", {"close"}},
        {"07 0C", {"close"}},
        {"07 0C FF", {"close"}},
        {"07 0C 22 07", {"close"}},
        {"07 08 05 01", {"close"}},
        {"07 08 02 01 FF 41", {"close"}},
        {"07 0B 05 61 00", {"close"}},
        {"0B 02 61 62 07", {"text ab", "close"}},
    };
    for (const RegenerateCase& c : cases)
        EXPECT_EQ(Regenerate(Hex(c.code)), c.lines) << c.code;
}

// Reloading normalises a script; the byte code stays the same.
TEST(RoundTrip, NormalisesTheScript)
{
    const Script typed = {"; open mail", "Sleep 05", "sleep 300", "PRESS !", "key Ctrl foo x",
                          "text Hello  World", "Close now"};
    const Script expected = {"sleep 5", "sleep 44", "press 1", "key ctrl X", "text Hello",
                             "close"};
    ByteCode code = Compile(typed);
    EXPECT_EQ(Regenerate(code), expected);
    EXPECT_EQ(Compile(Regenerate(code)), code);
}

// A raw key that has no character comes back empty, and the next save refuses it.
TEST(RoundTrip, KeyWithoutACharacterIsRefusedAtTheNextSave)
{
    Script reloaded = Regenerate(Compile({"press \xE9"}));
    EXPECT_EQ(reloaded, Script{"press "});
    EXPECT_NE(Refusal(reloaded), "");
}

// Scripts of random statements, written as a user might: compile, regenerate
// and compile again gives the same bytes, and regenerating those the same lines.
class ScriptMaker {
public:
    explicit ScriptMaker(unsigned seed) : random_(seed) {}

    Script Make()
    {
        Script lines;
        for (int n = Pick(12); n > 0; n--)
            lines.push_back(Line());
        return lines;
    }

private:
    std::mt19937 random_;

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string MixCase(std::string word)
    {
        for (char& c : word)
            if (Pick(2))
                c = char(std::toupper(static_cast<unsigned char>(c)));
        return word;
    }

    // A character the US layout can type, other than the space.
    char Typeable()
    {
        for (;;) {
            char c = char(1 + Pick(255));
            if (c != ' ' && UsEnglishLocale().KeyScan(c) != -1)
                return c;
        }
    }

    std::string Key()
    {
        switch (Pick(3)) {
        case 0: return std::string(1, Typeable());
        case 1: return MixCase(KeyNameTable[Pick(KeyNameCount)].name);
        default: return "notakey";
        }
    }

    std::string Text()
    {
        std::string text;
        for (int n = Pick(30); n > 0; n--) {
            char c = char(1 + Pick(255));
            text += Pick(5) == 0 ? ' ' : c;
        }
        return text;
    }

    std::string Line()
    {
        static const char* const simple[] = {"shutdown", "logoff", "reboot", "poweroff",
                                             "deactivate", "activate", "close"};
        switch (Pick(9)) {
        case 0: return MixCase(simple[Pick(7)]) + (Pick(2) ? " and more" : "");
        case 1: {
            static const char* const forms[] = {"%d", "$%X", "0x%x", "x%X"};
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, forms[Pick(4)], Pick(2000) - 500);
            return MixCase("sleep") + " " + seconds;
        }
        case 2: return MixCase(Pick(2) ? "press" : "release") + " " + Key();
        case 3: {
            std::string line = MixCase("key");
            for (int n = Pick(6); n > 0; n--)
                line += " " + Key();
            return line;
        }
        case 4: return MixCase("open") + " " + Text();
        case 5: return MixCase("print") + " " + Text();
        case 6: return MixCase("text") + " " + Text();
        case 7: return " close";
        default: return "; " + Text();
        }
    }
};

TEST(RoundTrip, CompileRegenerateCompileIsStable)
{
    for (unsigned seed = 1; seed <= 2000; seed++) {
        Script script = ScriptMaker(seed).Make();
        ByteCode first;
        try {
            first = Compile(script);
        } catch (const ECompileError&) {
            continue;  // a press of "notakey"
        }
        Script regenerated = Regenerate(first);
        ByteCode second = Compile(regenerated);
        ASSERT_EQ(second, first) << "seed " << seed;
        ASSERT_EQ(Regenerate(second), regenerated) << "seed " << seed;
    }
}

TEST(Words, CutAtEverySingleSpace)
{
    const struct {
        const char* line;
        size_t n;
        const char* word;
    } cases[] = {
        {"key ctrl s", 0, "key"},  {"key ctrl s", 2, "s"},    {"key ctrl s", 3, ""},
        {" close", 0, ""},         {" close", 1, "close"},    {"a  b", 1, ""},
        {"a  b", 2, "b"},          {"a ", 1, ""},             {"text\tHi", 0, "text\tHi"},
        {"", 0, ""},               {"", 5, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WordOf(c.line, c.n), c.word) << '"' << c.line << "\" " << c.n;
}

}  // namespace
