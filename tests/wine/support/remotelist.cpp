#include "remotelist.h"

#include <commctrl.h>

namespace {
constexpr size_t PageSize = 4096;
constexpr size_t TextOffset = 512;  // the structures sit before it
constexpr int TextCapacity = int(PageSize - TextOffset);
}  // namespace

RemoteList::RemoteList(HWND list) : list_(list)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
        memory_ = VirtualAllocEx(process_, nullptr, PageSize, MEM_COMMIT, PAGE_READWRITE);
}

RemoteList::~RemoteList()
{
    if (memory_)
        VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_)
        CloseHandle(process_);
}

void RemoteList::Write(const void* data, size_t size, size_t offset) const
{
    WriteProcessMemory(process_, Remote(offset), data, size, nullptr);
}

void RemoteList::Read(void* data, size_t size, size_t offset) const
{
    ReadProcessMemory(process_, Remote(offset), data, size, nullptr);
}

int RemoteList::Count() const
{
    return int(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

int RemoteList::Selected() const
{
    return int(SendMessageA(list_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

std::string RemoteList::Text(int item, int column) const
{
    LVITEMA lv{};
    lv.iSubItem = column;
    lv.pszText = Remote(TextOffset);
    lv.cchTextMax = TextCapacity;
    Write(&lv, sizeof(lv));
    int length = int(SendMessageA(list_, LVM_GETITEMTEXTA, item, LPARAM(Remote(0))));
    std::string text(length > 0 ? length : 0, '\0');
    if (length > 0)
        Read(&text[0], length, TextOffset);
    return text;
}

bool RemoteList::Checked(int item) const
{
    UINT state = UINT(SendMessageA(list_, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

void RemoteList::SetChecked(int item, bool checked) const
{
    LVITEMA lv{};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    Write(&lv, sizeof(lv));
    SendMessageA(list_, LVM_SETITEMSTATE, item, LPARAM(Remote(0)));
}

void RemoteList::Select(int item, bool selected) const
{
    LVITEMA lv{};
    lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    lv.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    Write(&lv, sizeof(lv));
    SendMessageA(list_, LVM_SETITEMSTATE, item, LPARAM(Remote(0)));
}

RECT RemoteList::ItemRect(int item) const
{
    RECT rc{LVIR_LABEL, 0, 0, 0};
    Write(&rc, sizeof(rc));
    SendMessageA(list_, LVM_GETITEMRECT, item, LPARAM(Remote(0)));
    Read(&rc, sizeof(rc));
    return rc;
}

HWND RemoteList::EditLabel(int item) const
{
    return reinterpret_cast<HWND>(SendMessageA(list_, LVM_EDITLABELA, item, 0));
}

std::string WindowText(HWND window)
{
    int length = int(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(length + 1, '\0');
    length = int(SendMessageA(window, WM_GETTEXT, length + 1, LPARAM(&text[0])));
    text.resize(length > 0 ? length : 0);
    return text;
}

void TypeText(HWND window, const std::string& text)
{
    SendMessageA(window, WM_SETTEXT, 0, LPARAM(text.c_str()));
}

namespace {
struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM context)
{
    auto search = reinterpret_cast<Search*>(context);
    if (GetDlgCtrlID(child) != search->id)
        return TRUE;
    search->found = child;
    return FALSE;
}
}  // namespace

HWND FindControl(HWND root, int id)
{
    Search search{id, nullptr};
    EnumChildWindows(root, MatchId, LPARAM(&search));
    return search.found;
}
