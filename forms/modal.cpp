#include "forms/modal.h"

int TModalForm::ShowModal()
{
    HWND owner = Application.MainForm ? Application.MainForm->Handle : nullptr;
    if (owner) {
        // Owned, so it stays above the main form and leaves the taskbar to it.
        SetWindowLongPtrA(Handle, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
        EnableWindow(owner, FALSE);
    }
    ModalResult = mrNone;
    Show();
    SetForegroundWindow(Handle);

    MSG msg;
    bool quit = false;
    while (ModalResult == mrNone) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        if (IsDialogMessageA(Handle, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The owner is enabled before the form hides, so that activation returns to it.
    if (owner)
        EnableWindow(owner, TRUE);
    ShowWindow(Handle, SW_HIDE);
    if (quit)
        PostQuitMessage(int(msg.wParam));
    return ModalResult;
}

LRESULT TModalForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The close box ends the modal display; the form itself lives on.
    if (message == WM_CLOSE) {
        ModalResult = mrCancel;
        return 0;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}
