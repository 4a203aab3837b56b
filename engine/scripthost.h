// The engine's script host: performs the statements of a running command
// with Win32. It runs on the command's worker thread, so it never touches a
// window itself: what needs the main thread is posted to the indicator window.
#pragma once
#include <windows.h>

#include "interpreter.h"

// Posted to the indicator window; handled on the main thread.
constexpr UINT WMAPP_SETACTIVE = WM_APP + 1;  // wParam 1: recognition on, 0: off
constexpr UINT WMAPP_CLOSE = WM_APP + 2;      // end the indicator dialog with result 1

class Win32ScriptHost : public ScriptHost {
public:
    explicit Win32ScriptHost(HWND indicator) : indicator_(indicator) {}

    void KeyDown(uint8_t vk) override;
    void KeyUp(uint8_t vk) override;
    int16_t KeyScan(char ch) override;
    void Sleep(uint32_t milliseconds) override;
    void ExitSystem(uint32_t flags) override;
    void ShellOpen(const std::string& file, const std::string& parameters,
                   bool hasParameters) override;
    void ShellPrint(const std::string& file) override;
    void SetRecognitionActive(bool active) override;
    void CloseEngine() override;

private:
    HWND indicator_;
};

// Enables the shutdown privilege in the process token; Windows NT silently
// refuses ExitWindowsEx without it. Does nothing where there are no tokens.
void EnableShutdownPrivilege();
