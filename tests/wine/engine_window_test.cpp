// The indicator window driven in this process: the engine's own code runs
// here, with no speech service, while a second thread plays the user.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>

#include "common/layout.h"
#include "engine/engine.h"
#include "engine/resource.h"
#include "engine/scripthost.h"
#include "enginerun.h"

namespace {

const COLORREF Green = RGB(0, 128, 0), Red = RGB(255, 0, 0);

class EngineWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSystemRegistry();
        // COM stays uninitialised on this thread, so the engine finds no
        // speech service whatever this Wine prefix has registered.
        Globals.instance = GetModuleHandleA(nullptr);
        WriteCommands({MakeCommand("nothing", {})});
    }
    void TearDown() override { ClearSystemRegistry(); }

    // Runs the indicator dialog as the engine does, while user() acts on it
    // from another thread; returns the dialog's result.
    INT_PTR RunIndicator(std::function<void(HWND)> user)
    {
        EXPECT_EQ(InitializeEngine(), 1);
        Globals.indicator = nullptr;
        ended = false;
        Context context{this, user};
        HANDLE thread = CreateThread(nullptr, 0, UserThread, &context, 0, nullptr);
        INT_PTR result = DialogBoxParamA(Globals.instance, MAKEINTRESOURCEA(IDD_INDICATOR),
                                         nullptr, IndicatorProc, 0);
        ended = true;
        WaitForSingleObject(thread, 30000);
        CloseHandle(thread);
        ShutdownEngine();
        return result;
    }

    struct Context {
        EngineWindow* self;
        std::function<void(HWND)> user;
    };
    static DWORD WINAPI UserThread(LPVOID param)
    {
        auto* c = static_cast<Context*>(param);
        HWND hwnd = nullptr;
        for (int i = 0; i < 500 && !(hwnd = Globals.indicator); i++)
            Sleep(10);
        for (int i = 0; i < 500 && hwnd && !IsWindowVisible(hwnd); i++)
            Sleep(10);
        if (hwnd)
            c->user(hwnd);
        if (hwnd && !c->self->ended)
            PostMessageA(hwnd, WM_COMMAND, IDM_EXIT, 0);  // let the test go on
        return 0;
    }

    // From the user's thread: true once the dialog has ended.
    bool Ended(DWORD milliseconds = 1000)
    {
        DWORD start = GetTickCount();
        while (!ended && GetTickCount() - start < milliseconds)
            Sleep(10);
        return ended;
    }

    std::atomic<bool> ended{false};
};

std::string FirstItem()
{
    char text[64] = "";
    GetMenuStringA(Globals.popupMenu, 0, text, sizeof(text), MF_BYPOSITION);
    return text;
}

UINT FirstItemId() { return GetMenuItemID(Globals.popupMenu, 0); }

COLORREF DotColour(HWND hwnd)
{
    HDC dc = GetDC(hwnd);
    COLORREF c = GetPixel(dc, 1, 7);
    ReleaseDC(hwnd, dc);
    return c;
}

HICON Icon(int id)
{
    return (HICON)LoadImageA(Globals.instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16,
                             LR_SHARED);
}

// The close request ends the engine whatever its wParam; nothing else in
// WM_NOTIFY does.
TEST_F(EngineWindow, NotifyEndsTheEngineOnlyWithLParam256)
{
    struct Case {
        WPARAM wParam;
        LPARAM lParam;
        bool ends;
    };
    const Case cases[] = {
        {256, 256, true}, {0, 256, true}, {7, 256, true}, {256, 0, false}, {256, 255, false},
        {256, 257, false}, {256, 0x10100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "wParam " << c.wParam << ", lParam " << c.lParam);
        bool endedByNotify = false;
        INT_PTR result = RunIndicator([&](HWND hwnd) {
            SendMessageA(hwnd, WM_NOTIFY, c.wParam, c.lParam);
            endedByNotify = Ended(c.ends ? 5000 : 300);
        });
        EXPECT_EQ(endedByNotify, c.ends);
        EXPECT_EQ(result, 1);
    }
}

TEST_F(EngineWindow, DialogCommandsAndUnknownItemsLeaveItOpen)
{
    bool endedEarly = true;
    RunIndicator([&](HWND hwnd) {
        for (WPARAM id : {IDOK, IDCANCEL, 0, 40000, 40007, 65535})
            SendMessageA(hwnd, WM_COMMAND, id, 0);
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        endedEarly = Ended(300);
    });
    EXPECT_FALSE(endedEarly);
}

// Every way of switching shows the state in the icon and names the next
// action in the first item.
TEST_F(EngineWindow, SwitchingShowsTheStateInIconAndMenu)
{
    RunIndicator([&](HWND hwnd) {
        EXPECT_EQ(FirstItem(), "&Deactivate");
        EXPECT_EQ(GetMenuDefaultItem(Globals.popupMenu, TRUE, 0), 0u);
        EXPECT_TRUE(WaitUntil([&] { return DotColour(hwnd) == Green; }, 2000));
        struct Step {
            const char* how;
            UINT msg;
            WPARAM wParam;
            int active;
            const char* item;
        };
        const Step steps[] = {
            {"double-click", WM_LBUTTONDBLCLK, 0, 0, "Activate"},
            {"double-click", WM_LBUTTONDBLCLK, 0, 1, "Deactivate"},
            {"first item", WM_COMMAND, IDM_TOGGLE, 0, "Activate"},
            {"first item", WM_COMMAND, IDM_TOGGLE, 1, "Deactivate"},
            {"script off", WMAPP_SETACTIVE, 0, 0, "Activate"},
            {"script off again", WMAPP_SETACTIVE, 0, 0, "Activate"},
            {"script on", WMAPP_SETACTIVE, 1, 1, "Deactivate"},
            {"script on again", WMAPP_SETACTIVE, 1, 1, "Deactivate"},
        };
        for (const Step& s : steps) {
            SCOPED_TRACE(s.how);
            SendMessageA(hwnd, s.msg, s.wParam, 0);
            EXPECT_EQ(Globals.recognitionActive != 0, s.active != 0);
            EXPECT_EQ(FirstItem(), s.item);
            EXPECT_EQ(FirstItemId(), UINT(IDM_TOGGLE));
            EXPECT_EQ(Globals.currentIcon, Icon(s.active ? IDI_ACTIVE : IDI_INACTIVE));
            EXPECT_EQ(DotColour(hwnd), s.active ? Green : Red);
        }
        EXPECT_EQ(GetMenuDefaultItem(Globals.popupMenu, TRUE, 0), 0u);
    });
}

TEST_F(EngineWindow, ScriptCloseEndsTheDialogWithOne)
{
    INT_PTR result = RunIndicator([&](HWND hwnd) {
        PostMessageA(hwnd, WMAPP_CLOSE, 0, 0);
        EXPECT_TRUE(Ended(5000));
    });
    EXPECT_EQ(result, 1);
}

// Without a speech service the service's dialogs are simply not there.
TEST_F(EngineWindow, SpeechDialogsDoNothingWithoutTheService)
{
    RunIndicator([&](HWND hwnd) {
        for (WPARAM id : {IDM_SRPARAMETERS, IDM_TRAINING}) {
            DWORD_PTR answer;
            EXPECT_TRUE(SendMessageTimeoutA(hwnd, WM_COMMAND, id, 0, SMTO_NORMAL, 3000, &answer));
        }
        EXPECT_FALSE(Ended(100));
    });
}

TEST_F(EngineWindow, AboutClosesOnlyWithItsCloseButton)
{
    RunIndicator([&](HWND hwnd) {
        PostMessageA(hwnd, WM_COMMAND, IDM_ABOUT, 0);
        HWND about = WaitForWindow("About Orvanta", 5000, "#32770");
        ASSERT_NE(about, nullptr);
        // The indicator answers while About is open: it has no owner.
        DWORD_PTR answer;
        EXPECT_TRUE(SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer));
        char text[64] = "";
        GetWindowTextA(GetDlgItem(about, IDOK), text, sizeof(text));
        EXPECT_STREQ(text, "&Close");
        SendMessageA(about, WM_COMMAND, IDCANCEL, 0);
        SendMessageA(about, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindowVisible(about));
        SendMessageA(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));
    });
}

// Without a recorded install folder, Options explains instead of starting
// something.
TEST_F(EngineWindow, OptionsWithoutInstallFolderTellsTheUser)
{
    RunIndicator([&](HWND hwnd) {
        PostMessageA(hwnd, WM_COMMAND, IDM_OPTIONS, 0);
        HWND box = WaitForWindow("Orv Configuration", 5000, "#32770");
        ASSERT_NE(box, nullptr);
        char text[256] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
        EXPECT_NE(std::string(text).find("install"), std::string::npos) << text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    });
}

// The program's path from a process, through psapi when it is there.
std::string ImagePath(DWORD processId)
{
    using GetName = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
    HMODULE psapi = LoadLibraryA("psapi.dll");
    auto getName = psapi ? (GetName)GetProcAddress(psapi, "GetModuleFileNameExA") : nullptr;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    char path[MAX_PATH] = "";
    if (getName && process)
        getName(process, nullptr, path, MAX_PATH);
    if (process)
        CloseHandle(process);
    return path;
}

// An install folder with spaces: the configuration utility itself starts,
// not a program named after the first word of the path.
TEST_F(EngineWindow, OptionsStartsTheConfigurationUtilityByItsWholePath)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string base = std::string(temp) + "Orv Options Test";
    std::string folder = base + "\\";
    std::string wanted = folder + ConfigFile;
    std::string trap = std::string(temp) + "Orv.exe";  // what "...\Orv Options..." would start
    std::string engine = BinDir() + EngineFile;
    CreateDirectoryA(base.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(engine.c_str(), wanted.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(engine.c_str(), trap.c_str(), FALSE));
    WriteOptionText(InstallPathValue, folder);

    std::string started;
    RunIndicator([&](HWND hwnd) {
        PostMessageA(hwnd, WM_COMMAND, IDM_OPTIONS, 0);
        HWND startup = WaitForWindow("Initializing...", 15000, "#32770");
        ASSERT_NE(startup, nullptr);
        DWORD pid = 0;
        GetWindowThreadProcessId(startup, &pid);
        started = ImagePath(pid);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    });
    auto upper = [](std::string text) {
        CharUpperBuffA(&text[0], DWORD(text.size()));
        return text;
    };
    EXPECT_EQ(upper(started), upper(wanted));
    DeleteFileA(wanted.c_str());
    DeleteFileA(trap.c_str());
    RemoveDirectoryA(base.c_str());
}


// Identifiers the engine never gave out, and commands that were not
// enabled, run nothing.
TEST_F(EngineWindow, RecognitionOfUnknownIdentifiersRunsNothing)
{
    WriteCommands({MakeCommand("off", CloseCode, false), MakeCommand("on", {})});
    RunIndicator([&](HWND hwnd) {
        for (UINT_PTR id : {UINT_PTR(0), UINT_PTR(2), UINT_PTR(1000), UINT_PTR(-1)})
            EXPECT_EQ(RunCommand(reinterpret_cast<LPVOID>(id)), 0u);
        EXPECT_FALSE(Ended(500));
    });
}

}  // namespace
