// Save & Close: the autoload flag, the log-on entry and the whole command
// store, then the offer to restart a running engine.
#include "main.h"

#include "common/layout.h"
#include "common/store.h"
#include "common/winregistry.h"
#include "config/command.h"

#include <algorithm>

namespace {

const char* const EngineTitle = "Orvanta";
// The engine's indicator is a dialog box. Other windows may carry the same
// title (a shell window showing the Start-menu folder "Orvanta", say), and
// the close request must never reach them: to them lParam 256 is a pointer.
const char* const EngineClass = "#32770";
const char* const ReloadQuestion =
    "You must reload Orvanta to activate changes you made.\nYes - reload now, No - do nothing";
// Wine does not carry WM_NOTIFY between processes; the engine takes this too.
const char* const CloseRequestMessage = "OrvantaCloseRequest";
constexpr WPARAM CloseRequestW = 256;
constexpr LPARAM CloseRequestL = 256;

// The engine's path as a command line: quoted when it holds a space, or
// Windows would try to start "C:\Program" first.
std::string EngineCommandLine(const std::string& installPath)
{
    std::string path = installPath + EngineFile;
    return path.find(' ') == std::string::npos ? path : '"' + path + '"';
}

// A phrase as an error message names it: cut short when long.
std::string Shown(const std::string& phrase)
{
    return phrase.size() > 60 ? phrase.substr(0, 57) + "..." : phrase;
}

// Every script compiled before anything is written, so that a script the
// compiler refuses leaves the registry as it was.
std::vector<StoredCommand> CompiledCommands(HWND list)
{
    std::vector<StoredCommand> commands;
    int count = ListCount(list);
    for (int i = 0; i < count; i++) {
        StoredCommand c;
        c.enabled = ListChecked(list, i);
        c.phrase = ListText(list, i, 0);
        c.description = ListText(list, i, 1);
        auto command = reinterpret_cast<TCommand*>(ListData(list, i));
        if (command) {
            try {
                size_t length = std::min(command->Compile(), MaxCodeSize);
                c.code.assign(command->Code, command->Code + length);
            } catch (const ECompileError& error) {
                throw std::runtime_error("Can't save the voice command \"" + Shown(c.phrase) +
                                         "\":\n" + error.what());
            }
        }
        commands.push_back(std::move(c));
    }
    return commands;
}

}  // namespace

void TMainForm::SaveConfiguration()
{
    std::vector<StoredCommand> commands = CompiledCommands(List);
    bool autoLoad = Checked(Autoload);
    WinRegistry reg;
    std::string installPath;
    {
        KeyHolder options(reg, reg.CreateKey(OptionsKeyPath));
        WriteDword(reg, options.get(), AutoLoadValue, autoLoad ? 1 : 0);
        ReadText(reg, options.get(), InstallPathValue, installPath);
    }
    {
        KeyHolder run(reg, reg.CreateKey(RunKeyPath));
        if (autoLoad)
            WriteText(reg, run.get(), RunValue, EngineCommandLine(installPath));
        else
            reg.DeleteValue(run.get(), RunValue);
    }
    WriteStore(reg, SystemLocale(), commands);
}

void TMainForm::SaveCloseClick()
{
    SaveConfiguration();
    if (FindWindowA(EngineClass, EngineTitle) &&
        MessageBoxA(Handle, ReloadQuestion, EngineTitle, MB_YESNO | MB_ICONINFORMATION) == IDYES)
        ReloadEngine();
    Close();
}

// Closes the running engine and starts it again from the install folder.
void TMainForm::ReloadEngine()
{
    HWND engine = FindWindowA(EngineClass, EngineTitle);
    if (engine) {
        SendMessageA(engine, WM_NOTIFY, CloseRequestW, CloseRequestL);
        if (IsWindow(engine))
            SendMessageA(engine, RegisterWindowMessageA(CloseRequestMessage), CloseRequestW,
                         CloseRequestL);
    }
    WinExec(EngineCommandLine(InstallDir).c_str(), SW_SHOWNORMAL);
}
