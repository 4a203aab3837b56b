#include "forms.h"

#include <algorithm>

TApplication Application;

namespace {

const char* const ApplicationClass = "TApplication";

// Posted, so that a form is activated once the application window's own
// activation has finished.
constexpr UINT WMAPP_ACTIVATEFORM = WM_APP + 1;

// The end of the chain of owners; GetAncestor stops at an owned window
// that is not a pop-up, as the forms are.
HWND RootOwner(HWND window)
{
    while (HWND owner = GetWindow(window, GW_OWNER))
        window = owner;
    return window;
}

struct WindowSearch {
    HWND application;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectShown(HWND window, LPARAM param)
{
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    if (window != search.application && IsWindowVisible(window) &&
        RootOwner(window) == search.application)
        search.found.push_back(window);
    return TRUE;
}

bool IsToolWindow(HWND window)
{
    return GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW;
}

}  // namespace

// A zero-size window in the middle of the screen: it is there only for its
// caption on the taskbar button and to own the forms, which so have no
// buttons of their own.
HWND TApplication::CreateHandle()
{
    if (Handle)
        return Handle;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, ApplicationClass, &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        wc.lpszClassName = ApplicationClass;
        RegisterClassA(&wc);
    }
    Handle = CreateWindowExA(0, ApplicationClass, Title.c_str(),
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                             GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                             0, 0, nullptr, nullptr, instance, nullptr);
    if (!Handle)
        throw std::runtime_error("Can't create the application window");
    return Handle;
}

int TApplication::Run(TForm& mainForm)
{
    MainForm = &mainForm;
    CreateHandle();
    SetWindowTextA(Handle, Title.c_str());
    // The taskbar button shows the main form's icon.
    auto icon = static_cast<LPARAM>(GetClassLongPtrA(mainForm.Handle, GCLP_HICON));
    if (icon) {
        SendMessageA(Handle, WM_SETICON, ICON_BIG, icon);
        SendMessageA(Handle, WM_SETICON, ICON_SMALL, icon);
    }
    ShowWindow(Handle, SW_SHOWNA);
    mainForm.Show();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Tab, arrow keys and Alt+letter move between the controls of a form.
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        TForm* form = root ? TForm::FormOf(root) : nullptr;
        if (form && (form->TurnPage(msg) || IsDialogMessageA(root, &msg)))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    MainForm = nullptr;
    // The taskbar button goes with the main form, and so do the forms still hidden.
    if (Handle)
        DestroyWindow(Handle);
    return 0;
}

void TApplication::Minimize()
{
    if (Handle && !IsIconic(Handle))
        ShowWindow(Handle, SW_MINIMIZE);
}

// The program's shown windows, topmost first: its forms, their message boxes
// and the dialogs they own, directly or through another form.
std::vector<HWND> TApplication::ShownWindows() const
{
    WindowSearch search{Handle, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectShown, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// However the button was minimised (its menu, the main form's minimise box,
// the shell), the forms follow it.
void TApplication::HideForms()
{
    minimized_ = true;
    hidden_ = ShownWindows();
    for (HWND window : hidden_)
        ShowWindow(window, SW_HIDE);
}

void TApplication::FormHidden(HWND form)
{
    hidden_.erase(std::remove(hidden_.begin(), hidden_.end(), form), hidden_.end());
}

// A tool tip that was up stays down.
void TApplication::ShowForms()
{
    if (!minimized_)
        return;
    minimized_ = false;
    for (HWND window : hidden_)
        if (IsWindow(window) && RootOwner(window) == Handle &&
            !IsToolWindow(window))
            ShowWindow(window, SW_SHOWNA);
    hidden_.clear();
    PostMessageA(Handle, WMAPP_ACTIVATEFORM, 0, 0);
}

// The application window takes no input: the keyboard goes to the topmost
// form that can take it, a modal form before the form below it.
void TApplication::ActivateForm()
{
    if (!Handle || IsIconic(Handle))
        return;
    for (HWND window : ShownWindows())
        if (IsWindowEnabled(window) && !IsToolWindow(window)) {
            SetForegroundWindow(window);
            return;
        }
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (hwnd != Application.Handle)
            break;  // still being made
        if (wParam == SIZE_MINIMIZED)
            Application.HideForms();
        else if (wParam == SIZE_RESTORED)
            Application.ShowForms();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd))
            PostMessageA(hwnd, WMAPP_ACTIVATEFORM, 0, 0);
        break;
    case WMAPP_ACTIVATEFORM:
        Application.ActivateForm();
        return 0;
    case WM_CLOSE:
        // Close on the taskbar button's menu is the main form's close box.
        if (Application.MainForm)
            Application.MainForm->Close();
        return 0;
    case WM_NCDESTROY:
        Application.Handle = nullptr;
        Application.minimized_ = false;
        Application.hidden_.clear();
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The error's text as a sentence, the program's title, an error icon and OK.
void TApplication::ShowException(const std::exception& error, HWND owner) const
{
    std::string text = error.what();
    if (!text.empty() && IsCharAlphaNumericA(text.back()))
        text += '.';
    MessageBoxA(owner, text.c_str(), Title.c_str(), MB_ICONERROR | MB_OK);
}
