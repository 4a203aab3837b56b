// The window shown once the installation is done: the welcome text and the
// offer to open the user's guide.
#pragma once
#include "forms/forms.h"

class TWelcomeForm : public TForm {
public:
    HWND Memo = nullptr;
    HWND ViewUG = nullptr;
    HWND DoNothing = nullptr;
    HWND CloseBtn = nullptr;

    void CloseBtnClick();

protected:
    void CreateControls() override;
    void OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HFONT memoFont_ = nullptr;
};

extern TWelcomeForm WelcomeForm;
