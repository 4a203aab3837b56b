// Orv Configuration driven from outside, as a user would: its real window,
// its controls found by identifier, list items read and changed through the
// list view's own messages, and the results read back from the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include "common/layout.h"
#include "common/store.h"
#include "common/winregistry.h"
#include "config/resource.h"
#include "enginerun.h"
#include "installation.h"
#include "remotelist.h"
#include "speech.h"
#include "winetest.h"

namespace {

const char* const Title = "Orvanta Configuration";
const char* const ConfigExe = "Orv Configuration.exe";

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s += char(b);
    return s;
}

std::string Utf16(const std::string& ascii)
{
    std::string s;
    for (char c : ascii)
        s += std::string{c, '\0'};
    return s + std::string(2, '\0');
}

StoredCommand Stored(const std::string& phrase, const std::string& description,
                     const std::string& code, bool enabled = true)
{
    StoredCommand c;
    c.phrase = phrase;
    c.description = description;
    c.code.assign(code.begin(), code.end());
    c.enabled = enabled;
    return c;
}

void WriteFixture(const std::vector<StoredCommand>& commands)
{
    WinRegistry reg;
    WriteStore(reg, SystemLocale(), commands);
}

void SetOptions(const std::string& installPath, DWORD autoLoad)
{
    SetText(OptionsKeyPath, InstallPathValue, installPath);
    SetDword(OptionsKeyPath, AutoLoadValue, autoLoad);
}

// Every value of a key by name.
std::map<std::string, RawValue> KeyValues(const char* path)
{
    std::map<std::string, RawValue> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    char name[256];
    for (DWORD i = 0;; i++) {
        DWORD size = sizeof(name);
        if (RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        values[name] = ReadValue(path, name);
    }
    RegCloseKey(key);
    return values;
}

std::vector<std::string> Names(const std::map<std::string, RawValue>& values)
{
    std::vector<std::string> names;
    for (const auto& v : values)
        names.push_back(v.first);
    return names;
}

// The engine's indicator has the same title as the restart question: the
// question is the one the configuration window owns.
struct QuestionSearch {
    HWND owner, found;
};

BOOL CALLBACK MatchQuestion(HWND w, LPARAM context)
{
    auto s = reinterpret_cast<QuestionSearch*>(context);
    char title[64] = "", cls[64] = "";
    GetWindowTextA(w, title, sizeof(title));
    GetClassNameA(w, cls, sizeof(cls));
    if (GetWindow(w, GW_OWNER) != s->owner || strcmp(title, "Orvanta") || strcmp(cls, "#32770"))
        return TRUE;
    s->found = w;
    return FALSE;
}

HWND WaitForQuestion(HWND owner, DWORD milliseconds)
{
    QuestionSearch search{owner, nullptr};
    WaitUntil([&] { return EnumWindows(MatchQuestion, LPARAM(&search)), search.found != nullptr; },
              milliseconds);
    return search.found;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// The program with its window and controls.
struct Config {
    Process process;
    HWND window = nullptr;

    Config()
    {
        process = Start('"' + BinDir() + ConfigExe + '"');
        // The window shows once it has loaded.
        window = WaitForWindow(Title, 30000, "TMainForm");
    }

    HWND operator[](int id) const { return FindControl(window, id); }
    RemoteList List() const { return RemoteList((*this)[IDC_LIST]); }

    // A click that does its work before it returns.
    void Click(int id) const
    {
        DWORD_PTR result;
        SendMessageTimeoutA((*this)[id], BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    }
    // A click that may open a message box.
    void PostClick(int id) const { PostMessageA((*this)[id], BM_CLICK, 0, 0); }

    void Fields(const std::string& voice, const std::string& description,
                const std::string& program) const
    {
        TypeText((*this)[IDC_VOICE], voice);
        TypeText((*this)[IDC_DESCRIPTION], description);
        TypeText((*this)[IDC_PROGRAM], program);
    }
    std::vector<std::string> Shown() const
    {
        return {WindowText((*this)[IDC_VOICE]), WindowText((*this)[IDC_DESCRIPTION]),
                WindowText((*this)[IDC_PROGRAM])};
    }
    std::vector<std::string> Captions() const
    {
        RemoteList list = List();
        std::vector<std::string> captions;
        for (int i = 0; i < list.Count(); i++)
            captions.push_back(list.Text(i));
        return captions;
    }
    std::vector<bool> Checks() const
    {
        RemoteList list = List();
        std::vector<bool> checks;
        for (int i = 0; i < list.Count(); i++)
            checks.push_back(list.Checked(i));
        return checks;
    }
    bool EditButtonsEnabled() const
    {
        bool del = IsWindowEnabled((*this)[IDC_DELETE]), mod = IsWindowEnabled((*this)[IDC_MODIFY]);
        EXPECT_EQ(del, mod) << "Delete and Modify go together";
        return del && mod;
    }
    // Save & Close with no engine running: the program ends without a question.
    void SaveAndExit()
    {
        PostClick(IDC_SAVECLOSE);
        ASSERT_EQ(process.Wait(20000), 0) << "the window did not close after saving";
    }
};

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSystemRegistry(); }
    void TearDown() override { ClearSystemRegistry(); }
};

// Three commands, the second disabled; their byte code as the compiler writes it.
std::vector<StoredCommand> ThreeCommands()
{
    return {Stored("close mail", "Close the mail program", Bytes({0x08, 0x02, 0x00, 0x06})),
            Stored("open mail", "", Bytes({0x01, 0x2C, 0x08, 0x03, 0x01, 0xFF, 0x53}), false),
            Stored("stop listening", "Recognition off", Bytes({0x06}))};
}

TEST_F(ConfigTest, LoadsTheStoreInStoreOrderWithTheirChecks)
{
    WriteFixture(ThreeCommands());
    SetOptions("C:\\Tools\\", 1);
    Config config;
    ASSERT_TRUE(config.window);
    RemoteList list = config.List();
    EXPECT_EQ(config.Captions(),
              (std::vector<std::string>{"close mail", "open mail", "stop listening"}));
    EXPECT_EQ(list.Text(0, 1), "Close the mail program");
    EXPECT_EQ(list.Text(1, 1), "");
    EXPECT_EQ(config.Checks(), (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(SendMessageA(config[IDC_AUTOLOAD], BM_GETCHECK, 0, 0));
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_FALSE(config.EditButtonsEnabled());
}

TEST_F(ConfigTest, WithoutAStoreTheListIsEmptyAndAutoloadShowsTheFlag)
{
    for (DWORD flag : {0u, 1u}) {
        SetOptions("C:\\Tools\\", flag);
        Config config;
        ASSERT_TRUE(config.window);
        EXPECT_EQ(config.List().Count(), 0);
        EXPECT_EQ(SendMessageA(config[IDC_AUTOLOAD], BM_GETCHECK, 0, 0), LRESULT(flag));
    }
}

void SetRaw(const char* name, DWORD type, const std::string& bytes)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, CommandsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   DWORD(bytes.size()));
    RegCloseKey(key);
}

// Values that disagree with Count, odd sizes and byte code cut off: the
// window still opens, and its next save is a whole, consistent store.
TEST_F(ConfigTest, ADamagedStoreOpensAndIsSavedWhole)
{
    SetRaw("Count", REG_DWORD, Bytes({4, 0, 0, 0}));
    SetRaw("Active", REG_BINARY, Bytes({1}));
    SetRaw("0", REG_BINARY, Bytes({'a', 0, 'b'}));          // no zero code unit, odd size
    SetRaw("4", REG_BINARY, Bytes({0x08, 0x09, 0x22}));     // key count past the end
    SetRaw("5", REG_BINARY, Bytes({0x0C}));                 // press without its key
    SetRaw("6", REG_BINARY, Bytes({0x0B, 0xFF, 'x', 0x63}));  // text length past the end
    SetRaw("8", REG_SZ, "desc");                             // no terminating zero
    Config config;
    ASSERT_TRUE(config.window);
    ASSERT_EQ(config.List().Count(), 4);
    // Missing phrases read as empty and sort before "a", which is the one enabled.
    EXPECT_EQ(config.Captions(), (std::vector<std::string>{"", "", "", "a"}));
    EXPECT_EQ(config.Checks(), (std::vector<bool>{false, false, false, true}));
    config.SaveAndExit();
    auto values = KeyValues(CommandsKeyPath);
    EXPECT_EQ(values.size(), 14u);
    EXPECT_EQ(values["Count"].bytes, Bytes({4, 0, 0, 0}));
    EXPECT_EQ(values["Active"].bytes, Bytes({0, 0, 0, 1}));
    EXPECT_EQ(values["3"].bytes, Utf16("a"));
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(values[std::to_string(8 + i)].type, DWORD(REG_SZ)) << i;
}

TEST_F(ConfigTest, SelectingShowsTheRegeneratedScriptAndTypingSurvivesTheCheckBox)
{
    WriteFixture(ThreeCommands());
    Config config;
    ASSERT_TRUE(config.window);
    RemoteList list = config.List();

    list.Select(1);
    EXPECT_EQ(config.Shown(), (std::vector<std::string>{"open mail", "", "sleep 44\r\nkey ctrl S"}));
    EXPECT_TRUE(config.EditButtonsEnabled());

    config.Fields("typed phrase", "typed text", "text typed");
    list.SetChecked(1, true);
    EXPECT_TRUE(list.Checked(1));
    EXPECT_EQ(config.Shown(), (std::vector<std::string>{"typed phrase", "typed text", "text typed"}));

    // Resting the mouse on another item selects it and shows it.
    RECT rc = list.ItemRect(2);
    PostMessageA(config[IDC_LIST], WM_MOUSEHOVER, 0,
                 MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
    EXPECT_TRUE(WaitUntil([&] { return list.Selected() == 2; }, 3000));
    EXPECT_EQ(config.Shown(), (std::vector<std::string>{"stop listening", "Recognition off",
                                                        "deactivate"}));

    // Deselected and selected again: the buttons come back, typed text stays.
    config.Fields("typed again", "", "");
    list.Select(2, false);
    EXPECT_FALSE(config.EditButtonsEnabled());
    list.Select(2);
    EXPECT_TRUE(config.EditButtonsEnabled());
    EXPECT_EQ(WindowText(config[IDC_VOICE]), "typed again");
}

TEST_F(ConfigTest, AddKeepsTheListSortedAndTheNewItemCheckedAndSelected)
{
    WriteFixture(ThreeCommands());
    Config config;
    ASSERT_TRUE(config.window);
    RemoteList list = config.List();

    // A copy of the disabled command still comes in enabled.
    list.Select(1);
    config.Fields("mail", "Copy", "sleep 44\r\n");
    config.Click(IDC_ADD);
    EXPECT_EQ(config.Captions(), (std::vector<std::string>{"close mail", "mail", "open mail",
                                                           "stop listening"}));
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(config.Checks(), (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(config.Shown(), (std::vector<std::string>{"mail", "Copy", "sleep 44"}));
    EXPECT_TRUE(config.EditButtonsEnabled());

    // Nothing is validated: an empty phrase sorts first, a repeated one is added again.
    config.Fields("", "", "");
    config.Click(IDC_ADD);
    config.Fields("mail", "again", "no keyword here");
    config.Click(IDC_ADD);
    EXPECT_EQ(config.Captions(), (std::vector<std::string>{"", "close mail", "mail", "mail",
                                                           "open mail", "stop listening"}));
    EXPECT_EQ(list.Text(list.Selected(), 1), "again");
}

TEST_F(ConfigTest, ModifyMovesTheItemAndKeepsItsCheckAndSelection)
{
    WriteFixture(ThreeCommands());
    Config config;
    ASSERT_TRUE(config.window);
    RemoteList list = config.List();

    list.Select(1);  // "open mail", disabled
    config.Fields("zoom in", "Bigger", "key ctrl +");
    config.Click(IDC_MODIFY);
    EXPECT_EQ(config.Captions(),
              (std::vector<std::string>{"close mail", "stop listening", "zoom in"}));
    EXPECT_EQ(list.Selected(), 2);
    EXPECT_EQ(list.Text(2, 1), "Bigger");
    EXPECT_EQ(config.Checks(), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(config.Shown(), (std::vector<std::string>{"zoom in", "Bigger", "key ctrl +"}));

    // Another item shows its own script, and coming back shows the modified one.
    list.Select(0);
    list.Select(2);
    EXPECT_EQ(config.Shown(), (std::vector<std::string>{"zoom in", "Bigger", "key ctrl +"}));
}

TEST_F(ConfigTest, DeleteLeavesNoSelectionAndTheFieldsUntilAnotherItemIsChosen)
{
    WriteFixture(ThreeCommands());
    Config config;
    ASSERT_TRUE(config.window);
    RemoteList list = config.List();

    list.Select(1);
    config.Click(IDC_DELETE);
    EXPECT_EQ(config.Captions(), (std::vector<std::string>{"close mail", "stop listening"}));
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_FALSE(config.EditButtonsEnabled());
    EXPECT_EQ(WindowText(config[IDC_VOICE]), "open mail");

    // The item now at the deleted one's place fills the fields.
    list.Select(1);
    EXPECT_EQ(config.Shown(),
              (std::vector<std::string>{"stop listening", "Recognition off", "deactivate"}));
    EXPECT_TRUE(config.EditButtonsEnabled());
}

TEST_F(ConfigTest, RenamingInPlaceRefusesAnEmptyPhraseAndSortsAnotherOne)
{
    WriteFixture(ThreeCommands());
    Config config;
    ASSERT_TRUE(config.window);
    RemoteList list = config.List();

    HWND edit = list.EditLabel(0);
    ASSERT_TRUE(edit);
    TypeText(edit, "");
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    HWND box = WaitForDialog("Error modifying command", 5000);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "Invalid Voice command");
    EXPECT_EQ(GetWindow(box, GW_OWNER), config.window);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    EXPECT_EQ(config.Captions(),
              (std::vector<std::string>{"close mail", "open mail", "stop listening"}));

    // The renamed item moves; the fields still belong to it, so toggling its
    // check box afterwards leaves what was typed.
    edit = list.EditLabel(0);
    ASSERT_TRUE(edit);
    TypeText(config[IDC_DESCRIPTION], "typed");
    TypeText(edit, "zap mail");
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitUntil([&] { return list.Text(2) == "zap mail"; }, 5000));
    EXPECT_EQ(config.Captions(),
              (std::vector<std::string>{"open mail", "stop listening", "zap mail"}));
    EXPECT_EQ(list.Text(2, 1), "Close the mail program");
    EXPECT_EQ(list.Selected(), 2);
    EXPECT_EQ(config.Checks(), (std::vector<bool>{false, true, true}));
    list.SetChecked(2, false);
    EXPECT_EQ(WindowText(config[IDC_DESCRIPTION]), "typed");
}

TEST_F(ConfigTest, SaveWritesTheStoreByteForByte)
{
    SetOptions("C:\\Tools\\", 0);
    Config config;
    ASSERT_TRUE(config.window);
    config.Fields("", "", "");
    config.Click(IDC_ADD);
    config.Fields("open editor", "Notepad", "open notepad\r\nrem not a statement");
    config.Click(IDC_ADD);
    config.Fields("wait", "Twelve chars", "Sleep 300");
    config.Click(IDC_ADD);
    config.List().SetChecked(2, false);
    config.SaveAndExit();

    auto values = KeyValues(CommandsKeyPath);
    EXPECT_EQ(Names(values), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8",
                                                       "Active", "Count"}));
    struct Row {
        const char* name;
        DWORD type;
        std::string bytes;
    } rows[] = {
        {"0", REG_BINARY, Utf16("")},
        {"1", REG_BINARY, Utf16("open editor")},
        {"2", REG_BINARY, Utf16("wait")},
        {"3", REG_BINARY, ""},
        {"4", REG_BINARY, Bytes({0x09, 0x08}) + "notepad" + Bytes({0})},
        {"5", REG_BINARY, Bytes({0x01, 0x2C})},
        {"6", REG_SZ, Bytes({0})},
        {"7", REG_SZ, std::string("Notepad") + Bytes({0})},
        {"8", REG_SZ, std::string("Twelve chars") + Bytes({0})},
        {"Active", REG_BINARY, Bytes({1, 1, 0})},
        {"Count", REG_DWORD, Bytes({3, 0, 0, 0})},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(values[row.name].type, row.type) << row.name;
        EXPECT_EQ(values[row.name].bytes, row.bytes) << row.name;
    }
}

TEST_F(ConfigTest, AnEmptyListIsSavedAsCountZero)
{
    Config config;
    ASSERT_TRUE(config.window);
    config.SaveAndExit();
    auto values = KeyValues(CommandsKeyPath);
    EXPECT_EQ(Names(values), (std::vector<std::string>{"Active", "Count"}));
    EXPECT_EQ(values["Active"].type, DWORD(REG_BINARY));
    EXPECT_EQ(values["Active"].bytes, "");
    EXPECT_EQ(values["Count"].bytes, Bytes({0, 0, 0, 0}));
}

TEST_F(ConfigTest, SavingTwoAfterFiveLeavesOnlyTheTwo)
{
    std::vector<StoredCommand> five;
    for (char c : std::string("abcde"))
        five.push_back(Stored(std::string(1, c), "d", Bytes({0x07})));
    WriteFixture(five);
    Config config;
    ASSERT_TRUE(config.window);
    for (int i = 0; i < 3; i++) {
        config.List().Select(0);
        config.Click(IDC_DELETE);
    }
    config.SaveAndExit();
    EXPECT_EQ(Names(KeyValues(CommandsKeyPath)),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "Active", "Count"}));
    EXPECT_EQ(ReadValue(CommandsKeyPath, "0").bytes, Utf16("d"));
    EXPECT_EQ(ReadValue(CommandsKeyPath, "1").bytes, Utf16("e"));
}

TEST_F(ConfigTest, AutoloadAndTheLogOnEntryChangeTogether)
{
    struct Case {
        const char* installPath;
        bool autoload;
        const char* logOnEntry;  // nullptr: no value
    } cases[] = {
        {"C:\\Tools\\", true, "C:\\Tools\\Orvanta.exe"},
        {"C:\\Program Files\\Orvanta\\", true, "\"C:\\Program Files\\Orvanta\\Orvanta.exe\""},
        {"C:\\Tools\\", false, nullptr},
        {"C:\\Tools\\", false, nullptr},  // a second save without the entry is harmless
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.installPath) + (c.autoload ? " on" : " off"));
        SetText(OptionsKeyPath, InstallPathValue, c.installPath);
        Config config;
        ASSERT_TRUE(config.window);
        if (bool(SendMessageA(config[IDC_AUTOLOAD], BM_GETCHECK, 0, 0)) != c.autoload)
            config.Click(IDC_AUTOLOAD);
        config.SaveAndExit();
        RawValue flag = ReadValue(OptionsKeyPath, AutoLoadValue);
        EXPECT_EQ(flag.type, DWORD(REG_DWORD));
        EXPECT_EQ(flag.bytes, Bytes({c.autoload ? 1 : 0, 0, 0, 0}));
        RawValue entry = ReadValue(RunKeyPath, RunValue);
        EXPECT_EQ(entry.found, c.logOnEntry != nullptr);
        if (c.logOnEntry) {
            EXPECT_EQ(entry.type, DWORD(REG_SZ));
            EXPECT_EQ(entry.bytes, std::string(c.logOnEntry) + Bytes({0}));
        }
    }
}

TEST_F(ConfigTest, AScriptTheCompilerRefusesLeavesTheRegistryAsItWas)
{
    WriteFixture(ThreeCommands());
    SetOptions("C:\\Tools\\", 0);
    auto before = KeyValues(CommandsKeyPath);
    auto optionsBefore = KeyValues(OptionsKeyPath);
    Config config;
    ASSERT_TRUE(config.window);
    config.Click(IDC_AUTOLOAD);
    config.Fields("nap", "", "text fine\r\nsleep abc");
    config.Click(IDC_ADD);

    config.PostClick(IDC_SAVECLOSE);
    HWND box = WaitForDialog(Title, 10000);
    ASSERT_TRUE(box);
    std::string text = MessageBoxText(box);
    // The conversion's own text, closed with a full stop as the error box does.
    EXPECT_EQ(text, "'abc' is not a valid integer value.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), config.window);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));

    EXPECT_TRUE(IsWindow(config.window));
    EXPECT_EQ(config.List().Count(), 4);
    auto after = KeyValues(CommandsKeyPath);
    ASSERT_EQ(Names(after), Names(before));
    for (const auto& v : before)
        EXPECT_EQ(after[v.first].bytes, v.second.bytes) << v.first;
    EXPECT_EQ(ReadValue(OptionsKeyPath, AutoLoadValue).bytes,
              optionsBefore[AutoLoadValue].bytes);
    EXPECT_FALSE(ReadValue(RunKeyPath, RunValue).found);

    // Corrected, the next Save & Close writes everything.
    config.Fields("nap", "", "sleep 1");
    config.Click(IDC_MODIFY);
    config.SaveAndExit();
    EXPECT_EQ(ReadValue(CommandsKeyPath, "Count").bytes, Bytes({4, 0, 0, 0}));
    EXPECT_TRUE(ReadValue(RunKeyPath, RunValue).found);
}

// A stand-in for the running engine: a window titled "Orvanta" that ends on
// the close request, on a thread of its own so that it answers while the test waits.
class FakeEngine {
public:
    // By default a dialog box, as the engine's indicator is; another class
    // stands for a different program's window that has the same title.
    explicit FakeEngine(const char* className = "#32770") : className_(className)
    {
        thread_ = std::thread([this] { Run(); });
        WaitUntil([this] { return ready_; }, 5000);
    }
    ~FakeEngine()
    {
        if (IsWindow(window_))
            PostMessageA(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    bool CloseRequested() const { return closeRequested_; }
    bool Open() const { return IsWindow(window_); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto self = reinterpret_cast<FakeEngine*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        static UINT closeRequest = RegisterWindowMessageA("OrvantaCloseRequest");
        if (self && (message == WM_NOTIFY || message == closeRequest) && wParam == 256 &&
            lParam == 256) {
            self->closeRequested_ = true;
            DestroyWindow(hwnd);
            return 0;
        }
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    void Run()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FakeOrvantaFolder";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW, className_, "Orvanta", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, LONG_PTR(this));
        SetWindowLongPtrA(window_, GWLP_WNDPROC, LONG_PTR(Proc));
        ready_ = true;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
    }
    const char* className_;
    std::thread thread_;
    HWND window_ = nullptr;
    volatile bool ready_ = false;
    volatile bool closeRequested_ = false;
};

// Started by the configuration program in place of the engine (a copy of
// this test program, told by its environment to run only this test): leaves
// its command line in a file.
TEST(FakeEngineStart, RecordsItsCommandLine)
{
    const char* marker = std::getenv("ORV_FAKE_ENGINE_MARKER");
    if (!marker)
        GTEST_SKIP() << "only as the stand-in engine";
    WriteBytes(marker, GetCommandLineA());
}

TEST_F(ConfigTest, ARunningEngineIsOfferedARestartAfterTheSave)
{
    std::string folder = FreshFolder("engine folder");  // a space in the path
    std::string marker = folder + "started.txt";
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_TRUE(CopyFileA(self, (folder + "Orvanta.exe").c_str(), FALSE));

    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        DeleteFileA(marker.c_str());
        ClearSystemRegistry();
        SetOptions(folder, 0);
        FakeEngine engine;

        SetEnvironmentVariableA("GTEST_FILTER", "FakeEngineStart.*");
        SetEnvironmentVariableA("ORV_FAKE_ENGINE_MARKER", marker.c_str());
        Config config;
        SetEnvironmentVariableA("GTEST_FILTER", nullptr);
        SetEnvironmentVariableA("ORV_FAKE_ENGINE_MARKER", nullptr);
        ASSERT_TRUE(config.window);

        config.Fields("hello", "", "text hello");
        config.Click(IDC_ADD);
        config.PostClick(IDC_SAVECLOSE);
        HWND box = WaitForQuestion(config.window, 10000);
        ASSERT_TRUE(box);
        EXPECT_EQ(MessageBoxText(box), "You must reload Orvanta to activate changes you made.\n"
                                       "Yes - reload now, No - do nothing");
        // The question comes only once the store is complete.
        EXPECT_EQ(ReadValue(CommandsKeyPath, "Count").bytes, Bytes({1, 0, 0, 0}));
        PressButton(box, answer);
        EXPECT_EQ(config.process.Wait(10000), 0);

        EXPECT_EQ(engine.CloseRequested(), answer == IDYES);
        EXPECT_EQ(engine.Open(), answer == IDNO);
        if (answer == IDYES) {
            // The file exists a moment before the stand-in has written into it.
            EXPECT_TRUE(WaitUntil([&] { return !ReadBytes(marker).empty(); }, 20000));
            EXPECT_EQ(ReadBytes(marker), '"' + folder + "Orvanta.exe\"");
        } else {
            Sleep(500);
            EXPECT_FALSE(FileExists(marker));
        }
    }
}

// A window of another program with the engine's title, such as a shell
// window showing the Start-menu folder "Orvanta", is neither asked about
// nor sent the close request.
TEST_F(ConfigTest, AnotherWindowTitledOrvantaIsNotTakenForTheEngine)
{
    SetOptions("C:\\Tools\\", 0);
    FakeEngine folder("FakeOrvantaFolder");
    ASSERT_TRUE(folder.Open());
    Config config;
    ASSERT_TRUE(config.window);
    config.SaveAndExit();
    EXPECT_FALSE(folder.CloseRequested());
    EXPECT_TRUE(folder.Open());
}

// The real engine, when it has been built beside the configuration program.
TEST_F(ConfigTest, YesRestartsTheRealEngineAndNoLeavesItRunning)
{
    if (!FileExists(BinDir() + EngineFile))
        GTEST_SKIP() << "no engine in " << BinDir();
    // With the speech stand-in, the new engine shows which commands it loaded.
    bool speech = RegisterSpeech();
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        ClearSystemRegistry();
        WriteFixture(ThreeCommands());
        SetOptions(BinDir(), 0);
        Process engine = StartEngine();
        HWND indicator = WaitForIndicator();
        ASSERT_TRUE(indicator);

        Config config;
        ASSERT_TRUE(config.window);
        config.List().Select(0);
        config.Click(IDC_DELETE);
        config.PostClick(IDC_SAVECLOSE);
        HWND box = WaitForQuestion(config.window, 10000);
        ASSERT_TRUE(box);
        PressButton(box, answer);
        EXPECT_EQ(config.process.Wait(10000), 0);
        EXPECT_EQ(ReadValue(CommandsKeyPath, "Count").bytes, Bytes({2, 0, 0, 0}));

        if (answer == IDNO) {
            EXPECT_TRUE(engine.Running());
            SendCloseRequest(indicator);
            EXPECT_EQ(engine.Wait(15000), 1);
            continue;
        }
        EXPECT_EQ(engine.Wait(15000), 1) << "the old engine ends as after Exit";
        HWND fresh = nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] {
                fresh = FindWindowA("#32770", "Orvanta");
                return fresh && ProcessOf(fresh) != engine.pi.dwProcessId;
            },
            15000))
            << "no new engine";
        if (!fresh)
            continue;
        if (speech) {
            EXPECT_EQ(Say(L"close mail"), 1) << "deleted before the save";
            EXPECT_EQ(Say(L"open mail"), 1) << "disabled";
            EXPECT_EQ(Say(L"stop listening"), 0) << "kept";
        }
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, ProcessOf(fresh));
        SendCloseRequest(fresh);
        EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
        CloseHandle(process);
    }
    if (speech)
        UnregisterSpeech();
}

}  // namespace
