// The indicator window: the 18 x 18 always-on-top icon with its popup menu,
// and the About window.
#include "engine.h"

#include <windowsx.h>

#include "engine/resource.h"
#include "engine/scripthost.h"

static const LPARAM CloseRequest = 256;

void ShowCurrentIcon()
{
    if (!Globals.indicator)
        return;
    // Through the paint cycle, so the background erase cannot wipe the icon.
    InvalidateRect(Globals.indicator, nullptr, FALSE);
    UpdateWindow(Globals.indicator);
}

// Keep the handle, take the title the configuration utility looks for, and
// sit above ordinary windows at the stored place.
static void OnInitDialog(HWND hwnd)
{
    Globals.indicator = hwnd;
    SetWindowTextA(hwnd, "Orvanta");
    SetWindowPos(hwnd, HWND_TOPMOST, Globals.infoX, Globals.infoY, IndicatorSize, IndicatorSize,
                 0);
}

static void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawIconEx(dc, 0, 0, Globals.currentIcon, 16, 16, 0, nullptr, DI_NORMAL);
    EndPaint(hwnd, &ps);
}

static void StartDrag(HWND hwnd, POINT anchor)
{
    Globals.anchorX = anchor.x;
    Globals.anchorY = anchor.y;
    Globals.dragging = 1;
    SetCapture(hwnd);
}

// A press on the border comes in screen coordinates; anchor it in client
// coordinates like a press inside, so the window does not jump.
static void OnBorderDown(HWND hwnd, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(hwnd, &p);
    StartDrag(hwnd, p);
}

// Follow the cursor, keeping the right and bottom edges on the screen. The
// point is the message's own, so a queued move and a synthetic one agree.
static void OnMouseMove(HWND hwnd, LPARAM lParam)
{
    if (!Globals.dragging)
        return;
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &p);
    int ax = Globals.anchorX, ay = Globals.anchorY;
    if (p.x < ax)
        p.x = ax;
    if (p.y < ay)
        p.y = ay;
    if (p.x - ax + 17 > Globals.screenWidth)
        p.x = Globals.screenWidth + ax - 17;
    if (p.y - ay + 17 > Globals.screenHeight)
        p.y = Globals.screenHeight + ay - 17;
    Globals.infoX = p.x - ax - 1;  // the border lies between the corner and the client area
    Globals.infoY = p.y - ay - 1;
    SetWindowPos(hwnd, nullptr, Globals.infoX, Globals.infoY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

static void OnButtonUp()
{
    Globals.dragging = 0;
    ReleaseCapture();
}

static void ToggleRecognition()
{
    SetRecognitionActive(Globals.recognitionActive ? 0 : 1);
}

static void ShowPopupMenu(HWND hwnd)
{
    POINT p;
    GetCursorPos(&p);
    // Foreground first, or the menu stays open when the user clicks elsewhere.
    SetForegroundWindow(hwnd);
    TrackPopupMenu(Globals.popupMenu, 0, p.x, p.y, 0, hwnd, nullptr);
    PostMessageA(hwnd, WM_NULL, 0, 0);
}

static void StartConfigUtility(HWND hwnd)
{
    if (!Globals.hasConfigUtility) {
        MessageBoxA(hwnd,
                    "The install folder of Orvanta is not recorded, so Orv Configuration "
                    "cannot be started. Please install Orvanta again.",
                    "Orv Configuration", MB_ICONWARNING | MB_OK);
        return;
    }
    // Quoted, so a path with spaces cannot start some other program.
    std::string line = "\"" + Globals.configUtilityPath + "\"";
    WinExec(line.c_str(), SW_SHOWNORMAL);
}

static void ShowAbout()
{
    DialogBoxParamA(Globals.instance, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, AboutProc, 0);
}

// About windows (the user may have opened several) end at once; windows the
// indicator owns, such as the speech service's dialogs, are asked to close
// as a user would.
static BOOL CALLBACK CloseWindowOnTop(HWND window, LPARAM indicator)
{
    if (GetWindowLongPtrA(window, DWLP_DLGPROC) == reinterpret_cast<LONG_PTR>(AboutProc))
        EndDialog(window, 1);
    else if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(indicator))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// The engine ends with the indicator's dialog. A menu or window open on top
// would hold the dialog's loop until the user closed it, and an engine
// restarted meanwhile would hear every phrase beside this one, so they go too.
static void EndEngine(HWND hwnd)
{
    EndMenu();
    EnumThreadWindows(GetCurrentThreadId(), CloseWindowOnTop, reinterpret_cast<LPARAM>(hwnd));
    EndDialog(hwnd, 1);
}

static void OnCommand(HWND hwnd, int id)
{
    switch (id) {
    case IDM_EXIT: EndEngine(hwnd); break;
    case IDM_TOGGLE: ToggleRecognition(); break;
    case IDM_OPTIONS: StartConfigUtility(hwnd); break;
    case IDM_SRPARAMETERS: ShowRecognitionParameters(hwnd); break;
    case IDM_TRAINING: ShowTraining(hwnd); break;
    case IDM_ABOUT: ShowAbout(); break;
    }
    // Anything else, the dialog's own OK and Cancel among it, leaves the engine running.
}

INT_PTR CALLBACK IndicatorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: OnInitDialog(hwnd); return FALSE;
    case WM_PAINT: OnPaint(hwnd); return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: return (INT_PTR)GetStockObject(WHITE_BRUSH);
    case WM_LBUTTONDOWN: StartDrag(hwnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); break;
    case WM_NCLBUTTONDOWN: OnBorderDown(hwnd, lParam); break;
    case WM_MOUSEMOVE: OnMouseMove(hwnd, lParam); break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: OnButtonUp(); break;
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK: ToggleRecognition(); break;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP: ShowPopupMenu(hwnd); break;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam)); break;
    case WM_NOTIFY:
        if (lParam == CloseRequest)
            EndEngine(hwnd);
        break;
    case WMAPP_SETACTIVE: SetRecognitionActive(int(wParam)); break;
    case WMAPP_CLOSE: EndEngine(hwnd); break;
    default:
        // Between processes WM_NOTIFY is not carried, so the close request
        // also comes as a registered message.
        if (msg == Globals.closeRequestMessage && msg != 0 && lParam == CloseRequest)
            EndEngine(hwnd);
        break;
    }
    return FALSE;
}

// Only its Close button ends it; Escape and the close box do not.
INT_PTR CALLBACK AboutProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK)
        EndDialog(hwnd, 1);
    return FALSE;
}
