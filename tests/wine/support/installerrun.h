// Orv Install driven through its real windows, as the installer and
// whole-life tests use it.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "installer/resource.h"
#include "winetest.h"

inline const char* const MainCaption = "Orvanta 3.7.14 Installation Program";

// One run of the installer and its two windows.
struct Installer {
    Process process;
    HWND main = nullptr;
    HWND welcome = nullptr;

    bool Open()
    {
        process = Start("\"" + BinDir() + "Orv Install.exe\"");
        // Shown only once both windows and all their controls exist.
        return WaitUntil([&] {
            main = FindWindowA(nullptr, MainCaption);
            return main && IsWindowVisible(main);
        }, 10000);
    }
    HWND Item(int id) const { return GetDlgItem(main, id); }
    HWND WelcomeItem(int id) const { return GetDlgItem(welcome, id); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)); }
    void Type(const std::string& text)
    {
        SendMessageA(Item(IDC_PATH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::string PathText() const
    {
        char text[MAX_PATH * 2] = "";
        SendMessageA(Item(IDC_PATH), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // The control that has the keyboard in the installer.
    HWND Focus() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        return info.hwndFocus;
    }
    int Progress() const { return int(SendMessageA(Item(IDC_PROGRESS), PBM_GETPOS, 0, 0)); }
    // Go! runs the whole installation and then the welcome window's modal loop,
    // so the click is posted, not sent.
    bool InstallInto(const std::string& folder)
    {
        Type(folder);
        PostMessageA(Item(IDC_GO), BM_CLICK, 0, 0);
        // The welcome window exists, hidden, from the start; it shows at the end.
        return WaitUntil([&] {
            welcome = FindWindowA(nullptr, "Welcome!");
            return welcome && IsWindowVisible(welcome);
        }, 30000);
    }
    std::wstring MemoText() const
    {
        wchar_t text[1024] = L"";
        SendMessageW(WelcomeItem(IDC_MEMO), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Do Nothing, then Close: the program ends without opening anything.
    int CloseDoingNothing()
    {
        SendMessageA(WelcomeItem(IDC_DONOTHING), BM_CLICK, 0, 0);
        PostMessageA(WelcomeItem(IDC_CLOSEBTN), BM_CLICK, 0, 0);
        return process.Wait(10000);
    }
};
