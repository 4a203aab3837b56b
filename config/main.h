// The configuration window: general settings and About on one page, the
// command list on the other. Nothing reaches the registry before Save & Close.
#pragma once
#include "forms/forms.h"

#include <string>

class TMainForm : public TForm {
public:
    // Controls, as the window holds them.
    HWND SaveClose, PageControl, GeneralPage, OrvLogo, Label8, Label9, Label10, Label11, Bevel,
        Autoload, CommandsPage, List, Label12, Voice, Add, Delete, Modify, Label13, Description,
        Program;

    // List position of the item whose content the edit fields last received, or -1.
    int ShownIndex = -1;

    void LoadConfiguration();
    void SaveConfiguration();

    void AddClick();
    void DeleteClick();
    void ModifyClick();
    void ListChange();
    bool ListEdited(int item, const char* caption);
    void SaveCloseClick();

protected:
    void CreateControls() override;
    void FormCreate() override;
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(const NMHDR& header) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int AppendItem(LPARAM command);
    int SetCaption(int item, const std::string& caption);
    void SortList();
    void ReloadEngine();
};

extern TMainForm MainForm;
// InstallPath as read when the window was created.
extern std::string InstallDir;
