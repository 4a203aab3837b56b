// Orv Install: puts the engine, the configuration utility, the uninstaller and
// the user's guide on the machine and records where they are.
#include <windows.h>

#include <objbase.h>

#include "forms/forms.h"
#include "installer/main.h"
#include "installer/welcome.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The folder picker and the shell's verbs may use COM objects; each
    // shortcut still takes its own initialisation, nested inside this one.
    CoInitialize(nullptr);
    try {
        Application.Title = "Orvanta 2.00.2 Installation Program";
        HICON icon = LoadIconA(instance, "MAINICON");
        MainForm.Create("TMainForm", "Orvanta 3.7.14 Installation Program", 328, 63, icon, true);
        WelcomeForm.Create("TWelcomeForm", "Welcome!", 377, 184, icon);
        // Owned by the main window: shown above it, without a taskbar button of its own.
        SetWindowLongPtrA(WelcomeForm.Handle, GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(MainForm.Handle));
        Application.Run(MainForm);
    } catch (const std::exception& error) {
        Application.ShowException(error);
    }
    CoUninitialize();
    return 0;
}
