// A scripted first run of the system, for a machine without a display: define
// a command in the configuration window, save, start the engine, speak the
// phrase with the say tool and show that notepad received the typed text.
#include "config/resource.h"
#include "common/layout.h"
#include "focus.h"
#include "remotelist.h"
#include "speech.h"
#include "winetest.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

const char* Phrase = "write greeting";
const char* Script = "text Hello from Orvanta";
const char* Expected = "Hello from Orvanta";

bool Step(bool ok, const char* what)
{
    std::printf("%s %s\n", ok ? "  ok  " : "  FAIL", what);
    std::fflush(stdout);
    return ok;
}

void Click(HWND control)
{
    DWORD_PTR result;
    SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

// Screenshots are taken from outside; this tells the caller when to take one.
void Pause(const char* name)
{
    std::printf("screenshot %s\n", name);
    std::fflush(stdout);
    Sleep(1500);
}

bool DefineCommand()
{
    Process config = Start("\"" + BinDir() + ConfigFile + "\"");
    HWND form = WaitForWindow("Orvanta Configuration", 15000, "TMainForm");
    if (!Step(form != nullptr, "the configuration window opened"))
        return false;
    // The window exists before it has loaded; it shows once it has.
    WaitUntil([&] { return IsWindowVisible(form); }, 10000);
    HWND list = FindControl(form, IDC_LIST);
    // Ctrl+Tab turns to the Commands page, as a user would.
    GiveFocus(form, FindControl(form, IDC_AUTOLOAD), 5000);
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(VK_TAB, 0, 0, 0);
    keybd_event(VK_TAB, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    TypeText(FindControl(form, IDC_VOICE), Phrase);
    TypeText(FindControl(form, IDC_DESCRIPTION), "Types a greeting");
    TypeText(FindControl(form, IDC_PROGRAM), Script);
    Click(FindControl(form, IDC_ADD));
    Step(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) >= 1, "the command \"write greeting\" was added");
    Pause("configuration");
    Click(FindControl(form, IDC_SAVECLOSE));
    return Step(config.Wait(15000) == 0, "Save & Close stored it and closed the window");
}

}  // namespace

int main()
{
    std::printf("Orvanta demonstration\n");
    ClearSystemRegistry();
    HKEY options;
    RegCreateKeyExA(HKEY_CURRENT_USER, OptionsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &options, nullptr);
    std::string bin = BinDir();
    RegSetValueExA(options, InstallPathValue, 0, REG_SZ, (const BYTE*)bin.c_str(), DWORD(bin.size() + 1));
    RegCloseKey(options);

    if (!Step(RegisterSpeech(), "the speech service stand-in is registered") || !DefineCommand())
        return 1;
    Process engine = Start("\"" + bin + EngineFile + "\"");
    if (!Step(WaitForWindow("Orvanta", 15000, "#32770") != nullptr, "the engine is listening"))
        return 1;
    Process notepad = Start("notepad.exe");
    HWND pad = WaitForWindow(nullptr, 15000, "Notepad");
    HWND edit = pad ? FindWindowExA(pad, nullptr, "Edit", nullptr) : nullptr;
    if (!Step(edit && GiveFocus(pad, edit, 10000), "notepad has the focus"))
        return 1;
    std::string said;
    int heard = Say(L"write greeting", 100, &said);
    said.erase(said.find_last_not_of("\r\n ") + 1);
    Step(heard == 0, ("say \"write greeting\" -> " + said).c_str());
    std::string text;
    bool typed = WaitUntil([&] { return (text = WindowText(edit)) == Expected; }, 10000);
    Step(typed, ("notepad received: \"" + text + "\"").c_str());
    Pause("notepad");
    UnregisterSpeech();
    return typed ? 0 : 1;
}
