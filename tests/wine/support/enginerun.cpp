#include "enginerun.h"

#include "common/layout.h"
#include "common/winregistry.h"

Code operator+(Code a, const Code& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Code SleepCode(uint8_t seconds) { return {1, seconds}; }

Code TextCode(const std::string& text)
{
    Code code = {11, uint8_t(text.size() + 1)};
    code.insert(code.end(), text.begin(), text.end());
    code.push_back(0);
    return code;
}

Code PressCode(uint8_t vk) { return {12, 255, vk}; }
Code ReleaseCode(uint8_t vk) { return {13, 255, vk}; }
Code TapCode(uint8_t vk) { return PressCode(vk) + ReleaseCode(vk); }

StoredCommand MakeCommand(const std::string& phrase, const Code& code, bool enabled)
{
    StoredCommand c;
    c.enabled = enabled;
    c.phrase = phrase;
    c.code = code;
    return c;
}

void WriteCommands(const std::vector<StoredCommand>& commands)
{
    WinRegistry reg;
    WriteStore(reg, SystemLocale(), commands);
}

void WriteOption(const char* name, DWORD value)
{
    WinRegistry reg;
    KeyHolder key(reg, reg.CreateKey(OptionsKeyPath));
    WriteDword(reg, key.get(), name, value);
}

void WriteOptionText(const char* name, const std::string& text)
{
    WinRegistry reg;
    KeyHolder key(reg, reg.CreateKey(OptionsKeyPath));
    WriteText(reg, key.get(), name, text);
}

bool ReadOption(const char* name, DWORD& value)
{
    WinRegistry reg;
    KeyHolder key(reg, reg.OpenKey(OptionsKeyPath));
    uint32_t v;
    if (!ReadDword(reg, key.get(), name, v))
        return false;
    value = v;
    return true;
}

bool OptionsKeyExists()
{
    WinRegistry reg;
    KeyHolder key(reg, reg.OpenKey(OptionsKeyPath));
    return bool(key);
}

Process StartEngine()
{
    return Start("\"" + BinDir() + EngineFile + "\"");
}

Process StartQuiet(const std::string& commandLine)
{
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, 0, &sa, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = si.hStdError = nul;
    Process p;
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &p.pi))
        p.pi = {};
    CloseHandle(nul);
    return p;
}

HWND WaitForIndicator(DWORD milliseconds)
{
    return WaitForWindow("Orvanta", milliseconds, "#32770");
}

void SendCloseRequest(HWND indicator, LPARAM lParam)
{
    SendMessageTimeoutA(indicator, RegisterWindowMessageA("OrvantaCloseRequest"), 256, lParam,
                        SMTO_NORMAL, 5000, nullptr);
}

RECT WindowRect(HWND hwnd)
{
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}
