// The timing side of bench/engine-figures, run inside Wine.
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

static HANDLE keySeen;
static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l)
{
    auto* k = (KBDLLHOOKSTRUCT*)l;
    if (code == HC_ACTION && k->vkCode == VK_F13) {
        if (w == WM_KEYDOWN)
            SetEvent(keySeen);
        return 1;  // swallowed
    }
    return CallNextHookEx(nullptr, code, w, l);
}
static DWORD WINAPI HookThread(LPVOID ready)
{
    SetWindowsHookExA(WH_KEYBOARD_LL, Hook, GetModuleHandleA(nullptr), 0);
    SetEvent((HANDLE)ready);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0)
        DispatchMessageA(&m);
    return 0;
}
static double Now()
{
    static LARGE_INTEGER f;
    if (!f.QuadPart)
        QueryPerformanceFrequency(&f);
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return 1000.0 * c.QuadPart / f.QuadPart;
}
static PROCESS_INFORMATION Run(std::string line, bool quiet = false)
{
    STARTUPINFOA si{sizeof(si)};
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    if (quiet) {  // say reports every phrase; the figures need none of it
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = CreateFileA("NUL", GENERIC_WRITE, 0, &sa, OPEN_EXISTING, 0, nullptr);
    }
    PROCESS_INFORMATION pi{};
    CreateProcessA(nullptr, &line[0], nullptr, nullptr, quiet, 0, nullptr, nullptr, &si, &pi);
    if (quiet)
        CloseHandle(si.hStdOutput);
    return pi;
}
static HWND WaitFor(const char* title, double ms)
{
    double end = Now() + ms;
    HWND w;
    while (!(w = FindWindowA("#32770", title)) && Now() < end)
        Sleep(1);
    return w;
}
static void Close(HWND w, PROCESS_INFORMATION& pi)
{
    SendMessageTimeoutA(w, RegisterWindowMessageA("OrvantaCloseRequest"), 256, 256, 0, 5000, nullptr);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}
static double Ms(FILETIME a) { return (ULARGE_INTEGER{{a.dwLowDateTime, a.dwHighDateTime}}).QuadPart / 1e4; }

int main(int argc, char** argv)
{
    std::string bin = argv[1];
    if (std::string(argv[2]) == "close") {  // ends an engine started from outside
        HWND w = FindWindowA("#32770", "Orvanta");
        SendMessageTimeoutA(w, RegisterWindowMessageA("OrvantaCloseRequest"), 256, 256, 0, 5000, nullptr);
        return w ? 0 : 1;
    }
    int runs = atoi(argv[2]);
    std::string engine = "\"" + bin + "\\Orvanta.exe\"";

    std::vector<double> starts;
    for (int i = 0; i < 5; i++) {
        double t0 = Now();
        PROCESS_INFORMATION pi = Run(engine);
        HWND w = WaitFor("Orvanta", 20000);
        starts.push_back(Now() - t0);
        Close(w, pi);
    }
    std::sort(starts.begin(), starts.end());
    printf("start to \"Orvanta\" window: median %.0f ms (min %.0f, max %.0f, 5 starts)\n",
           starts[2], starts[0], starts[4]);

    PROCESS_INFORMATION pi = Run(engine);
    HWND w = WaitFor("Orvanta", 20000);
    Sleep(1000);
    FILETIME c, e, k0, u0, k1, u1;
    GetProcessTimes(pi.hProcess, &c, &e, &k0, &u0);
    Sleep(10000);
    GetProcessTimes(pi.hProcess, &c, &e, &k1, &u1);
    printf("idle CPU over 10 s: %.1f ms (user %.1f, kernel %.1f)\n",
           Ms(u1) - Ms(u0) + Ms(k1) - Ms(k0), Ms(u1) - Ms(u0), Ms(k1) - Ms(k0));
    PROCESS_MEMORY_COUNTERS mem{sizeof(mem)};
    GetProcessMemoryInfo(pi.hProcess, &mem, sizeof(mem));
    printf("working set: %.1f MiB (peak %.1f MiB)\n", mem.WorkingSetSize / 1048576.0,
           mem.PeakWorkingSetSize / 1048576.0);

    keySeen = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CreateThread(nullptr, 0, HookThread, ready, 0, nullptr);
    WaitForSingleObject(ready, 5000);
    std::string say = "\"" + bin + "\\say.exe\" bench 100";
    std::vector<double> lat;
    int missed = 0;
    for (int i = 0; i < runs; i++) {
        ResetEvent(keySeen);
        double t0 = Now();
        PROCESS_INFORMATION s = Run(say, true);
        if (WaitForSingleObject(keySeen, 10000) == WAIT_OBJECT_0)
            lat.push_back(Now() - t0);
        else
            missed++;
        WaitForSingleObject(s.hProcess, 10000);
        CloseHandle(s.hProcess);
        CloseHandle(s.hThread);
    }
    std::sort(lat.begin(), lat.end());
    if (!lat.empty())
        printf("say to first key event: median %.1f ms, 95th percentile %.1f ms (%zu heard, %d missed)\n",
               lat[lat.size() / 2], lat[std::min(lat.size() - 1, lat.size() * 95 / 100)],
               lat.size(), missed);
    else
        printf("say to first key event: nothing heard in %d tries\n", runs);
    Close(w, pi);
    return 0;
}
