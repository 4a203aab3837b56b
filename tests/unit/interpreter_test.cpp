#include "common/locale.h"
#include "engine/interpreter.h"

#include <gtest/gtest.h>

#include <cctype>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Writes down every request, one short line each, in the order they came.
class RecordingHost : public ScriptHost {
public:
    std::vector<std::string> events;

    void KeyDown(uint8_t vk) override { Add("down %02X", vk); }
    void KeyUp(uint8_t vk) override { Add("up %02X", vk); }
    int16_t KeyScan(char ch) override { return UsEnglishLocale().KeyScan(ch); }
    void Sleep(uint32_t ms) override { Add("sleep %u", ms); }
    void ExitSystem(uint32_t flags) override { Add("exit %u", flags); }
    void ShellOpen(const std::string& file, const std::string& parameters,
                   bool hasParameters) override
    {
        events.push_back("open [" + file + "]" + (hasParameters ? " [" + parameters + "]" : ""));
    }
    void ShellPrint(const std::string& file) override { events.push_back("print [" + file + "]"); }
    void SetRecognitionActive(bool active) override { Add("active %u", unsigned(active)); }
    void CloseEngine() override { events.push_back("close"); }

private:
    void Add(const char* format, unsigned value)
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, format, value);
        events.push_back(buffer);
    }
};

std::vector<uint8_t> Bytes(std::initializer_list<int> bytes)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The bytes of a text-operand statement, zero byte counted.
std::vector<uint8_t> TextStatement(uint8_t opcode, const std::string& text)
{
    std::vector<uint8_t> code = {opcode, uint8_t(text.size() + 1)};
    code.insert(code.end(), text.begin(), text.end());
    code.push_back(0);
    return code;
}

std::vector<std::string> EventsOf(const std::vector<uint8_t>& code)
{
    RecordingHost host;
    RunScript(code.data(), code.size(), host);
    return host.events;
}

struct RunCase {
    const char* what;
    std::vector<uint8_t> code;
    std::vector<std::string> events;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.what; }

class RunEvents : public testing::TestWithParam<RunCase> {};

TEST_P(RunEvents, AreSentInOrder)
{
    EXPECT_EQ(EventsOf(GetParam().code), GetParam().events) << GetParam().what;
}

const RunCase runCases[] = {
    {"nothing", {}, {}},
    {"sleep 0 and 255", Bytes({1, 0, 1, 255}), {"sleep 0", "sleep 255000"}},
    {"the exit-windows family",
     Bytes({2, 3, 4, 5}),
     {"exit 1", "exit 0", "exit 2", "exit 8"}},
    {"deactivate, activate", Bytes({6, 14}), {"active 0", "active 1"}},
    {"empty chord", Bytes({8, 0}), {}},
    {"chord ctrl alt delete",
     Bytes({8, 3, 1, 0, 29}),
     {"down 11", "down 12", "down 2E", "up 2E", "up 12", "up 11"}},
    {"chord mixing a name and a raw key",
     Bytes({8, 3, 1, 255, 0x53}),
     {"down 11", "down 53", "up 53", "up 11"}},
    {"raw key 255 in a chord", Bytes({8, 2, 255, 255}), {"down FF", "up FF"}},
    {"press and release by name and raw",
     Bytes({12, 2, 13, 2, 12, 255, 0x41, 13, 255, 0x41}),
     {"down 10", "up 10", "down 41", "up 41"}},
    {"unassigned opcodes are skipped",
     Bytes({0, 15, 7, 200, 255, 14}),
     {"close", "active 1"}},
    {"statements after close still run", Bytes({7, 2}), {"close", "exit 1"}},
    {"empty text", Bytes({11, 1, 0}), {}},
    {"text of lower and upper case",
     TextStatement(11, "aA"),
     {"down 41", "up 41", "down 10", "down 41", "up 41", "up 10"}},
    {"text of a shifted symbol", TextStatement(11, "!"),
     {"down 10", "down 31", "up 31", "up 10"}},
    {"text the layout cannot type",
     TextStatement(11, "\xE9"),
     {"down 10", "down FF", "up FF", "up 10"}},
    {"text stops at its zero byte", Bytes({11, 4, 'a', 0, 'b', 0}), {"down 41", "up 41"}},
    {"print keeps quotes", TextStatement(10, "\"a b.txt\" x"), {"print [\"a b.txt\" x]"}},
};

// Test names from the case descriptions: "chord ctrl alt delete" runs as ChordCtrlAltDelete.
std::string CaseName(const testing::TestParamInfo<RunCase>& info)
{
    std::string name;
    bool upper = true;
    for (const char* p = info.param.what; *p; p++) {
        if (!std::isalnum(static_cast<unsigned char>(*p))) {
            upper = true;
            continue;
        }
        name += upper ? char(std::toupper(static_cast<unsigned char>(*p))) : *p;
        upper = false;
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Interpreter, RunEvents, testing::ValuesIn(runCases), CaseName);

struct OpenCase {
    const char* operand;
    const char* event;
};

// The quote rule splits program and parameters; a lone quote opens the whole text.
TEST(Interpreter, OpenSplitsAtQuotes)
{
    const OpenCase cases[] = {
        {"notepad.exe", "open [notepad.exe]"},
        {"C:\\My Files\\notes.txt", "open [C:\\My Files\\notes.txt]"},
        {"\"C:\\Program Files\\app.exe\" one two",
         "open [\"C:\\Program Files\\app.exe\"] [one two]"},
        {"\"C:\\Program Files\\app.exe\"", "open [\"C:\\Program Files\\app.exe\"] []"},
        {"\"app.exe\" ", "open [\"app.exe\"] []"},
        {"\"app.exe\"xy", "open [\"app.exe\"] [y]"},
        {"run \"a b\" c", "open [run \"a b\"] [c]"},
        {"\"a\" \"b c\"", "open [\"a\"] [\"b c\"]"},
        {"\"unclosed path", "open [\"unclosed path]"},
        {"half\"", "open [half\"]"},
        {"", "open []"},
    };
    for (const OpenCase& c : cases)
        EXPECT_EQ(EventsOf(TextStatement(9, c.operand)), std::vector<std::string>{c.event})
            << c.operand;
}

// A layout that gives { with Ctrl+Alt and } with Ctrl+Alt+Shift: only Shift is pressed.
TEST(Interpreter, TextHonoursOnlyTheShiftBit)
{
    class AltGrHost : public RecordingHost {
        int16_t KeyScan(char ch) override
        {
            return ch == '{' ? 0x637 : ch == '}' ? 0x730 : RecordingHost::KeyScan(ch);
        }
    } host;
    const std::vector<uint8_t> code = TextStatement(11, "{}");
    RunScript(code.data(), code.size(), host);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"down 37", "up 37", "down 10", "down 30", "up 30", "up 10"}));
}

// Byte code the compiler cannot make: the run performs the statements that fit
// and stops at the first that does not, never reading past the end. A text
// operand without its zero byte still fits: it ends with its length.
TEST(Interpreter, MalformedByteCodeStaysWithinItsBytes)
{
    const RunCase cases[] = {
        {"sleep without seconds", Bytes({7, 1}), {"close"}},
        {"press at the end", Bytes({7, 12}), {"close"}},
        {"escape without its code", Bytes({7, 12, 255}), {"close"}},
        {"key index past the table", Bytes({7, 12, 34, 7}), {"close"}},
        {"key list count past the end", Bytes({7, 8, 3, 1, 0}), {"close"}},
        {"key list with an index past the table", Bytes({7, 8, 2, 1, 99, 7}), {"close"}},
        {"key list ending inside an escape", Bytes({7, 8, 2, 1, 255, 0x41, 7}), {"close"}},
        {"text length past the end", Bytes({7, 11, 9, 'a', 0}), {"close"}},
        {"text length 0 (no zero byte)", Bytes({11, 0, 7}), {"close"}},
        {"text without its zero byte", Bytes({11, 1, 'a', 7}), {"down 41", "up 41", "close"}},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(EventsOf(c.code), c.events) << c.what;
}

}  // namespace
