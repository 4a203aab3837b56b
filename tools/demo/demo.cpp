// A scripted first run of the system, for a machine without a display: define
// a command in the configuration window, save, start the engine, speak the
// phrase with the say tool and show that notepad received the typed text.
#include "common/layout.h"
#include "journey.h"
#include "speech.h"
#include "winetest.h"

#include <cstdio>
#include <string>

namespace {

const char* Phrase = "write greeting";
const char* Expected = "Hello from Orvanta";

bool Step(bool ok, const std::string& what)
{
    std::printf("%s %s\n", ok ? "  ok  " : "  FAIL", what.c_str());
    std::fflush(stdout);
    return ok;
}

// Screenshots are taken from outside; this tells the caller when to take one.
void Pause(const char* name)
{
    std::printf("screenshot %s\n", name);
    std::fflush(stdout);
    Sleep(1500);
}

}  // namespace

int main()
{
    std::printf("Orvanta demonstration\n");
    // The build folder stands in for an installation.
    ClearSystemRegistry();
    std::string bin = BinDir();
    HKEY options;
    RegCreateKeyExA(HKEY_CURRENT_USER, OptionsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &options, nullptr);
    RegSetValueExA(options, InstallPathValue, 0, REG_SZ, (const BYTE*)bin.c_str(), DWORD(bin.size() + 1));
    RegCloseKey(options);

    if (!Step(RegisterSpeech(), "the speech service stand-in is registered"))
        return 1;
    if (!Step(DefineCommandAndSave(bin, Phrase, "Types a greeting", std::string("text ") + Expected,
                                   [] { Pause("configuration"); }),
              "\"write greeting\" defined in the configuration window and saved"))
        return 1;
    Process engine = Start("\"" + bin + EngineFile + "\"");
    if (!Step(WaitForWindow("Orvanta", 15000, "#32770") != nullptr, "the engine is listening"))
        return 1;
    Notepad notepad;
    if (!Step(notepad.Open(), "notepad has the focus"))
        return 1;
    std::string said;
    int heard = Say(L"write greeting", 100, &said);
    said.erase(said.find_last_not_of("\r\n ") + 1);
    Step(heard == 0, "say \"write greeting\" -> " + said);
    std::string text = notepad.WaitForText(Expected, 10000);
    bool typed = Step(text == Expected, "notepad received: \"" + text + "\"");
    Pause("notepad");
    UnregisterSpeech();
    return typed ? 0 : 1;
}
