// A form shown modally: the program's main form is disabled until the form
// sets ModalResult or the user closes it with its close box.
#pragma once
#include "forms/forms.h"

enum { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TModalForm : public TForm {
public:
    int ModalResult = mrNone;
    // Shows the form, runs messages until ModalResult is set, hides the form again.
    int ShowModal();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
