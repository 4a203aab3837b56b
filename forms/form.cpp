#include "forms.h"

namespace {

const char* const SheetClass = "TTabSheet";
const char* const ImageClass = "TImage";
const char* const BevelClass = "TBevel";

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HWND SheetOf(HWND pageControl, int index)
{
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    if (!TabCtrl_GetItem(pageControl, index, &item))
        return nullptr;
    return reinterpret_cast<HWND>(item.lParam);
}

// Room for the box and the gap before the caption of a check box or radio button.
constexpr int CaptionIndent = 20;

// A tab sheet is the parent of its controls; their notifications belong to the form.
LRESULT CALLBACK SheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return SendMessageA(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The picture, with the colour of its bottom-left pixel left out so the
// background shows through.
void PaintImage(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    BITMAP info;
    if (bitmap && GetObjectA(bitmap, sizeof(info), &info)) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        COLORREF key = GetPixel(memory, 0, info.bmHeight - 1);
        TransparentBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, info.bmWidth,
                       info.bmHeight, key);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ImageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintImage(hwnd);
        return 0;
    case WM_DESTROY:
        DeleteObject(reinterpret_cast<HBITMAP>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK BevelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterWindowClass(const char* name, WNDPROC proc, HICON icon)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(Instance(), name, &wc))
        return;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

void RegisterControlClasses()
{
    static bool done = false;
    if (done)
        return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterWindowClass(SheetClass, SheetProc, nullptr);
    RegisterWindowClass(ImageClass, ImageProc, nullptr);
    RegisterWindowClass(BevelClass, BevelProc, nullptr);
    done = true;
}

// Wine reports an in-place edit that ends empty as if it had been cancelled.
// Only Escape cancels, so the edit control is watched for it.
WNDPROC LabelEditDefault = nullptr;
bool LabelEditCancelled = false;

LRESULT CALLBACK LabelEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE)
        LabelEditCancelled = true;
    return CallWindowProcA(LabelEditDefault, edit, message, wParam, lParam);
}

void WatchLabelEdit(HWND list)
{
    LabelEditCancelled = false;
    HWND edit = ListView_GetEditControl(list);
    if (!edit)
        return;
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelEditProc)));
    if (previous != LabelEditProc)
        LabelEditDefault = previous;
}

// An edit ended without Escape is never a cancel: its text, even empty, is given.
void EmptyLabelEdit(NMLVDISPINFOA& edit)
{
    static char empty[] = "";
    if (!edit.item.pszText && !LabelEditCancelled && ListView_GetEditControl(edit.hdr.hwndFrom) &&
        GetWindowTextLengthA(ListView_GetEditControl(edit.hdr.hwndFrom)) == 0)
        edit.item.pszText = empty;
}

}  // namespace

TForm::~TForm()
{
    if (font_)
        DeleteObject(font_);
}

void TForm::Create(const char* className, const char* caption, int clientWidth,
                   int clientHeight, HICON icon, bool minimizeBox)
{
    RegisterControlClasses();
    RegisterWindowClass(className, WindowProc, icon);

    // A fixed single border with the system menu and its close box.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN |
                        (minimizeBox ? WS_MINIMIZEBOX : 0);
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT rc{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    // Owned by the application window, so the taskbar shows the program's title.
    CreateWindowExA(exStyle, className, caption, style, x, y, width, height,
                    Application.CreateHandle(), nullptr, Instance(), this);
    if (!Handle)
        throw std::runtime_error("Can't create the window " + std::string(caption));

    HDC screen = GetDC(nullptr);
    int pixels = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font_ = CreateFontA(pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    SendMessageA(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle, nullptr,
                            Instance(), nullptr);
    SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 400);

    CreateControls();
    FormCreate();
}

void TForm::Show()
{
    ShowWindow(Handle, SW_SHOWNORMAL);
    UpdateWindow(Handle);
}

void TForm::Close()
{
    SendMessageA(Handle, WM_CLOSE, 0, 0);
}

void TForm::Hide()
{
    ShowWindow(Handle, SW_HIDE);
    Application.FormHidden(Handle);
}

static BOOL CALLBACK CollectEnabled(HWND window, LPARAM list)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

int TForm::ShowModal()
{
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled)
        if (window != Handle)
            EnableWindow(window, FALSE);
    ModalResult = 0;
    modal_ = true;
    Show();
    SetActiveWindow(Handle);
    MSG msg;
    // Only a result or the form's end ends the display: minimising the
    // program hides the form for a while.
    while (ModalResult == 0 && Handle) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(int(msg.wParam));  // for the outer loop
            break;
        }
        if (!TurnPage(msg) && !IsDialogMessageA(Handle, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    modal_ = false;
    // Enable the others before hiding, or the system activates some other program.
    for (HWND window : disabled)
        EnableWindow(window, TRUE);
    if (Handle)
        Hide();
    return ModalResult;
}

TForm* TForm::FormOf(HWND window)
{
    if (GetWindowLongPtrA(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(WindowProc))
        return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->Handle = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto form = reinterpret_cast<TForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!form)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    // No exception may cross the system's frames: a failed handler is reported
    // and the window stays as it is.
    try {
        return form->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        Application.ShowException(error, hwnd);
    } catch (...) {
        Application.ShowException(std::runtime_error("Unexpected error"), hwnd);
    }
    return 0;
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.code == TCN_SELCHANGE) {
            ShowPage(header.hwndFrom, TabCtrl_GetCurSel(header.hwndFrom));
            return 0;
        }
        if (header.code == LVN_BEGINLABELEDITA)
            WatchLabelEdit(header.hwndFrom);
        if (header.code == LVN_ENDLABELEDITA)
            EmptyLabelEdit(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
        return OnNotify(header);
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                             message, wParam, lParam);
    case WM_ACTIVATE:
        KeepFocus(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SYSCOMMAND:
        // The main form's minimise box minimises the program to its button.
        if ((wParam & 0xFFF0) == SC_MINIMIZE && Application.MainForm == this) {
            Application.Minimize();
            return 0;
        }
        break;
    case WM_CLOSE:
        if (modal_) {
            if (!ModalResult)
                ModalResult = IDCANCEL;  // ShowModal's loop ends and hides the form
        } else if (Application.MainForm && Application.MainForm != this) {
            Hide();
        } else {
            DestroyWindow(Handle);
        }
        return 0;
    case WM_DESTROY:
        if (Application.MainForm == this)
            PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(Handle, GWLP_USERDATA, 0);
        Handle = nullptr;
        return 0;
    }
    return DefWindowProcA(Handle, message, wParam, lParam);
}

// The control that had the focus gets it back when the form is active again,
// as after a message box; the first tab stop the first time.
void TForm::KeepFocus(bool activating)
{
    if (!activating) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle, focus))
            focus_ = focus;
        return;
    }
    HWND focus = focus_ && IsChild(Handle, focus_) && IsWindowVisible(focus_)
                     ? focus_
                     : GetNextDlgTabItem(Handle, nullptr, FALSE);
    if (focus)
        SetFocus(focus);
}

LRESULT TForm::ControlColour(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto memo = memos_.find(control);
    if (memo == memos_.end())
        return DefWindowProcA(Handle, message, wParam, lParam);
    const MemoOptions& options = memo->second;
    LRESULT brush = DefWindowProcA(Handle, message, wParam, lParam);
    if (options.textColor != CLR_DEFAULT)
        SetTextColor(dc, options.textColor);
    if (options.buttonFace) {
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        brush = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return brush;
}

HWND TForm::AddControl(DWORD exStyle, const char* windowClass, const char* text, DWORD style,
                       HWND parent, int id, Bounds b, const char* hint)
{
    HWND control = CreateWindowExA(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style,
                                   b.left, b.top, b.width, b.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(),
                                   nullptr);
    if (!control)
        throw std::runtime_error(std::string("Can't create a control of class ") + windowClass);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    AddHint(control, hint);
    return control;
}

void TForm::AddHint(HWND control, const char* hint)
{
    if (!hint)
        return;
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(hint);
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND TForm::AddPageControl(HWND parent, int id, Bounds bounds)
{
    HWND page = AddControl(WS_EX_CONTROLPARENT, WC_TABCONTROLA, "",
                           TCS_HOTTRACK | TCS_MULTILINE | WS_TABSTOP | WS_CLIPCHILDREN |
                               WS_CLIPSIBLINGS,
                           parent, id, bounds, nullptr);
    pageControls_.push_back(page);
    return page;
}

// The sheet covers the page control's display area; every sheet is laid out
// again because a new tab can add a row.
HWND TForm::AddTabSheet(HWND pageControl, int id, const char* caption, const char* hint)
{
    HWND sheet = AddControl(WS_EX_CONTROLPARENT, SheetClass, caption, WS_CLIPSIBLINGS,
                            pageControl, id, {0, 0, 0, 0}, hint);
    int count = TabCtrl_GetItemCount(pageControl);
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(caption);
    item.lParam = reinterpret_cast<LPARAM>(sheet);
    SendMessageA(pageControl, TCM_INSERTITEMA, count, reinterpret_cast<LPARAM>(&item));

    RECT rc;
    GetClientRect(pageControl, &rc);
    TabCtrl_AdjustRect(pageControl, FALSE, &rc);
    for (int i = 0; i <= count; i++)
        MoveWindow(SheetOf(pageControl, i), rc.left, rc.top, rc.right - rc.left,
                   rc.bottom - rc.top, TRUE);
    ShowPage(pageControl, TabCtrl_GetCurSel(pageControl) < 0 ? 0 : TabCtrl_GetCurSel(pageControl));
    return sheet;
}

// The focus does not stay behind on a page that is hidden.
void TForm::ShowPage(HWND pageControl, int index)
{
    TabCtrl_SetCurSel(pageControl, index);
    HWND shown = SheetOf(pageControl, index);
    HWND focus = GetFocus();
    int count = TabCtrl_GetItemCount(pageControl);
    for (int i = 0; i < count; i++) {
        HWND sheet = SheetOf(pageControl, i);
        ShowWindow(sheet, sheet == shown ? SW_SHOW : SW_HIDE);
        if (sheet != shown && focus && IsChild(sheet, focus)) {
            HWND first = shown ? GetNextDlgTabItem(shown, nullptr, FALSE) : nullptr;
            SetFocus(first && IsChild(shown, first) ? first : Handle);
        }
    }
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the form's first page control.
bool TForm::TurnPage(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0 ||
        pageControls_.empty())
        return false;
    HWND pageControl = pageControls_.front();
    int count = TabCtrl_GetItemCount(pageControl);
    if (count == 0)
        return false;
    int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    int index = (TabCtrl_GetCurSel(pageControl) + step) % count;
    ShowPage(pageControl, index);
    HWND sheet = SheetOf(pageControl, index);
    HWND first = GetNextDlgTabItem(sheet, nullptr, FALSE);
    if (first && IsChild(sheet, first))
        SetFocus(first);
    return true;
}

HWND TForm::AddListView(HWND parent, int id, Bounds bounds,
                        const std::vector<std::pair<const char*, int>>& columns, const char* hint)
{
    HWND list = AddControl(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                           LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
                               LVS_NOSORTHEADER | WS_TABSTOP,
                           parent, id, bounds, hint);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT);
    for (size_t i = 0; i < columns.size(); i++) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[i].first);
        column.cx = columns[i].second;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

HWND TForm::AddEdit(HWND parent, int id, Bounds bounds, const char* hint)
{
    return AddControl(WS_EX_CLIENTEDGE, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, parent, id,
                      bounds, hint);
}

HWND TForm::AddMemo(HWND parent, int id, Bounds bounds, const MemoOptions& o, const char* hint)
{
    DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP;
    if (o.horizontalScroll)
        style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (o.verticalScroll)
        style |= WS_VSCROLL;
    if (o.centred)
        style |= ES_CENTER;
    if (o.readOnly)
        style |= ES_READONLY;
    HWND memo = AddControl(o.border ? WS_EX_CLIENTEDGE : 0, "EDIT", "", style, parent, id, bounds,
                           hint);
    if (o.buttonFace || o.textColor != CLR_DEFAULT)
        memos_[memo] = o;
    return memo;
}

HWND TForm::AddSpeedButton(HWND parent, int id, Bounds bounds, const char* caption,
                           const char* hint)
{
    return AddControl(0, "BUTTON", caption, BS_PUSHBUTTON | BS_FLAT, parent, id, bounds, hint);
}

HWND TForm::AddCheckBox(HWND parent, int id, Bounds bounds, const char* caption, const char* hint)
{
    HWND box = AddControl(0, "BUTTON", caption, BS_AUTOCHECKBOX | WS_TABSTOP, parent, id, bounds,
                          hint);
    FitToCaption(box, Align::Left, CaptionIndent);
    return box;
}

HWND TForm::AddRadioButton(HWND parent, int id, Bounds bounds, const char* caption,
                           bool firstInGroup, const char* hint)
{
    DWORD style = BS_AUTORADIOBUTTON | (firstInGroup ? WS_GROUP | WS_TABSTOP : 0);
    HWND radio = AddControl(0, "BUTTON", caption, style, parent, id, bounds, hint);
    FitToCaption(radio, Align::Left, CaptionIndent);
    return radio;
}

HWND TForm::AddProgressBar(HWND parent, int id, Bounds bounds, const char* hint)
{
    return AddControl(0, PROGRESS_CLASSA, "", 0, parent, id, bounds, hint);
}

// Sized to the picture.
HWND TForm::AddImage(HWND parent, int id, Bounds bounds, int bitmapResource, const char* hint)
{
    HWND image = AddControl(0, ImageClass, "", 0, parent, id, bounds, hint);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(Instance(), MAKEINTRESOURCEA(bitmapResource), IMAGE_BITMAP, 0, 0,
                   LR_CREATEDIBSECTION));
    SetWindowLongPtrA(image, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
    BITMAP info;
    if (bitmap && GetObjectA(bitmap, sizeof(info), &info))
        SetWindowPos(image, nullptr, 0, 0, info.bmWidth, info.bmHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return image;
}

// A caption wider than its control, as with a font wider than the one the
// window was laid out for, widens the control about its aligned edge rather
// than being cut off or wrapped.
void TForm::FitToCaption(HWND control, Align align, int extra)
{
    std::string caption = Text(control);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font_);
    RECT text{0, 0, 0, 0};
    DrawTextA(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);

    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
    int width = rc.right - rc.left, needed = text.right + extra;
    if (needed <= width)
        return;
    int left = align == Align::Left ? rc.left
             : align == Align::Right ? rc.right - needed
                                     : rc.left - (needed - width) / 2;
    MoveWindow(control, left, rc.top, needed, rc.bottom - rc.top, TRUE);
}

HWND TForm::AddLabel(HWND parent, int id, Bounds bounds, const char* caption, Align align,
                     const char* hint)
{
    DWORD style = align == Align::Center ? SS_CENTER : align == Align::Right ? SS_RIGHT : SS_LEFT;
    if (hint)
        style |= SS_NOTIFY;  // a static sees the mouse, and so shows its tip, only with it
    HWND label = AddControl(0, "STATIC", caption, style, parent, id, bounds, hint);
    FitToCaption(label, align, 0);
    return label;
}

HWND TForm::AddBevel(HWND parent, int id, Bounds bounds)
{
    return AddControl(0, BevelClass, "", 0, parent, id, bounds, nullptr);
}
