// What a user does with the system once it is there: define a command in the
// configuration window and save it, and watch notepad receive what a spoken
// command types.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "winetest.h"

// Opens "Orv Configuration.exe" from folder, adds one command on the
// Commands page and presses Save & Close (with no engine running, no question
// comes). True when the command was added and the program ended normally.
// beforeSave, if given, runs while the new command shows in the window.
bool DefineCommandAndSave(const std::string& folder, const std::string& phrase,
                          const std::string& description, const std::string& script,
                          const std::function<void()>& beforeSave = {});

// Wine's notepad with the keyboard focus in its edit control.
struct Notepad {
    Process process;
    HWND window = nullptr;
    HWND edit = nullptr;
    bool Open();
    // Waits until the edit control holds exactly text; returns what it holds.
    std::string WaitForText(const std::string& text, DWORD milliseconds);
};
