// The engine as a user and the configuration utility meet it: start-up,
// the indicator window, dragging, and the close request.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/layout.h"
#include "common/winregistry.h"
#include "enginerun.h"
#include "speech.h"

namespace {

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSystemRegistry();
        screenW = GetSystemMetrics(SM_CXSCREEN);
        screenH = GetSystemMetrics(SM_CYSCREEN);
    }
    void TearDown() override { ClearSystemRegistry(); }

    // Starts the engine on a one-command store and waits for its indicator.
    HWND StartWithStore()
    {
        WriteCommands({MakeCommand("nothing", {})});
        engine = StartEngine();
        HWND indicator = WaitForIndicator();
        EXPECT_NE(indicator, nullptr);
        return indicator;
    }
    // Ends the engine with the close request; returns its exit code.
    int Close(HWND indicator)
    {
        SendCloseRequest(indicator);
        return engine.Wait(10000);
    }

    int screenW = 0, screenH = 0;
    Process engine;
};

// Moves the mouse over a captured window to a point of the screen.
void MoveMouse(HWND hwnd, POINT screen)
{
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    SendMessageA(hwnd, WM_MOUSEMOVE, MK_LBUTTON,
                 MAKELPARAM(screen.x - origin.x, screen.y - origin.y));
}

// The text of a message box's message (its static control 0xFFFF).
std::string MessageText(HWND box)
{
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
}

TEST_F(Engine, WithoutCommandStoreRefusesToStartAndWritesNothing)
{
    engine = StartEngine();
    HWND box = WaitForWindow("Error initializing Orv", 15000, "#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageText(box), "Can't load settings. You need to run Orv Configuration.");
    EXPECT_EQ(FindWindowA(nullptr, "Orvanta"), nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(engine.Wait(10000), 0);
    EXPECT_FALSE(OptionsKeyExists());
}

TEST_F(Engine, StartupWindowShowsAtLeastHalfASecondThenHides)
{
    WriteCommands({MakeCommand("nothing", {})});
    engine = StartEngine();
    HWND startup = WaitForWindow("Initializing...", 15000, "#32770");
    ASSERT_NE(startup, nullptr);
    DWORD seen = GetTickCount();
    EXPECT_EQ(FindWindowA(nullptr, "Orvanta"), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(startup); }, 15000));
    DWORD shown = GetTickCount() - seen;
    // Seeing it shown late only shortens what is measured: leave room for a busy machine.
    EXPECT_GE(shown, 400u) << "the start-up window went after " << shown << " ms";
    HWND indicator = WaitForIndicator();
    ASSERT_NE(indicator, nullptr);
    EXPECT_TRUE(IsWindowVisible(indicator));
    EXPECT_EQ(Close(indicator), 1);
}

TEST_F(Engine, IndicatorIsTopmostAndSitsInTheTopRightCornerByDefault)
{
    HWND indicator = StartWithStore();
    ASSERT_NE(indicator, nullptr);
    EXPECT_TRUE(GetWindowLongA(indicator, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r = WindowRect(indicator);
    EXPECT_EQ(r.left, screenW - 18);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 18);
    EXPECT_EQ(r.bottom - r.top, 18);
    RECT client{};
    GetClientRect(indicator, &client);
    EXPECT_EQ(client.right, 16);
    EXPECT_EQ(client.bottom, 16);
    EXPECT_EQ(Close(indicator), 1);
    DWORD x = 0, y = 0;
    ASSERT_TRUE(ReadOption(InfoXValue, x));
    ASSERT_TRUE(ReadOption(InfoYValue, y));
    EXPECT_EQ(int(x), screenW - 18);
    EXPECT_EQ(int(y), 0);
}

// Stored places are used as they are, even off the screen.
TEST_F(Engine, IndicatorTakesTheStoredPlaceUnchanged)
{
    const POINT places[] = {{100, 200}, {5000, -300}, {-40, 700}};
    for (POINT place : places) {
        SCOPED_TRACE(testing::Message() << place.x << "," << place.y);
        WriteOption(InfoXValue, DWORD(place.x));
        WriteOption(InfoYValue, DWORD(place.y));
        HWND indicator = StartWithStore();
        ASSERT_NE(indicator, nullptr);
        RECT r = WindowRect(indicator);
        EXPECT_EQ(r.left, place.x);
        EXPECT_EQ(r.top, place.y);
        EXPECT_EQ(Close(indicator), 1);
    }
}

// Enter, Escape and requests that are not the close request leave it running.
TEST_F(Engine, IgnoresDialogCommandsAndOtherRequests)
{
    HWND indicator = StartWithStore();
    ASSERT_NE(indicator, nullptr);
    SendMessageA(indicator, WM_COMMAND, IDOK, 0);
    SendMessageA(indicator, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(indicator, WM_COMMAND, 40007, 0);
    SendCloseRequest(indicator, 255);
    SendCloseRequest(indicator, 0);
    EXPECT_EQ(engine.Wait(1000), -1);
    EXPECT_TRUE(IsWindow(indicator));
    EXPECT_EQ(Close(indicator), 1);
}

TEST_F(Engine, ExitItemEndsTheEngineAndStoresThePlace)
{
    HWND indicator = StartWithStore();
    ASSERT_NE(indicator, nullptr);
    PostMessageA(indicator, WM_COMMAND, 40001, 0);
    EXPECT_EQ(engine.Wait(10000), 1);
    DWORD x = 0;
    EXPECT_TRUE(ReadOption(InfoXValue, x));
}

// A restart must not leave the old engine running behind a window the user
// left open: the close request ends it all the same.
TEST_F(Engine, CloseRequestEndsTheEngineWhileAWindowIsOpenOnTop)
{
    struct Case {
        const char* what;
        WPARAM command;
        const char* title;
    };
    const Case cases[] = {
        {"About", 40006, "About Orvanta"},
        {"speech parameters", 40004, "Orvanta SR Parameters"},
    };
    RegisterSpeech();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND indicator = StartWithStore();
        ASSERT_NE(indicator, nullptr);
        PostMessageA(indicator, WM_COMMAND, c.command, 0);
        ASSERT_NE(WaitForWindow(c.title, 10000), nullptr);
        EXPECT_EQ(Close(indicator), 1);
    }
    // About has no owner, so the indicator can open a second one over the first.
    HWND indicator = StartWithStore();
    ASSERT_NE(indicator, nullptr);
    auto aboutWindows = [] {
        int n = 0;
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, "About Orvanta"));)
            n++;
        return n;
    };
    for (int open = 1; open <= 2; open++) {
        PostMessageA(indicator, WM_COMMAND, 40006, 0);
        ASSERT_TRUE(WaitUntil([&] { return aboutWindows() == open; }, 10000));
    }
    EXPECT_EQ(Close(indicator), 1);
    UnregisterSpeech();
}

// A drag with the left button: the cursor carries the window by the point
// where it was pressed, and the window stops at the screen's edges.
TEST_F(Engine, DraggingFollowsTheCursorAndStopsAtTheEdges)
{
    HWND indicator = StartWithStore();
    ASSERT_NE(indicator, nullptr);
    struct Step {
        POINT cursor;
        POINT corner;
    };
    const int w = screenW, h = screenH;
    const Step steps[] = {
        {{500, 400}, {494, 394}},        // pressed at client (5, 5)
        {{0, 0}, {-1, -1}},              // left and top stop one pixel off
        {{w - 1, h - 1}, {w - 18, h - 18}},
        {{3, h - 1}, {-1, h - 18}},
        {{w - 1, 2}, {w - 18, -1}},
        {{300, 200}, {294, 194}},
    };
    SendMessageA(indicator, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "cursor " << s.cursor.x << "," << s.cursor.y);
        MoveMouse(indicator, s.cursor);
        RECT r = WindowRect(indicator);
        EXPECT_EQ(r.left, s.corner.x);
        EXPECT_EQ(r.top, s.corner.y);
        EXPECT_EQ(r.right - r.left, 18);
    }
    SendMessageA(indicator, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // After the release the window no longer follows.
    MoveMouse(indicator, {600, 600});
    EXPECT_EQ(WindowRect(indicator).left, 294);
    EXPECT_TRUE(GetWindowLongA(indicator, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Close(indicator), 1);
    DWORD x = 0, y = 0;
    ASSERT_TRUE(ReadOption(InfoXValue, x));
    ASSERT_TRUE(ReadOption(InfoYValue, y));
    EXPECT_EQ(int(x), 294);
    EXPECT_EQ(int(y), 194);
}

// A press on the border is anchored where it happened, so the window does
// not jump under the cursor.
TEST_F(Engine, DraggingByTheBorderKeepsTheCursorOnTheBorder)
{
    HWND indicator = StartWithStore();
    ASSERT_NE(indicator, nullptr);
    RECT r = WindowRect(indicator);
    SendMessageA(indicator, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(r.left, r.top));
    MoveMouse(indicator, {400, 300});
    r = WindowRect(indicator);
    EXPECT_EQ(r.left, 400);
    EXPECT_EQ(r.top, 300);
    SendMessageA(indicator, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Close(indicator), 1);
}


// A store the configuration utility would never write still starts the
// engine: what cannot be loaded is left out.
TEST_F(Engine, StartsOnHostileStores)
{
    struct Value {
        const char* name;
        uint32_t type;
        std::vector<uint8_t> data;
    };
    const std::vector<uint8_t> phrase = {'a', 0, 0, 0};
    const Value countOne = {CountValue, RegDword, {1, 0, 0, 0}};
    const Value activeOne = {ActiveValue, RegBinary, {1}};
    struct Case {
        const char* what;
        std::vector<Value> values;
    };
    const Case cases[] = {
        {"empty key", {}},
        {"Count 0 and empty Active",
         {{CountValue, RegDword, {0, 0, 0, 0}}, {ActiveValue, RegBinary, {}}}},
        {"huge Count",
         {{CountValue, RegDword, {0xFF, 0xFF, 0xFF, 0xFF}}, activeOne, {"0", RegBinary, phrase}}},
        {"short Count", {{CountValue, RegDword, {1}}, activeOne, {"0", RegBinary, phrase}}},
        {"Active shorter than Count",
         {{CountValue, RegDword, {3, 0, 0, 0}}, activeOne, {"0", RegBinary, phrase},
          {"1", RegBinary, phrase}, {"2", RegBinary, phrase}}},
        {"no phrase", {countOne, activeOne, {"1", RegBinary, {7}}}},
        {"no byte code", {countOne, activeOne, {"0", RegBinary, phrase}}},
        {"odd-sized phrase without zero",
         {countOne, activeOne, {"0", RegBinary, {'a', 0, 'b'}}, {"1", RegBinary, {}}}},
        {"phrase as text",
         {countOne, activeOne, {"0", RegSz, {'a', 'b', 0}}, {"1", RegBinary, {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearSystemRegistry();
        WinRegistry reg;
        {
            KeyHolder key(reg, reg.CreateKey(CommandsKeyPath));
            for (const Value& v : c.values)
                reg.SetValue(key.get(), v.name, v.type, v.data.data(), uint32_t(v.data.size()));
        }
        engine = StartEngine();
        HWND indicator = WaitForIndicator();
        ASSERT_NE(indicator, nullptr);
        EXPECT_EQ(Close(indicator), 1);
    }
}

}  // namespace
