// The installer's main window: the install folder, Browse, Go! and the progress bar.
#pragma once
#include <string>

#include "forms/forms.h"

class TMainForm : public TForm {
public:
    HWND Path = nullptr;
    HWND Browse = nullptr;
    HWND Go = nullptr;
    HWND Progress = nullptr;

    void PathChange();
    void BrowseClick();
    void GoClick();
    // Writes the first byteCount bytes of the payload resource to the file.
    void ExtractResource(const char* name, const std::string& path, DWORD byteCount);
    void CreateLink(const std::string& target, const std::string& link,
                    const std::string& iconPath, int iconIndex);

protected:
    void CreateControls() override;
    void FormCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

extern TMainForm MainForm;
