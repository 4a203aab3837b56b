#include "speech.h"

#include "winetest.h"

static const DWORD SayTimeout = 30000;

static bool RunRegsvr32(const std::string& option)
{
    std::string line = "regsvr32 /s " + option + "\"" + BinDir() + "OrvSpeech.dll\"";
    return Start(line).Wait(SayTimeout) == 0;
}

bool RegisterSpeech() { return RunRegsvr32(""); }
bool UnregisterSpeech() { return RunRegsvr32("/u "); }

// Quotes one argument the way CommandLineToArgvW reads it back.
static std::wstring Quote(const std::wstring& arg)
{
    std::wstring quoted = L"\"";
    size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            slashes++;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        quoted += c;
    }
    quoted.append(slashes * 2, L'\\');
    return quoted + L"\"";
}

static std::string ReadFile(const std::wstring& path)
{
    std::string text;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD read;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// Waits for the process while dispatching this thread's messages.
static bool WaitPumping(HANDLE process, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return false;
        DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, milliseconds - elapsed,
                                            QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int RunSay(const std::wstring& arguments, std::string* output)
{
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"say", 0, path);
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE out = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                             CREATE_ALWAYS, 0, nullptr);

    std::string bin = BinDir();
    std::wstring line = Quote(std::wstring(bin.begin(), bin.end()) + L"say.exe");
    if (!arguments.empty())
        line += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = out;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    int code = -1;
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &si, &pi)) {
        DWORD exit = 0;
        if (WaitPumping(pi.hProcess, SayTimeout) && GetExitCodeProcess(pi.hProcess, &exit))
            code = int(exit);
        else
            TerminateProcess(pi.hProcess, 99);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(out);
    if (output)
        *output = ReadFile(path);
    DeleteFileW(path);
    return code;
}

int Say(const std::wstring& phrase, int confidence, std::string* output)
{
    return RunSay(Quote(phrase) + L" " + std::to_wstring(confidence), output);
}
