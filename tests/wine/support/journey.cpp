#include "journey.h"

#include <commctrl.h>

#include "common/layout.h"
#include "config/resource.h"
#include "focus.h"
#include "remotelist.h"

static void Click(HWND control)
{
    DWORD_PTR result;
    SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

bool DefineCommandAndSave(const std::string& folder, const std::string& phrase,
                          const std::string& description, const std::string& script,
                          const std::function<void()>& beforeSave)
{
    Process config = Start("\"" + folder + ConfigFile + "\"");
    // The window shows once it has loaded.
    HWND form = WaitForWindow("Orvanta Configuration", 25000, "TMainForm");
    if (!form)
        return false;
    // Ctrl+Tab turns to the Commands page, as a user would.
    GiveFocus(form, FindControl(form, IDC_AUTOLOAD), 5000);
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(VK_TAB, 0, 0, 0);
    keybd_event(VK_TAB, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    HWND list = FindControl(form, IDC_LIST);
    LRESULT before = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    TypeText(FindControl(form, IDC_VOICE), phrase);
    TypeText(FindControl(form, IDC_DESCRIPTION), description);
    TypeText(FindControl(form, IDC_PROGRAM), script);
    Click(FindControl(form, IDC_ADD));
    if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) != before + 1)
        return false;
    if (beforeSave)
        beforeSave();
    Click(FindControl(form, IDC_SAVECLOSE));
    return config.Wait(15000) == 0;
}

bool Notepad::Open()
{
    process = Start("notepad.exe");
    window = WaitForWindow(nullptr, 15000, "Notepad");
    // The frame appears before its edit control.
    WaitUntil([&] { return window && (edit = FindWindowExA(window, nullptr, "Edit", nullptr)); },
              10000);
    return edit && GiveFocus(window, edit, 10000);
}

std::string Notepad::WaitForText(const std::string& text, DWORD milliseconds)
{
    std::string now;
    WaitUntil([&] { return (now = WindowText(edit)) == text; }, milliseconds);
    return now;
}
