#include "main.h"

#include "common/layout.h"
#include "common/store.h"
#include "common/winregistry.h"
#include "config/command.h"
#include "config/resource.h"

#include <algorithm>
#include <map>
#include <memory>

TMainForm MainForm;
std::string InstallDir;

namespace {

// Sorting waits until the list has stored an in-place edit.
constexpr UINT WMAPP_SORTLIST = WM_APP + 1;

TCommand* CommandOf(HWND list, int item)
{
    return reinterpret_cast<TCommand*>(ListData(list, item));
}

int FindItem(HWND list, LPARAM data)
{
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = data;
    return int(SendMessageA(list, LVM_FINDITEMA, WPARAM(-1), reinterpret_cast<LPARAM>(&find)));
}

int CALLBACK CompareRank(LPARAM a, LPARAM b, LPARAM ranks)
{
    auto& rank = *reinterpret_cast<std::map<LPARAM, int>*>(ranks);
    return rank[a] - rank[b];
}

}  // namespace

void TMainForm::CreateControls()
{
    SaveClose = AddSpeedButton(Handle, IDC_SAVECLOSE, {336, 368, 81, 25}, "&Save && Close",
                               "Save changes you made and close configuration program.");
    PageControl = AddPageControl(Handle, IDC_PAGECONTROL, {8, 8, 409, 353});

    GeneralPage = AddTabSheet(PageControl, IDC_GENERALPAGE, "General/About",
                              "Here you can change general Orv options, such as Autoloadt and so on.");
    OrvLogo = AddImage(GeneralPage, IDC_ORVLOGO, {0, 0, 401, 92}, IDB_LOGO, "Orvanta logo.");
    Label8 = AddLabel(GeneralPage, IDC_LABEL8, {0, 96, 401, 15},
                      "Configuration program for Orvanta 3.7.14", Align::Center, nullptr);
    Label9 = AddLabel(GeneralPage, IDC_LABEL9, {0, 112, 401, 15},
                      "Copyright (C) Quillmoor. All rights reserved.", Align::Center, nullptr);
    Label10 = AddLabel(GeneralPage, IDC_LABEL10, {0, 128, 401, 15},
                       "Quillmoor support: support@quillmoor.example", Align::Center,
                       "Please report me all bugs you found in this program.");
    Label11 = AddLabel(GeneralPage, IDC_LABEL11, {0, 144, 401, 13},
                       "New versions are announced on the Quillmoor web site.", Align::Center,
                       nullptr);
    Bevel = AddBevel(GeneralPage, IDC_BEVEL, {0, 165, 401, 2});
    Autoload = AddCheckBox(GeneralPage, IDC_AUTOLOAD, {8, 184, 225, 17},
                           "Autoload and enable Orv on system startup",
                           "If you check this checkbox, Orv will automatically load every time "
                           "you log on to your system.");

    CommandsPage = AddTabSheet(PageControl, IDC_COMMANDSPAGE, "Commands",
                               "Here you can configure existing commands and/or add new.");
    List = AddListView(CommandsPage, IDC_LIST, {0, 0, 401, 150},
                       {{"Voice command", 150}, {"Description", 210}},
                       "The list of available commands. If command is checked then it is enabled.");
    Label12 = AddLabel(CommandsPage, IDC_LABEL12, {13, 164, 79, 13}, "Voice command:", Align::Right,
                       nullptr);
    Voice = AddEdit(CommandsPage, IDC_VOICE, {96, 160, 137, 21},
                    "You should speak this text to execute Script.");
    Add = AddSpeedButton(CommandsPage, IDC_ADD, {248, 160, 49, 21}, "&Add", "Add new command.");
    Delete = AddSpeedButton(CommandsPage, IDC_DELETE, {296, 160, 49, 21}, "&Detete",
                            "Delete selected command.");
    Modify = AddSpeedButton(CommandsPage, IDC_MODIFY, {344, 160, 49, 21}, "&Modify",
                            "Modify selected command.");
    Label13 = AddLabel(CommandsPage, IDC_LABEL13, {39, 196, 53, 13}, "Description", Align::Right,
                       nullptr);
    Description = AddEdit(CommandsPage, IDC_DESCRIPTION, {96, 192, 297, 21},
                          "Short description for command (option).");
    MemoOptions memo;
    memo.horizontalScroll = true;
    Program = AddMemo(CommandsPage, IDC_PROGRAM, {8, 224, 385, 97}, memo,
                      "Script that will be executed when Voice command is recognized. See "
                      "documentation for information about writing programs.");

    EnableWindow(Delete, FALSE);
    EnableWindow(Modify, FALSE);
    ShowPage(PageControl, 0);
}

void TMainForm::FormCreate()
{
    LoadConfiguration();
}

void TMainForm::OnCommand(int id, int code, HWND control)
{
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_ADD: AddClick(); break;
    case IDC_DELETE: DeleteClick(); break;
    case IDC_MODIFY: ModifyClick(); break;
    case IDC_SAVECLOSE: SaveCloseClick(); break;
    }
}

LRESULT TMainForm::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom != List)
        return 0;
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.uChanged & (LVIF_TEXT | LVIF_IMAGE | LVIF_STATE))
            ListChange();
        return 0;
    }
    case LVN_ENDLABELEDITA: {
        auto& edit = reinterpret_cast<const NMLVDISPINFOA&>(header);
        if (!edit.item.pszText)  // cancelled
            return FALSE;
        if (!ListEdited(edit.item.iItem, edit.item.pszText))
            return FALSE;
        PostMessageA(Handle, WMAPP_SORTLIST, 0, 0);
        return TRUE;
    }
    }
    return 0;
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WMAPP_SORTLIST) {
        SortList();
        return 0;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

void TMainForm::LoadConfiguration()
{
    WinRegistry reg;
    {
        KeyHolder options(reg, reg.OpenKey(OptionsKeyPath));
        uint32_t autoLoad = 0;
        ReadDword(reg, options.get(), AutoLoadValue, autoLoad);
        SetChecked(Autoload, autoLoad != 0);
        ReadText(reg, options.get(), InstallPathValue, InstallDir);
    }
    for (const StoredCommand& stored : LoadStoredCommands(reg, SystemLocale())) {
        auto command = std::make_unique<TCommand>(stored.code.data(), stored.code.size(),
                                                  SystemLocale());
        int item = AppendItem(reinterpret_cast<LPARAM>(command.release()));
        ListSetText(List, item, 1, stored.description);
        item = SetCaption(item, stored.phrase);
        ListSetChecked(List, item, stored.enabled);
    }
}

int TMainForm::AppendItem(LPARAM command)
{
    int item = ListInsert(List, ListCount(List), "", command);
    if (item < 0) {
        delete reinterpret_cast<TCommand*>(command);
        throw std::runtime_error("Can't add a command to the list");
    }
    return item;
}

// Sets the caption and sorts the list; returns where the item came to rest.
int TMainForm::SetCaption(int item, const std::string& caption)
{
    LPARAM data = ListData(List, item);
    ListSetText(List, item, 0, caption);
    SortList();
    return FindItem(List, data);
}

// Ascending by caption with lstrcmpA; items with equal captions keep their
// order. ShownIndex follows the item it names.
void TMainForm::SortList()
{
    int count = ListCount(List);
    std::vector<std::pair<std::string, int>> order;
    for (int i = 0; i < count; i++)
        order.emplace_back(ListText(List, i), i);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return lstrcmpA(a.first.c_str(), b.first.c_str()) < 0;
    });
    std::map<LPARAM, int> rank;
    int shown = -1;
    for (int r = 0; r < count; r++) {
        rank[ListData(List, order[r].second)] = r;
        if (order[r].second == ShownIndex)
            shown = r;
    }
    SendMessageA(List, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rank),
                 reinterpret_cast<LPARAM>(CompareRank));
    if (ShownIndex >= 0)
        ShownIndex = shown;
}

void TMainForm::AddClick()
{
    auto command = std::make_unique<TCommand>(Lines(Program), SystemLocale());
    int item = AppendItem(reinterpret_cast<LPARAM>(command.release()));
    item = SetCaption(item, Text(Voice));
    ListSetText(List, item, 1, Text(Description));
    ListSelect(List, item);
    ShownIndex = item;
    ListSetChecked(List, item, true);
}

void TMainForm::DeleteClick()
{
    int item = ListSelected(List);
    if (item < 0)
        return;
    TCommand* command = CommandOf(List, item);
    ListDelete(List, item);
    delete command;
    ShownIndex = -1;
    ListChange();  // the list reports no change when its selection goes with the item
}

void TMainForm::ModifyClick()
{
    int item = ListSelected(List);
    if (item < 0)
        return;
    TCommand* old = CommandOf(List, item);
    auto command = std::make_unique<TCommand>(Lines(Program), SystemLocale());
    ListSetData(List, item, reinterpret_cast<LPARAM>(command.release()));
    delete old;
    item = SetCaption(item, Text(Voice));
    ListSetText(List, item, 1, Text(Description));
}

// Shows the selected command, unless the fields show it already: what the
// user typed there since stays when only the item's check box changes.
void TMainForm::ListChange()
{
    int item = ListSelected(List);
    if (item < 0) {
        EnableWindow(Delete, FALSE);
        EnableWindow(Modify, FALSE);
        return;
    }
    // Enabled even for the item already shown, which the user may have
    // deselected and selected again.
    EnableWindow(Delete, TRUE);
    EnableWindow(Modify, TRUE);
    if (item == ShownIndex)
        return;
    SetText(Voice, ListText(List, item, 0));
    SetText(Description, ListText(List, item, 1));
    TCommand* command = CommandOf(List, item);
    SetLines(Program, command ? command->Lines : std::vector<std::string>());
    ShownIndex = item;
}

// An empty phrase is refused and the item keeps its old one.
bool TMainForm::ListEdited(int item, const char* caption)
{
    if (*caption)
        return true;
    MessageBoxA(Handle, "Invalid Voice command", "Error modifying command", MB_ICONERROR | MB_OK);
    return false;
}
