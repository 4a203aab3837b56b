#include "forms.h"

TApplication Application;

int TApplication::Run(TForm& mainForm)
{
    MainForm = &mainForm;
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
    return 0;
}

// The error's text as a sentence, the program's title, an error icon and OK.
void TApplication::ShowException(const std::exception& error, HWND owner) const
{
    std::string text = error.what();
    if (!text.empty() && IsCharAlphaNumericA(text.back()))
        text += '.';
    MessageBoxA(owner, text.c_str(), Title.c_str(), MB_ICONERROR | MB_OK);
}
