// The engine with the speech stand-in: spoken phrases run their commands,
// recognition switches off and on, and the scripts reach back to the engine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "common/layout.h"
#include "enginerun.h"
#include "keyhook.h"
#include "speech.h"

namespace {

// Keys no program of the test desktop reacts to.
const BYTE F13 = VK_F13, F14 = VK_F14, F15 = VK_F15;

const COLORREF Green = RGB(0, 128, 0), Red = RGB(255, 0, 0);

class EngineSpeech : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterSpeech()); }
    static void TearDownTestSuite() { UnregisterSpeech(); }

    void SetUp() override { ClearSystemRegistry(); }
    void TearDown() override
    {
        if (indicator && engine.Running()) {
            SendCloseRequest(indicator);
            engine.Wait(10000);
        }
        ClearSystemRegistry();
    }

    void Start(const std::vector<StoredCommand>& commands)
    {
        WriteCommands(commands);
        engine = StartEngine();
        indicator = WaitForIndicator();
        ASSERT_NE(indicator, nullptr);
    }

    // Collects key events until count have come or the time is up.
    std::vector<KeyEvent> Keys(size_t count, DWORD milliseconds = 10000)
    {
        std::vector<KeyEvent> all;
        DWORD start = GetTickCount();
        while (all.size() < count && GetTickCount() - start < milliseconds) {
            std::vector<KeyEvent> some;
            hook.Take(some);
            all.insert(all.end(), some.begin(), some.end());
            if (all.size() < count)
                Sleep(50);
        }
        return all;
    }

    // The colour of one dot of the cross, read from the screen.
    COLORREF IconColour()
    {
        RECT r = WindowRect(indicator);
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, r.left + 1 + 1, r.top + 1 + 7);  // border, then the dot
        ReleaseDC(nullptr, screen);
        return c;
    }
    bool WaitForColour(COLORREF colour)
    {
        return WaitUntil([&] { return IconColour() == colour; }, 5000);
    }

    KeyHook hook{true};
    Process engine;
    HWND indicator = nullptr;
};

TEST_F(EngineSpeech, SpokenPhraseRunsItsScript)
{
    Start({MakeCommand("open notes", TapCode(F13))});
    ASSERT_TRUE(hook.Installed());
    std::string said;
    EXPECT_EQ(Say(L"open notes", 100, &said), 0) << said;
    std::vector<KeyEvent> expected = {Down(F13), Up(F13)};
    EXPECT_EQ(Keys(2), expected);
}

// Disabled commands are not registered, and the others keep their store
// index as identifier, so the right byte code runs.
TEST_F(EngineSpeech, DisabledCommandsAreNotHeardAndIndicesAreStoreIndices)
{
    Start({MakeCommand("alpha", TapCode(F13), false),
           MakeCommand("bravo", TapCode(F14), false),
           MakeCommand("charlie", TapCode(F15))});
    EXPECT_EQ(Say(L"alpha"), 1);
    EXPECT_EQ(Say(L"bravo"), 1);
    EXPECT_EQ(Say(L"charlie"), 0);
    std::vector<KeyEvent> expected = {Down(F15), Up(F15)};
    EXPECT_EQ(Keys(2), expected);
    EXPECT_EQ(Keys(1, 500), std::vector<KeyEvent>());
}

TEST_F(EngineSpeech, TwoCommandsWithOnePhraseAreBothRegistered)
{
    Start({MakeCommand("delta", TapCode(F13)), MakeCommand("delta", TapCode(F14))});
    EXPECT_EQ(Say(L"delta"), 0);
    std::vector<KeyEvent> keys = Keys(4);
    std::sort(keys.begin(), keys.end(), [](const KeyEvent& a, const KeyEvent& b) {
        return a.vk != b.vk ? a.vk < b.vk : a.up < b.up;
    });
    std::vector<KeyEvent> expected = {Down(F13), Up(F13), Down(F14), Up(F14)};
    EXPECT_EQ(keys, expected);
}

// Below the threshold nothing is heard; 50 holds when none is stored.
TEST_F(EngineSpeech, ThresholdDecidesWhatIsHeard)
{
    struct Case {
        bool stored;
        DWORD threshold;
        int confidence;
        int heard;  // say's exit code
    };
    const Case cases[] = {
        {false, 0, 49, 1}, {false, 0, 50, 0}, {true, 70, 69, 1}, {true, 70, 70, 0},
        {true, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "threshold " << (c.stored ? int(c.threshold) : -1)
                                        << ", confidence " << c.confidence);
        ClearSystemRegistry();
        if (c.stored)
            WriteOption(ThresholdValue, c.threshold);
        Start({MakeCommand("echo", TapCode(F13))});
        EXPECT_EQ(Say(L"echo", c.confidence), c.heard);
        SendCloseRequest(indicator);
        EXPECT_EQ(engine.Wait(10000), 1);
    }
}

// Each way of switching recognition shows the new state and is obeyed.
TEST_F(EngineSpeech, RecognitionSwitchesOffAndOn)
{
    Start({MakeCommand("foxtrot", TapCode(F13))});
    struct Way {
        const char* name;
        UINT msg;
        WPARAM wParam;
    };
    const Way ways[] = {
        {"menu item", WM_COMMAND, 40002},
        {"double-click", WM_LBUTTONDBLCLK, 0},
        {"double-click on the border", WM_NCLBUTTONDBLCLK, HTBORDER},
    };
    ASSERT_TRUE(WaitForColour(Green));
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        SendMessageA(indicator, way.msg, way.wParam, 0);
        EXPECT_TRUE(WaitForColour(Red));
        EXPECT_EQ(Say(L"foxtrot"), 1);
        SendMessageA(indicator, way.msg, way.wParam, 0);
        EXPECT_TRUE(WaitForColour(Green));
        EXPECT_EQ(Say(L"foxtrot"), 0);
        std::vector<KeyEvent> expected = {Down(F13), Up(F13)};
        EXPECT_EQ(Keys(2), expected);
    }
}

// "deactivate" and "activate" in a script: the engine stops listening in
// between and listens again after.
TEST_F(EngineSpeech, ScriptsSwitchRecognitionOffAndOn)
{
    Start({MakeCommand("golf", TapCode(F13)),
           MakeCommand("pause", DeactivateCode + SleepCode(4) + ActivateCode + TapCode(F14))});
    EXPECT_EQ(Say(L"pause"), 0);
    EXPECT_TRUE(WaitForColour(Red));
    EXPECT_EQ(Say(L"golf"), 1);
    std::vector<KeyEvent> resumed = {Down(F14), Up(F14)};
    EXPECT_EQ(Keys(2), resumed);
    EXPECT_TRUE(WaitForColour(Green));
    EXPECT_EQ(Say(L"golf"), 0);
    std::vector<KeyEvent> heard = {Down(F13), Up(F13)};
    EXPECT_EQ(Keys(2), heard);
}

TEST_F(EngineSpeech, CloseScriptEndsTheEngine)
{
    Start({MakeCommand("goodbye", CloseCode)});
    EXPECT_EQ(Say(L"goodbye"), 0);
    EXPECT_EQ(engine.Wait(10000), 1);
    DWORD x = 0;
    EXPECT_TRUE(ReadOption(InfoXValue, x));
}

// Fifty recognitions of a sleeping command run side by side; the engine
// answers meanwhile and every run finishes.
TEST_F(EngineSpeech, OverlappingRecognitionsAllRun)
{
    const int runs = 50;
    const DWORD sleepMs = 8000;
    Start({MakeCommand("hotel", SleepCode(sleepMs / 1000) + TapCode(F13))});
    std::vector<Process> says;
    std::string line = "\"" + BinDir() + "say.exe\" hotel 100";
    DWORD first = GetTickCount();
    for (int i = 0; i < runs; i++)
        says.push_back(StartQuiet(line));
    int heard = 0;
    for (Process& say : says)
        heard += say.Wait(30000) == 0;
    EXPECT_EQ(heard, runs);
    // All heard before the first run woke: they really overlapped.
    std::vector<KeyEvent> early;
    if (GetTickCount() - first < sleepMs - 1000) {
        hook.Take(early);
        EXPECT_EQ(early, std::vector<KeyEvent>());
    }
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(indicator, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer));
    std::vector<KeyEvent> keys = Keys(2 * runs, 30000);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), Down(F13)), runs);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), Up(F13)), runs);
    EXPECT_TRUE(engine.Running());
}


// The service's own dialogs open with their titles, owned by the indicator.
TEST_F(EngineSpeech, MenuOpensTheServiceDialogs)
{
    Start({MakeCommand("india", {})});
    struct Item {
        WPARAM id;
        const char* title;
    };
    const Item items[] = {{40004, "Orvanta SR Parameters"}, {40005, "Orvanta Training"}};
    for (const Item& item : items) {
        SCOPED_TRACE(item.title);
        PostMessageA(indicator, WM_COMMAND, item.id, 0);
        HWND dialog = WaitForWindow(item.title, 10000);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), indicator);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    }
}

}  // namespace
