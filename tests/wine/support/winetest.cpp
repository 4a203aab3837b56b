#include "winetest.h"

#include <cstdlib>

#include "common/layout.h"

static std::string EnvDir(const char* name)
{
    const char* v = std::getenv(name);
    std::string dir = v ? v : "";
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    return dir;
}

std::string BinDir() { return EnvDir("ORV_BIN"); }
std::string SourceDir() { return EnvDir("ORV_SOURCE"); }

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        this->~Process();
        pi = other.pi;
        other.pi = {};
    }
    return *this;
}

Process::~Process()
{
    if (!pi.hProcess)
        return;
    if (Running()) {
        TerminateProcess(pi.hProcess, 99);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

bool Process::Running() const
{
    return pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
}

int Process::Wait(DWORD milliseconds)
{
    if (!pi.hProcess || WaitForSingleObject(pi.hProcess, milliseconds) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return int(code);
}

Process Start(const std::string& commandLine, const std::string& directory)
{
    Process p;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &si, &p.pi))
        p.pi = {};
    return p;
}

HWND WaitForWindow(const char* title, DWORD milliseconds, const char* className)
{
    HWND found = nullptr;
    bool shown = WaitUntil([&] {
        found = FindWindowA(className, title);
        return found && IsWindowVisible(found);
    }, milliseconds);
    return shown ? found : nullptr;
}

void DeleteTree(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[512];
    DWORD size = sizeof(name);
    while (RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        DeleteTree((std::string(path) + "\\" + name).c_str());
        size = sizeof(name);
    }
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

void ClearSystemRegistry()
{
    DeleteTree(ProductKeyPath);
    DeleteTree(UninstallKeyPath);
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, RunValue);
        RegCloseKey(run);
    }
}
