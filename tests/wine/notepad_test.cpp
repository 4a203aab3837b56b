// A program nobody here wrote receives what the script host types: Wine's
// notepad, read back through its edit control.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/scripthost.h"
#include "focus.h"
#include "winetest.h"

using Bytes = std::vector<uint8_t>;

namespace {

constexpr DWORD Patience = 15000;

class Notepad : public testing::Test {
protected:
    void SetUp() override
    {
        notepad = Start("notepad.exe");
        ASSERT_TRUE(notepad.Running()) << "notepad did not start";
        WaitForInputIdle(notepad.pi.hProcess, Patience);
        ASSERT_TRUE(WaitUntil([&] { return (window = OwnWindow()) != nullptr; }, Patience));
        edit = FindWindowExA(window, nullptr, "Edit", nullptr);
        ASSERT_TRUE(edit) << "notepad has no edit control";
        ASSERT_TRUE(GiveFocus(window, edit, Patience)) << "notepad did not get the focus";
    }

    // The started notepad's main window, once it is visible.
    HWND OwnWindow() const
    {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "Notepad", nullptr)) != nullptr;) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == notepad.pi.dwProcessId && IsWindowVisible(w))
                return w;
        }
        return nullptr;
    }

    std::string Text() const
    {
        char text[4096] = "";
        SendMessageA(edit, WM_GETTEXT, sizeof(text), LPARAM(text));
        return text;
    }

    // Runs the code, then types a full stop. Notepad handles its input in
    // order, so once the full stop shows, everything before it has arrived.
    std::string Typed(Bytes code)
    {
        code.insert(code.end(), {0x0B, 0x02, '.', 0x00});
        Win32ScriptHost host(nullptr);
        RunScript(code.data(), code.size(), host);
        std::string text;
        WaitUntil([&] {
            text = Text();
            return !text.empty() && text.back() == '.';
        }, Patience);
        return text;
    }

    Process notepad;
    HWND window = nullptr;
    HWND edit = nullptr;
};

}  // namespace

TEST_F(Notepad, ReceivesTextAndChords)
{
    struct Case {
        const char* script;
        Bytes code;
        const char* expected;  // before the closing full stop
    };
    const Case cases[] = {
        {"text Hello World",
         {0x0B, 0x0C, 'H', 'e', 'l', 'l', 'o', ' ', 'W', 'o', 'r', 'l', 'd', 0x00},
         "Hello World"},
        {"text Hello World / key ctrl a / text Bye",
         {0x0B, 0x0C, 'H', 'e', 'l', 'l', 'o', ' ', 'W', 'o', 'r', 'l', 'd', 0x00,
          0x08, 0x03, 0x01, 0xFF, 'A', 0x0B, 0x04, 'B', 'y', 'e', 0x00},
         "Bye"},
        {"press shift / text abc / release shift",
         {0x0C, 0x02, 0x0B, 0x04, 'a', 'b', 'c', 0x00, 0x0D, 0x02},
         "ABC"},
        {"text one two / key shift home / text 3",
         {0x0B, 0x08, 'o', 'n', 'e', ' ', 't', 'w', 'o', 0x00, 0x08, 0x02, 0x02, 0x15,
          0x0B, 0x02, '3', 0x00},
         "3"},
        {"text abcd / key left / key backspace / text [#] / key end",
         {0x0B, 0x05, 'a', 'b', 'c', 'd', 0x00, 0x08, 0x01, 0x11, 0x08, 0x01, 0x17,
          0x0B, 0x04, '[', '#', ']', 0x00, 0x08, 0x01, 0x16},
         "ab[#]d"},
        {"text a / key enter / text B", {0x0B, 0x02, 'a', 0x00, 0x08, 0x01, 0x0F, 0x0B, 0x02, 'B', 0x00},
         "a\r\nB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        SendMessageA(edit, WM_SETTEXT, 0, LPARAM(""));
        ASSERT_EQ(edit, FocusOf(window)) << "notepad lost the focus";
        EXPECT_EQ(std::string(c.expected) + '.', Typed(c.code));
    }
}
