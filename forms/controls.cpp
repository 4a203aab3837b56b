#include "forms.h"

std::string Text(HWND control)
{
    int length = GetWindowTextLengthA(control);
    std::string text(length + 1, '\0');
    text.resize(GetWindowTextA(control, &text[0], length + 1));
    return text;
}

void SetText(HWND control, const std::string& text)
{
    SetWindowTextA(control, text.c_str());
}

// A line break is CR LF, CR or LF; a break at the very end starts no line.
std::vector<std::string> Lines(HWND memo)
{
    std::string text = Text(memo);
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            i++;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

void SetLines(HWND memo, const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); i++)
        text += (i ? "\r\n" : "") + lines[i];
    // A break at the very end starts no line, so an empty last line needs one more.
    if (!lines.empty() && lines.back().empty())
        text += "\r\n";
    SetText(memo, text);
}

bool Checked(HWND button)
{
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND button, bool checked)
{
    SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int ListCount(HWND list)
{
    return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int ListSelected(HWND list)
{
    return int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void ListSelect(HWND list, int item)
{
    ListView_SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, item, FALSE);
}

int ListInsert(HWND list, int item, const std::string& caption, LPARAM data)
{
    LVITEMA lv{};
    lv.mask = LVIF_TEXT | LVIF_PARAM;
    lv.iItem = item;
    lv.pszText = const_cast<char*>(caption.c_str());
    lv.lParam = data;
    return int(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv)));
}

void ListDelete(HWND list, int item)
{
    SendMessageA(list, LVM_DELETEITEM, item, 0);
}

// Asks with a growing buffer: the list reports no length of its own.
std::string ListText(HWND list, int item, int column)
{
    for (int size = 256;; size *= 4) {
        std::string text(size, '\0');
        LVITEMA lv{};
        lv.iSubItem = column;
        lv.pszText = &text[0];
        lv.cchTextMax = size;
        int length = int(SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv)));
        if (length < size - 1) {
            text.resize(length);
            return text;
        }
    }
}

void ListSetText(HWND list, int item, int column, const std::string& text)
{
    LVITEMA lv{};
    lv.iSubItem = column;
    lv.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv));
}

bool ListChecked(HWND list, int item)
{
    return ListView_GetCheckState(list, item) != 0;
}

void ListSetChecked(HWND list, int item, bool checked)
{
    ListView_SetItemState(list, item, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}

LPARAM ListData(HWND list, int item)
{
    LVITEMA lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv)))
        return 0;
    return lv.lParam;
}

void ListSetData(HWND list, int item, LPARAM data)
{
    LVITEMA lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    lv.lParam = data;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&lv));
}
