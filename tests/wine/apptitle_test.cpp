// The taskbar button of the installer and the configuration utility: one
// button, carrying the application's title rather than the main window's
// caption; the forms are owned by its window; minimising hides them behind it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "focus.h"
#include "installer/resource.h"
#include "installerrun.h"
#include "winetest.h"

namespace {

// What the taskbar shows a button for.
bool HasTaskbarButton(HWND window)
{
    return IsWindowVisible(window) && !GetWindow(window, GW_OWNER) &&
           !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string CaptionOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

HWND RootOwner(HWND window)
{
    while (HWND owner = GetWindow(window, GW_OWNER))
        window = owner;
    return window;
}

struct ProcessWindows {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOfProcess(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<ProcessWindows*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search.process)
        search.found.push_back(window);
    return TRUE;
}

// Every top-level window of a process, shown or not.
std::vector<HWND> TopLevelWindows(const Process& program)
{
    ProcessWindows search{program.pi.dwProcessId, {}};
    EnumWindows(CollectOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> TaskbarButtons(const Process& program)
{
    std::vector<HWND> buttons;
    for (HWND window : TopLevelWindows(program))
        if (HasTaskbarButton(window))
            buttons.push_back(window);
    return buttons;
}

HWND ShownMainForm(const Process& program)
{
    for (HWND window : TopLevelWindows(program))
        if (ClassOf(window) == "TMainForm" && IsWindowVisible(window))
            return window;
    return nullptr;
}

struct Program {
    const char* file;
    const char* title;        // on the taskbar button
    const char* mainCaption;  // of the main window
};

const Program Programs[] = {
    {"Orv Install.exe", "Orvanta 2.00.2 Installation Program",
     "Orvanta 3.7.14 Installation Program"},
    {"Orv Configuration.exe", "Orvanta Configuration", "Orvanta Configuration"},
};

// Close on the button's menu ends the program as the main window's close box does.
TEST(AppTitle, OneTaskbarButtonCarriesTheTitleAndOwnsEveryWindow)
{
    ClearSystemRegistry();
    for (const Program& p : Programs) {
        SCOPED_TRACE(p.file);
        Process program = Start("\"" + BinDir() + p.file + "\"");
        HWND main = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (main = ShownMainForm(program)) != nullptr; }, 20000));
        EXPECT_EQ(CaptionOf(main), p.mainCaption);

        std::vector<HWND> buttons = TaskbarButtons(program);
        ASSERT_EQ(buttons.size(), 1u);
        HWND application = buttons[0];
        EXPECT_EQ(CaptionOf(application), p.title);
        EXPECT_EQ(ClassOf(application), "TApplication");
        EXPECT_EQ(GetWindow(main, GW_OWNER), application);
        // Hidden forms, tool tips and all: none can come up as a button of its
        // own. The system's input-method window of the thread is not the program's.
        for (HWND window : TopLevelWindows(program))
            if (window != application && ClassOf(window) != "IME")
                EXPECT_EQ(RootOwner(window), application)
                    << ClassOf(window) << " \"" << CaptionOf(window) << "\"";

        PostMessageA(application, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(program.Wait(10000), 0);
    }
}

class InstallerButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSystemRegistry();
        ASSERT_TRUE(installer.Open());
        application = GetWindow(installer.main, GW_OWNER);
        ASSERT_TRUE(application);
        welcome = FindWindowA("TWelcomeForm", "Welcome!");
    }
    Installer installer;
    HWND application = nullptr, welcome = nullptr;
};

// The main window's minimise box leaves only the button; the button brings the
// window back as it was, with the keyboard in Path, and the welcome window,
// hidden until the installation ends, stays hidden.
TEST_F(InstallerButton, MinimiseBoxHidesTheWindowBehindTheButtonUntilItIsRestored)
{
    installer.Type("C:\\Program Files\\Orv");
    PostMessageA(installer.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(application) && !IsWindowVisible(installer.main); },
                          5000));
    EXPECT_FALSE(IsIconic(installer.main)) << "the button is minimised, not the window";
    EXPECT_EQ(TaskbarButtons(installer.process), std::vector<HWND>{application});

    PostMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(application) && IsWindowVisible(installer.main); },
                          5000));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == installer.main &&
                                       FocusOf(installer.main) == installer.Item(IDC_PATH); },
                          5000));
    EXPECT_EQ(installer.PathText(), "C:\\Program Files\\Orv");
    EXPECT_TRUE(installer.Enabled(IDC_GO));
    EXPECT_FALSE(IsWindowVisible(welcome));
    EXPECT_EQ(TaskbarButtons(installer.process), std::vector<HWND>{application});
}

}  // namespace
