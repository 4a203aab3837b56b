// Helpers shared by the Wine tests: where the built programs are, starting
// them, waiting for their windows, and a clean per-user registry.
#pragma once
#include <windows.h>

#include <string>

// Windows path of the folder with the built programs (ORV_BIN), with a final backslash.
std::string BinDir();
// Windows path of the source tree (ORV_SOURCE), with a final backslash.
std::string SourceDir();

// A started program; the destructor kills it if it still runs.
struct Process {
    PROCESS_INFORMATION pi{};
    Process() = default;
    Process(Process&& other) noexcept : pi(other.pi) { other.pi = {}; }
    Process& operator=(Process&& other) noexcept;
    ~Process();
    bool Running() const;
    // Waits for the end and returns the exit code, or -1 after the timeout.
    int Wait(DWORD milliseconds);
};

Process Start(const std::string& commandLine, const std::string& directory = "");

// Polls until the top-level window with this title (and class, if given) is
// shown. A dialog has its title before its controls are made and filled in.
HWND WaitForWindow(const char* title, DWORD milliseconds, const char* className = nullptr);
// Polls until pred() is true; returns its last answer.
template <class Pred>
bool WaitUntil(Pred pred, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
    return true;
}

// Deletes a registry key under HKEY_CURRENT_USER with everything below it.
void DeleteTree(const char* path);
// Removes the system's product key, its settings and command store, the
// log-on entry and the uninstall entry.
void ClearSystemRegistry();
