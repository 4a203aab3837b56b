// Orvanta.exe: program entry, start-up window, settings and shutdown.
#include "engine.h"

#include <objbase.h>

#include "common/layout.h"
#include "common/winregistry.h"
#include "engine/resource.h"

EngineGlobals Globals;
const std::vector<EngineCommand>* CommandTable = new std::vector<EngineCommand>();

static const DWORD DefaultThreshold = 50;

// Defaults first; a value of the right size overrides its default.
static void ReadSettings()
{
    Globals.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    Globals.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    Globals.infoX = Globals.screenWidth - IndicatorSize;
    Globals.infoY = 0;
    Globals.threshold = DefaultThreshold;

    WinRegistry reg;
    KeyHolder key(reg, reg.OpenKey(OptionsKeyPath));
    uint32_t value;
    if (ReadDword(reg, key.get(), InfoXValue, value))
        Globals.infoX = int32_t(value);
    if (ReadDword(reg, key.get(), InfoYValue, value))
        Globals.infoY = int32_t(value);
    if (ReadDword(reg, key.get(), ThresholdValue, value))
        Globals.threshold = value;

    // Without a recorded install folder there is nothing safe to start.
    std::string installPath;
    ReadText(reg, key.get(), InstallPathValue, installPath);
    Globals.hasConfigUtility = !installPath.empty();
    Globals.configUtilityPath = Globals.hasConfigUtility ? installPath + ConfigFile : "";
}

static void LoadIndicatorResources()
{
    Globals.menuResource = LoadMenuA(Globals.instance, MAKEINTRESOURCEA(IDM_POPUP));
    Globals.popupMenu = GetSubMenu(Globals.menuResource, 0);
    SetMenuDefaultItem(Globals.popupMenu, 0, TRUE);
    Globals.currentIcon = (HICON)LoadImageA(Globals.instance, MAKEINTRESOURCEA(IDI_ACTIVE),
                                            IMAGE_ICON, 16, 16, LR_SHARED);
}

int InitializeEngine()
{
    WinRegistry reg;
    if (!StoreExists(reg)) {
        MessageBoxA(nullptr, "Can't load settings. You need to run Orv Configuration.",
                    "Error initializing Orv", MB_ICONERROR | MB_OK);
        return 0;
    }
    Globals.closeRequestMessage = RegisterWindowMessageA("OrvantaCloseRequest");
    StartSpeech();
    CreateVoiceMenu();
    LoadCommands();
    ActivateVoiceMenu();
    Globals.recognitionActive = 1;
    LoadIndicatorResources();
    ReadSettings();
    SetThreshold(Globals.threshold);
    return 1;
}

void ShutdownEngine()
{
    ReleaseSpeech();
    WinRegistry reg;
    KeyHolder key(reg, reg.CreateKey(OptionsKeyPath));
    if (key) {
        WriteDword(reg, key.get(), InfoXValue, uint32_t(Globals.infoX));
        WriteDword(reg, key.get(), InfoYValue, uint32_t(Globals.infoY));
    }
}

// The whole run of the engine happens inside the first tick, so the start-up
// window stays up for at least one period.
static void OnStartupTimer(HWND hwnd)
{
    KillTimer(hwnd, IDT_STARTUP);
    if (!InitializeEngine()) {
        EndDialog(hwnd, 0);
        return;
    }
    ShowWindow(hwnd, SW_HIDE);
    DialogBoxParamA(Globals.instance, MAKEINTRESOURCEA(IDD_INDICATOR), hwnd, IndicatorProc, 0);
    EndDialog(hwnd, 1);
}

static INT_PTR CALLBACK StartupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowTextA(hwnd, "Initializing...");
        SetTimer(hwnd, IDT_STARTUP, 500, nullptr);
        return FALSE;
    case WM_TIMER:
        OnStartupTimer(hwnd);
        return FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return (INT_PTR)GetStockObject(WHITE_BRUSH);
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    Globals.instance = instance;
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_STARTUP), GetDesktopWindow(),
                                     StartupProc, 0);
    if (result != 1)
        return 0;
    ShutdownEngine();
    CoUninitialize();
    return 1;
}
