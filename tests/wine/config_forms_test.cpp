// The form layer in the test's own process: window geometry and font, the
// standard error box for a failed handler, memo lines, captions that do not
// fit, tab pages and modal forms.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <thread>

#include "forms/forms.h"
#include "installation.h"
#include "winetest.h"

namespace {

constexpr int IdThrow = 101, IdWide = 102, IdNarrow = 103, IdMemo = 104, IdPages = 105,
              IdFirst = 106, IdSecond = 107, IdBox = 108;
constexpr UINT WMAPP_FINISH = WM_APP + 7;
constexpr UINT WMAPP_RUN = WM_APP + 8;  // lParam: a std::function<void()> to run

class SampleForm : public TForm {
public:
    std::string error = "Broken handler";
    HWND pages = nullptr, first = nullptr, second = nullptr;
    bool ownerEnabledWhileModal = true;
    TForm* owner = nullptr;

protected:
    void CreateControls() override
    {
        AddSpeedButton(Handle, IdThrow, {8, 8, 60, 21}, "&Fail", "Fails");
        AddLabel(Handle, IdWide, {100, 8, 20, 13}, "A caption much wider than its label",
                 Align::Right, nullptr);
        AddLabel(Handle, IdNarrow, {100, 30, 200, 13}, "Fits", Align::Center, nullptr);
        AddCheckBox(Handle, IdBox, {8, 50, 30, 17}, "A check box with a long caption", nullptr);
        AddMemo(Handle, IdMemo, {8, 80, 200, 60}, MemoOptions{}, nullptr);
        pages = AddPageControl(Handle, IdPages, {220, 80, 150, 100});
        first = AddTabSheet(pages, IdFirst, "One", nullptr);
        second = AddTabSheet(pages, IdSecond, "Two", nullptr);
    }
    void OnCommand(int id, int code, HWND) override
    {
        if (id == IdThrow && code == BN_CLICKED)
            throw std::runtime_error(error);
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WMAPP_FINISH) {
            ownerEnabledWhileModal = owner && IsWindowEnabled(owner->Handle);
            ModalResult = int(wParam);
            return 0;
        }
        if (message == WMAPP_RUN) {
            (*reinterpret_cast<std::function<void()>*>(lParam))();
            return 0;
        }
        return TForm::HandleMessage(message, wParam, lParam);
    }
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application.Title = "Forms Test";
        form.Create("TSampleForm", "Sample", 425, 399);
        form.Show();
    }
    void TearDown() override
    {
        if (IsWindow(form.Handle))
            DestroyWindow(form.Handle);
    }
    RECT Place(int id)
    {
        RECT rc;
        HWND control = GetDlgItem(form.Handle, id);
        GetWindowRect(control, &rc);
        MapWindowPoints(nullptr, form.Handle, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    SampleForm form;
};

TEST_F(FormsTest, WindowHasItsClientSizeAFixedBorderTheFontAndSitsCentred)
{
    RECT client, outer;
    GetClientRect(form.Handle, &client);
    EXPECT_EQ(client.right, 425);
    EXPECT_EQ(client.bottom, 399);
    GetWindowRect(form.Handle, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    LONG style = GetWindowLongA(form.Handle, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    EXPECT_TRUE(style & WS_SYSMENU);

    LOGFONTA font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(form.Handle, IdMemo), WM_GETFONT, 0, 0));
    ASSERT_TRUE(GetObjectA(handle, sizeof(font), &font));
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
}

// The box is modal on this thread, so another thread reads and answers it.
TEST_F(FormsTest, AFailingHandlerShowsTheStandardErrorBoxAndTheFormStays)
{
    struct Case {
        const char* error;
        const char* shown;
    } cases[] = {
        {"Broken handler", "Broken handler."},
        {"Line 1 \"sleep x\": 'x' is not a valid integer value",
         "Line 1 \"sleep x\": 'x' is not a valid integer value."},
        {"Already a sentence.", "Already a sentence."},
        {"Why?", "Why?"},
    };
    for (const Case& c : cases) {
        form.error = c.error;
        std::string text;
        HWND owner = nullptr;
        bool hasErrorIcon = false;
        std::thread answer([&] {
            HWND box = WaitForDialog("Forms Test", 5000);
            if (!box)
                return;
            text = MessageBoxText(box);
            owner = GetWindow(box, GW_OWNER);
            // A message box shows its icon in the static control 0x0440.
            hasErrorIcon = HICON(SendMessageA(GetDlgItem(box, 0x0440), STM_GETICON, 0, 0)) ==
                           LoadIconA(nullptr, IDI_ERROR);
            PressButton(box, IDOK);
        });
        SendMessageA(GetDlgItem(form.Handle, IdThrow), BM_CLICK, 0, 0);
        answer.join();
        EXPECT_EQ(text, c.shown);
        EXPECT_EQ(owner, form.Handle);
        EXPECT_TRUE(hasErrorIcon);
        EXPECT_TRUE(IsWindow(form.Handle));
    }
}

TEST_F(FormsTest, MemoLinesFollowLineBreaksOfEveryKind)
{
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo", {"one", "two"}},
        {"one\r\n", {"one"}},
        {"one\r\n\r\n", {"one", ""}},
        {"\r\n", {""}},
        {"a\nb\rc", {"a", "b", "c"}},
        {" lead and trail ", {" lead and trail "}},
    };
    HWND memo = GetDlgItem(form.Handle, IdMemo);
    for (const Case& c : cases) {
        SetText(memo, c.text);
        EXPECT_EQ(Lines(memo), c.lines) << c.text;
        SetLines(memo, c.lines);
        EXPECT_EQ(Lines(memo), c.lines) << "written back: " << c.text;
    }
}

TEST_F(FormsTest, ACaptionWiderThanItsControlWidensItAboutItsAlignedEdge)
{
    RECT wide = Place(IdWide);
    EXPECT_EQ(wide.right, 120) << "right-aligned: the right edge stays";
    EXPECT_GT(wide.right - wide.left, 20);
    RECT box = Place(IdBox);
    EXPECT_EQ(box.left, 8);
    EXPECT_GT(box.right - box.left, 30);
    RECT narrow = Place(IdNarrow);
    EXPECT_EQ(narrow.left, 100) << "a caption that fits leaves the control as placed";
    EXPECT_EQ(narrow.right, 300);
}

TEST_F(FormsTest, ATabClickShowsItsSheetAndHidesTheOther)
{
    EXPECT_TRUE(IsWindowVisible(form.first));
    EXPECT_FALSE(IsWindowVisible(form.second));
    RECT tab;
    TabCtrl_GetItemRect(form.pages, 1, &tab);
    LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageA(form.pages, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(form.pages, WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(IsWindowVisible(form.first));
    EXPECT_TRUE(IsWindowVisible(form.second));
}

TEST_F(FormsTest, AModalFormDisablesTheOthersUntilItEnds)
{
    Application.MainForm = &form;
    struct Case {
        UINT message;
        WPARAM result;
        int expected;
    } cases[] = {
        {WMAPP_FINISH, IDOK, IDOK},
        {WM_CLOSE, 0, IDCANCEL},  // the close box
    };
    for (const Case& c : cases) {
        SampleForm dialog;
        dialog.owner = &form;
        dialog.Create("TSampleForm", "Modal", 200, 100);
        PostMessageA(dialog.Handle, WMAPP_FINISH, 0, 0);  // records the owner's state only
        PostMessageA(dialog.Handle, c.message, c.result, 0);
        EXPECT_EQ(dialog.ShowModal(), c.expected);
        EXPECT_FALSE(dialog.ownerEnabledWhileModal);
        EXPECT_TRUE(IsWindowEnabled(form.Handle));
        EXPECT_TRUE(IsWindow(dialog.Handle)) << "hidden, not destroyed";
        EXPECT_FALSE(IsWindowVisible(dialog.Handle));
        DestroyWindow(dialog.Handle);
    }
    Application.MainForm = nullptr;
}

// Minimising the program hides every shown form, a modal one too, behind the
// application window; restoring shows those again, but not a form closed
// meanwhile, and the modal display goes on to its own result.
TEST_F(FormsTest, MinimisingHidesTheShownFormsUntilRestored)
{
    Application.MainForm = &form;
    ShowWindow(Application.CreateHandle(), SW_SHOWNA);
    SampleForm other, neverShown, dialog;
    other.Create("TSampleForm", "Other", 100, 50);
    other.Show();
    neverShown.Create("TSampleForm", "Never shown", 100, 50);
    dialog.Create("TSampleForm", "Modal", 100, 50);
    auto restore = [] { ShowWindow(Application.Handle, SW_RESTORE); };

    Application.Minimize();
    EXPECT_TRUE(IsIconic(Application.Handle));
    EXPECT_FALSE(IsWindowVisible(form.Handle));
    EXPECT_FALSE(IsWindowVisible(other.Handle));
    other.Close();
    restore();
    EXPECT_TRUE(IsWindowVisible(form.Handle));
    EXPECT_FALSE(IsIconic(form.Handle));
    EXPECT_FALSE(IsWindowVisible(other.Handle)) << "closed while minimised";
    EXPECT_FALSE(IsWindowVisible(neverShown.Handle));

    bool hiddenWhileMinimised = false;
    std::function<void()> minimise = [] { Application.Minimize(); };
    std::function<void()> look = [&] { hiddenWhileMinimised = !IsWindowVisible(dialog.Handle); };
    std::function<void()> restoreLater = restore;
    PostMessageA(dialog.Handle, WMAPP_RUN, 0, reinterpret_cast<LPARAM>(&minimise));
    PostMessageA(dialog.Handle, WMAPP_RUN, 0, reinterpret_cast<LPARAM>(&look));
    PostMessageA(dialog.Handle, WMAPP_RUN, 0, reinterpret_cast<LPARAM>(&restoreLater));
    PostMessageA(dialog.Handle, WMAPP_FINISH, IDOK, 0);
    EXPECT_EQ(dialog.ShowModal(), IDOK);
    EXPECT_TRUE(hiddenWhileMinimised);
    EXPECT_TRUE(IsWindowVisible(form.Handle));

    // The forms go with the application window, before they go out of scope.
    Application.MainForm = nullptr;
    DestroyWindow(Application.Handle);
    EXPECT_FALSE(IsWindow(dialog.Handle) || IsWindow(other.Handle) || IsWindow(form.Handle));
}

}  // namespace
