// say "phrase" [confidence]: speaks a phrase, as typed text, to every running
// speech stand-in. Exit code 0 when some engine took it, 1 when none did, 2 on
// bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "speech/utterance.h"

static const DWORD ReplyTimeout = 10000;  // ms; a listener busy longer counts as not hearing

static int Usage()
{
    fputs("usage: say \"phrase\" [confidence 0-100]\n", stderr);
    return 2;
}

// A confidence is 0 to 100 in plain decimal digits.
static bool ParseConfidence(const wchar_t* text, DWORD& confidence)
{
    if (!*text || wcslen(text) > 3)
        return false;
    confidence = 0;
    for (const wchar_t* c = text; *c; c++) {
        if (*c < L'0' || *c > L'9')
            return false;
        confidence = confidence * 10 + DWORD(*c - L'0');
    }
    return confidence <= MaxConfidence;
}

static std::vector<HWND> Listeners()
{
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, ListenerClass, nullptr)))
        windows.push_back(window);
    return windows;
}

// Returns the number of commands that fired in all listeners.
static DWORD Speak(const std::wstring& phrase, DWORD confidence)
{
    std::vector<BYTE> message(sizeof(UtteranceHeader) + phrase.size() * sizeof(wchar_t));
    UtteranceHeader header{confidence};
    memcpy(message.data(), &header, sizeof(header));
    memcpy(message.data() + sizeof(header), phrase.data(), phrase.size() * sizeof(wchar_t));
    COPYDATASTRUCT cds{UtteranceTag, DWORD(message.size()), message.data()};
    DWORD fired = 0;
    std::vector<HWND> listeners = Listeners();
    if (listeners.empty())
        fputs("say: no speech service is listening\n", stderr);
    for (HWND window : listeners) {
        DWORD_PTR reply = 0;
        if (SendMessageTimeoutW(window, WM_COPYDATA, 0, LPARAM(&cds), SMTO_ABORTIFHUNG,
                                ReplyTimeout, &reply))
            fired += DWORD(reply);
    }
    return fired;
}

static void Report(const char* verdict, const std::wstring& phrase)
{
    UINT codePage = GetConsoleOutputCP();
    int size = WideCharToMultiByte(codePage, 0, phrase.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(codePage, 0, phrase.c_str(), -1, &text[0], size, nullptr, nullptr);
    printf("%s: %s\n", verdict, text.c_str());
    fflush(stdout);
}

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring phrase = argv && argc >= 2 ? argv[1] : L"";
    DWORD confidence = MaxConfidence;
    bool usable = argv && argc >= 2 && argc <= 3 &&
                  (argc == 2 || ParseConfidence(argv[2], confidence)) &&
                  !PhraseKey(phrase.data(), phrase.size()).empty();
    LocalFree(argv);
    if (!usable)
        return Usage();
    bool heard = Speak(phrase, confidence) > 0;
    Report(heard ? "heard" : "not heard", phrase);
    return heard ? 0 : 1;
}
