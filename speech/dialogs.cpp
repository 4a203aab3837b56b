// The service's two dialogs: its parameters and what it listens for, and a
// training dialog that has nothing to train.
#include "speech/resource.h"
#include "speech/service.h"

static void SetTitle(HWND dialog, LPARAM title)
{
    if (title)
        SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(title));
}

struct GeneralView {
    VoiceCmd* voice;
    const wchar_t* title;
};

// Fills the parameters dialog from the object's current state.
static void GeneralInit(HWND dialog, const GeneralView& view)
{
    SetTitle(dialog, LPARAM(view.title));
    DWORD threshold = 0, enabled = 0, awake = 0;
    view.voice->ThresholdGet(&threshold);
    view.voice->EnabledGet(&enabled);
    view.voice->AwakeStateGet(&awake);
    SetDlgItemInt(dialog, IDC_THRESHOLD, threshold, FALSE);
    SetDlgItemTextW(dialog, IDC_ENABLED, enabled ? L"Yes" : L"No");
    SetDlgItemTextW(dialog, IDC_AWAKE, awake ? L"Yes" : L"No");
    for (const HeardPhrase& heard : view.voice->Phrases())
        if (heard.active)
            SendDlgItemMessageW(dialog, IDC_PHRASES, LB_ADDSTRING, 0,
                                LPARAM(heard.phrase.c_str()));
}

static INT_PTR CALLBACK GeneralProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        GeneralInit(dialog, *reinterpret_cast<const GeneralView*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

static INT_PTR CALLBACK TrainingProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        SetTitle(dialog, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

HRESULT VoiceCmd::GeneralDlg(HWND owner, const wchar_t* title)
{
    GeneralView view{this, title};
    AddRef();  // the dialog's owner may release us while it is open
    INT_PTR result = DialogBoxParamW(SpeechModule, MAKEINTRESOURCEW(IDD_GENERAL), owner,
                                     GeneralProc, LPARAM(&view));
    Release();
    return result == -1 ? HRESULT_FROM_WIN32(GetLastError()) : S_OK;
}

HRESULT VoiceCmd::TrainGeneralDlg(HWND owner, const wchar_t* title)
{
    INT_PTR result = DialogBoxParamW(SpeechModule, MAKEINTRESOURCEW(IDD_TRAINING), owner,
                                     TrainingProc, LPARAM(title));
    return result == -1 ? HRESULT_FROM_WIN32(GetLastError()) : S_OK;
}
