#include "scripthost.h"

#include <shellapi.h>

void Win32ScriptHost::KeyDown(uint8_t vk)
{
    keybd_event(vk, 0, 0, 0);
}

void Win32ScriptHost::KeyUp(uint8_t vk)
{
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
}

int16_t Win32ScriptHost::KeyScan(char ch)
{
    return VkKeyScanA(ch);
}

void Win32ScriptHost::Sleep(uint32_t milliseconds)
{
    ::Sleep(milliseconds);
}

void Win32ScriptHost::ExitSystem(uint32_t flags)
{
    EnableShutdownPrivilege();
    ExitWindowsEx(flags, 0);
}

void Win32ScriptHost::ShellOpen(const std::string& file, const std::string& parameters,
                                bool hasParameters)
{
    ShellExecuteA(nullptr, "open", file.c_str(), hasParameters ? parameters.c_str() : nullptr,
                  nullptr, SW_SHOWNORMAL);
}

void Win32ScriptHost::ShellPrint(const std::string& file)
{
    ShellExecuteA(nullptr, "print", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32ScriptHost::SetRecognitionActive(bool active)
{
    PostMessageA(indicator_, WMAPP_SETACTIVE, active ? 1 : 0, 0);
}

void Win32ScriptHost::CloseEngine()
{
    PostMessageA(indicator_, WMAPP_CLOSE, 0, 0);
}

void EnableShutdownPrivilege()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}
