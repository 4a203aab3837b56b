// The engine's script host running byte code: the key events that reach the
// system, the shell's "open" and "print", and what it posts to the indicator.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "engine/scripthost.h"
#include "keyhook.h"
#include "winetest.h"

using Bytes = std::vector<uint8_t>;

namespace {

void RunCode(const Bytes& code, HWND indicator = nullptr)
{
    Win32ScriptHost host(indicator);
    RunScript(code.data(), code.size(), host);
}

// Text bytes as a text operand: length byte, the text, the zero.
Bytes TextOperand(uint8_t opcode, const std::string& text)
{
    Bytes code{opcode, uint8_t(text.size() + 1)};
    code.insert(code.end(), text.begin(), text.end());
    code.push_back(0);
    return code;
}

// Down and up of each key, inside Shift down and up where marked.
std::vector<KeyEvent> Typed(const std::vector<std::pair<BYTE, bool>>& keys)
{
    std::vector<KeyEvent> events;
    for (auto [vk, shift] : keys) {
        if (shift)
            events.push_back(Down(VK_SHIFT));
        events.push_back(Down(vk));
        events.push_back(Up(vk));
        if (shift)
            events.push_back(Up(VK_SHIFT));
    }
    return events;
}

}  // namespace

TEST(ScriptHostKeys, SendsExactlyTheEventsOfEachStatement)
{
    struct Case {
        const char* script;
        Bytes code;
        std::vector<KeyEvent> expected;
    };
    const Case cases[] = {
        {"(nothing)", {}, {}},
        {"key ctrl alt delete", {0x08, 0x03, 0x01, 0x00, 0x1D},
         {Down(VK_CONTROL), Down(VK_MENU), Down(VK_DELETE), Up(VK_DELETE), Up(VK_MENU), Up(VK_CONTROL)}},
        {"key ctrl s", {0x08, 0x03, 0x01, 0xFF, 0x53},
         {Down(VK_CONTROL), Down('S'), Up('S'), Up(VK_CONTROL)}},
        {"key (no keys)", {0x08, 0x00}, {}},
        {"key f1 enter escape tab", {0x08, 0x04, 0x03, 0x0F, 0x10, 0x1B},
         {Down(VK_F1), Down(VK_RETURN), Down(VK_ESCAPE), Down(VK_TAB),
          Up(VK_TAB), Up(VK_ESCAPE), Up(VK_RETURN), Up(VK_F1)}},
        {"text A", TextOperand(0x0B, "A"), Typed({{'A', true}})},
        {"text (empty)", TextOperand(0x0B, ""), {}},
        {"text Hello World", TextOperand(0x0B, "Hello World"),
         Typed({{'H', true}, {'E', false}, {'L', false}, {'L', false}, {'O', false},
                {VK_SPACE, false}, {'W', true}, {'O', false}, {'R', false}, {'L', false},
                {'D', false}})},
        {"text a1!", TextOperand(0x0B, "a1!"), Typed({{'A', false}, {'1', false}, {'1', true}})},
        {"press shift, text ab, release shift", {0x0C, 0x02, 0x0B, 0x03, 'a', 'b', 0x00, 0x0D, 0x02},
         {Down(VK_SHIFT), Down('A'), Up('A'), Down('B'), Up('B'), Up(VK_SHIFT)}},
        {"press a, release a (escaped)", {0x0C, 0xFF, 0x41, 0x0D, 0xFF, 0x41}, {Down('A'), Up('A')}},
        {"sleep 0, unassigned opcodes, key shift", {0x01, 0x00, 0x00, 0x0F, 0xFF, 0x08, 0x01, 0x02},
         {Down(VK_SHIFT), Up(VK_SHIFT)}},
    };
    KeyHook hook(true);
    ASSERT_TRUE(hook.Installed());
    std::vector<KeyEvent> events;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        RunCode(c.code);
        ASSERT_TRUE(hook.Take(events)) << "the marker key never reached the hook";
        EXPECT_EQ(c.expected, events);
    }
}

// A character the layout cannot produce comes back from VkKeyScanA as -1:
// every bit set, so it is typed as Shift with the key 255.
TEST(ScriptHostKeys, TypesAnUnmappedCharacterAsShiftAndKey255)
{
    const char unmapped = char(0xFE);
    ASSERT_EQ(-1, VkKeyScanA(unmapped)) << "this layout maps the character";
    KeyHook hook(true);
    RunCode(TextOperand(0x0B, std::string(1, unmapped)));
    std::vector<KeyEvent> events;
    ASSERT_TRUE(hook.Take(events));
    EXPECT_EQ(Typed({{0xFF, true}}), events);
}

TEST(ScriptHostKeys, SleepsWholeSecondsBetweenStatements)
{
    KeyHook hook(true);
    RunCode({0x0C, 0x02, 0x01, 0x01, 0x0D, 0x02});  // press shift, sleep 1, release shift
    std::vector<KeyEvent> events;
    ASSERT_TRUE(hook.Take(events));
    ASSERT_EQ((std::vector<KeyEvent>{Down(VK_SHIFT), Up(VK_SHIFT)}), events);
    DWORD pause = events[1].time - events[0].time;
    EXPECT_GE(pause, 990u);
    EXPECT_LT(pause, 3000u);
}

namespace {

// A copy of this program named "echo args.exe" stands for what the shell
// starts: it writes its arguments, one a line, to args.txt beside itself and
// ends before any test runs.
constexpr char EchoName[] = "echo args.exe";

std::string Narrow(const wchar_t* text)
{
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string out(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.resize(n - 1);
    return out;
}

std::string ModulePath()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
}

bool EchoIfCopy()
{
    std::string self = ModulePath();
    size_t name = self.rfind('\\') + 1;
    if (lstrcmpiA(self.c_str() + name, EchoName) != 0)
        return false;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::string dir = self.substr(0, name);
    {
        std::ofstream out(dir + "args.tmp", std::ios::binary);
        for (int i = 1; i < argc; i++)
            out << Narrow(argv[i]) << '\n';
    }
    MoveFileA((dir + "args.tmp").c_str(), (dir + "args.txt").c_str());  // appears whole
    ExitProcess(0);
}

const bool isEchoCopy = EchoIfCopy();

}  // namespace

// A folder with spaces in its name holding the echo program.
class ScriptHostShell : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "orv shell test\\";
        echo = dir + EchoName;
        CreateDirectoryA(dir.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(ModulePath().c_str(), echo.c_str(), FALSE));
        DeleteFileA((dir + "args.txt").c_str());
    }

    void TearDown() override
    {
        DeleteFileA((dir + "args.txt").c_str());
        DeleteFileA((dir + "report 1.orvprint").c_str());
        // The echo program may still be ending.
        WaitUntil([&] { return DeleteFileA(echo.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }, 5000);
        RemoveDirectoryA(dir.c_str());
    }

    // Waits for the echo program's arguments; false if it never ran.
    bool EchoedArguments(std::vector<std::string>& args)
    {
        std::string file = dir + "args.txt";
        if (!WaitUntil([&] { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000))
            return false;
        args.clear();
        {
            std::ifstream in(file);
            for (std::string line; std::getline(in, line);)
                args.push_back(line);
        }
        DeleteFileA(file.c_str());
        return true;
    }

    std::string dir;
    std::string echo;
};

TEST_F(ScriptHostShell, OpenSplitsAQuotedProgramFromItsParameters)
{
    struct Case {
        const char* what;
        std::string operand;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"quoted path and two arguments", '"' + echo + "\" one \"two three\"", {"one", "two three"}},
        {"quoted path alone", '"' + echo + '"', {}},
        {"path with spaces, no quotes", echo, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunCode(TextOperand(0x09, c.operand));
        std::vector<std::string> args;
        ASSERT_TRUE(EchoedArguments(args)) << "the program was not started: " << c.operand;
        EXPECT_EQ(c.expected, args);
    }
}

TEST_F(ScriptHostShell, OpenWithAnUnpairedQuoteGoesOnWithTheNextStatement)
{
    KeyHook hook(true);
    Bytes code = TextOperand(0x09, '"' + echo + " one");
    code.insert(code.end(), {0x08, 0x01, 0x02});  // key shift
    RunCode(code);
    std::vector<KeyEvent> events;
    ASSERT_TRUE(hook.Take(events));
    EXPECT_EQ((std::vector<KeyEvent>{Down(VK_SHIFT), Up(VK_SHIFT)}), events);
}

// "print" uses the document type's print command, here the echo program.
TEST_F(ScriptHostShell, PrintHandsTheDocumentToItsPrintCommand)
{
    std::string command = '"' + echo + "\" printed \"%1\"";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, ".orvprint", REG_SZ, "OrvPrintTest", 0));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, "OrvPrintTest\\shell\\print\\command",
                                          REG_SZ, command.c_str(), 0));
    std::string document = dir + "report 1.orvprint";
    std::ofstream(document) << "report\n";

    RunCode(TextOperand(0x0A, document));
    std::vector<std::string> args;
    bool printed = EchoedArguments(args);
    for (const char* key : {"OrvPrintTest\\shell\\print\\command", "OrvPrintTest\\shell\\print",
                            "OrvPrintTest\\shell", "OrvPrintTest", ".orvprint"})
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    ASSERT_TRUE(printed) << "the print command was not started";
    EXPECT_EQ((std::vector<std::string>{"printed", document}), args);
}

namespace {

// The engine's worker thread runs the script; the indicator window belongs to
// the main thread and must only receive posted messages.
class IndicatorWindow {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        DWORD thread;
    };

    IndicatorWindow()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "OrvTestIndicator";
        RegisterClassA(&wc);
        window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(this));
    }
    ~IndicatorWindow() { DestroyWindow(window); }

    HWND window;
    std::vector<Received> received;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<IndicatorWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && (message == WMAPP_SETACTIVE || message == WMAPP_CLOSE))
            self->received.push_back({message, wParam, GetCurrentThreadId()});
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

struct WorkerRun {
    Bytes code;
    HWND indicator;
};

DWORD WINAPI RunOnWorker(void* param)
{
    auto* run = static_cast<WorkerRun*>(param);
    RunCode(run->code, run->indicator);
    return 0;
}

}  // namespace

TEST(ScriptHostIndicator, PostsRecognitionAndCloseAndGoesOnAfterClose)
{
    IndicatorWindow indicator;
    ASSERT_TRUE(indicator.window);
    KeyHook hook(true);
    // deactivate, activate, close, key shift; left to a worker that never ends
    auto* run = new WorkerRun{{0x06, 0x0E, 0x07, 0x08, 0x01, 0x02}, indicator.window};
    HANDLE worker = CreateThread(nullptr, 0, RunOnWorker, run, 0, nullptr);
    // The main thread does not pump here: a host that sent instead of posting would hang.
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(worker, 10000)) << "the run waited for the window";
    CloseHandle(worker);
    delete run;

    ASSERT_TRUE(WaitUntil([&] { return indicator.received.size() >= 3; }, 5000));
    DWORD mainThread = GetCurrentThreadId();
    ASSERT_EQ(3u, indicator.received.size());
    EXPECT_EQ(UINT(WMAPP_SETACTIVE), indicator.received[0].message);
    EXPECT_EQ(0u, indicator.received[0].wParam);
    EXPECT_EQ(UINT(WMAPP_SETACTIVE), indicator.received[1].message);
    EXPECT_EQ(1u, indicator.received[1].wParam);
    EXPECT_EQ(UINT(WMAPP_CLOSE), indicator.received[2].message);
    for (const auto& r : indicator.received)
        EXPECT_EQ(mainThread, r.thread);

    std::vector<KeyEvent> events;
    ASSERT_TRUE(hook.Take(events));
    EXPECT_EQ((std::vector<KeyEvent>{Down(VK_SHIFT), Up(VK_SHIFT)}), events);
}

namespace {

bool ShutdownEnabled(HANDLE token, LUID luid)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size))
        return false;
    auto* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; i++) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
            return (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return false;
}

}  // namespace

// Whatever privileges the token starts with, the host enables the one that
// ExitWindowsEx needs (the request itself would end the Wine session).
TEST(ScriptHostExit, EnablesTheShutdownPrivilege)
{
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES off{};
    off.PrivilegeCount = 1;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &off.Privileges[0].Luid));
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &off, 0, nullptr, nullptr));
    ASSERT_FALSE(ShutdownEnabled(token, off.Privileges[0].Luid));

    EnableShutdownPrivilege();
    EXPECT_TRUE(ShutdownEnabled(token, off.Privileges[0].Luid));
    CloseHandle(token);
}
