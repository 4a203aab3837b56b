#include "installer/welcome.h"

#include <shellapi.h>

#include "common/layout.h"
#include "installer/main.h"
#include "installer/resource.h"

TWelcomeForm WelcomeForm;

// Kept as UTF-16 and shown through the wide API, so that it reads right
// whatever the system's code page.
static const wchar_t* const WelcomeText =
    L"Orvanta успешно установлен!\r\n"
    L"\r\n"
    L"Если Вы первый раз установили Orvanta, то вы должны \r\n"
    L"скачать  необходимые компоненты распознавания речи с \r\n"
    L"http://www.quillmoor.example/orvanta/.\r\n"
    L"\r\n"
    L"Для дальнейших инструкций по настройке читайте User's Guide.";

static const COLORREF Red = RGB(255, 0, 0);

void TWelcomeForm::CreateControls()
{
    // Created in tab order: the two choices first, the text last.
    ViewUG = AddRadioButton(Handle, IDC_VIEWUG, {8, 128, 193, 17}, "&View User's Guide", true,
                            nullptr);
    DoNothing = AddRadioButton(Handle, IDC_DONOTHING, {8, 152, 193, 17}, "&Do Nothing", false,
                               nullptr);
    CloseBtn = AddSpeedButton(Handle, IDC_CLOSEBTN, {312, 152, 57, 25}, "&Close", nullptr);
    SetChecked(ViewUG, true);

    Memo = CreateWindowExW(0, L"EDIT", WelcomeText,
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_CENTER |
                               ES_AUTOVSCROLL | ES_WANTRETURN,
                           8, 8, 361, 97, Handle,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MEMO)),
                           GetModuleHandleW(nullptr), nullptr);
    // The form's font, with the Cyrillic character set so that the text has its letters.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(ViewUG, WM_GETFONT, 0, 0)), sizeof(font), &font);
    font.lfCharSet = RUSSIAN_CHARSET;
    memoFont_ = CreateFontIndirectW(&font);
    SendMessageW(Memo, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_), FALSE);
}

void TWelcomeForm::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_CLOSEBTN && code == BN_CLICKED)
        CloseBtnClick();
}

// Red text on the window's own colour for the memo.
LRESULT TWelcomeForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) &&
        reinterpret_cast<HWND>(lParam) == Memo) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, Red);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    // On activation the keyboard goes to the selected choice.
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && !IsChild(Handle, GetFocus())) {
        SetFocus(Checked(DoNothing) ? DoNothing : ViewUG);
        return 0;
    }
    if (message == WM_DESTROY && memoFont_) {
        DeleteObject(memoFont_);
        memoFont_ = nullptr;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

// The guide is shown normally: the choice exists so that the user reads it.
void TWelcomeForm::CloseBtnClick()
{
    if (Checked(ViewUG))
        ShellExecuteA(nullptr, nullptr, (Text(MainForm.Path) + GuideFile).c_str(), nullptr,
                      nullptr, SW_SHOWNORMAL);
    ModalResult = IDOK;
}
