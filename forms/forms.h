// The small form layer of the configuration window and the installer's two
// windows: plain Win32 and common controls, ANSI throughout.
//
//   TApplication   Application.Title names the program; Run() is the message
//                  loop (Tab, arrows and Alt+letter work in every form);
//                  ShowException() is the standard error box: the error's
//                  text, the title, an error icon and OK. Its window, captioned
//                  with the title, owns every form and carries the program's
//                  one taskbar button; minimising the main form minimises it.
//   TForm          a window of a given client size with a fixed single border
//                  (minimise box on request), centred, font "MS Sans Serif"
//                  8 pt; ShowModal for a dialog such as a welcome window.
//                  Derive and override CreateControls, FormCreate, OnCommand,
//                  OnNotify. An exception thrown from a handler lands in the
//                  standard error box and the window stays open.
//   Add* helpers   members of TForm, so every control gets the form's font and
//                  its hint as a tool tip (pass nullptr for no hint):
//     AddPageControl + AddTabSheet   tabs; the sheet is the parent of its
//                                    controls and passes their notifications
//                                    to the form; ShowPage() picks a sheet,
//                                    and so do Ctrl+Tab and Ctrl+Shift+Tab
//     AddListView    report mode, check boxes, in-place editing of the caption,
//                    selection follows the resting mouse; List* helpers below
//     AddEdit, AddMemo (MemoOptions: centred, borderless, button-face
//                    background, coloured text, read-only)
//     AddSpeedButton flat push button, not a tab stop
//     AddCheckBox, AddRadioButton (firstInGroup starts a new group)
//     AddProgressBar, AddImage (bitmap resource, drawn transparent),
//     AddLabel (left, centre, right), AddBevel (raised)
//                    labels, check boxes and radio buttons widen to fit their
//                    caption, keeping their aligned edge
//   Text / SetText / Lines / SetLines / Checked / SetChecked   for any control
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

struct Bounds {
    int left, top, width, height;
};

class TForm;

class TApplication {
public:
    std::string Title;

    // Shows the application window and runs the message loop until the main
    // form is destroyed; the application window goes with it.
    int Run(TForm& mainForm);
    void ShowException(const std::exception& error, HWND owner = nullptr) const;
    // Leaves only the taskbar button: every form hides until the button is clicked.
    void Minimize();

    TForm* MainForm = nullptr;
    // The zero-size window that owns the forms, made with the first of them.
    HWND Handle = nullptr;
    HWND CreateHandle();

private:
    friend class TForm;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // A form that hides itself while the program is minimised stays hidden after.
    void FormHidden(HWND form);
    std::vector<HWND> ShownWindows() const;
    void HideForms();
    void ShowForms();
    void ActivateForm();
    bool minimized_ = false;
    std::vector<HWND> hidden_;  // the windows that minimising hid
};

extern TApplication Application;

enum class Align { Left, Center, Right };

struct MemoOptions {
    bool centred = false;
    bool border = true;
    bool buttonFace = false;       // background of the surrounding form
    bool readOnly = false;
    bool horizontalScroll = false;
    bool verticalScroll = false;
    COLORREF textColor = CLR_DEFAULT;
};

class TForm {
public:
    virtual ~TForm();
    HWND Handle = nullptr;

    // Creates the window (not yet shown): CreateControls, then FormCreate.
    void Create(const char* className, const char* caption, int clientWidth, int clientHeight,
                HICON icon = nullptr, bool minimizeBox = false);
    void Show();
    void Hide();
    // The main form is destroyed, which ends Application.Run; any other form hides.
    void Close();

    // Shows the form with every other window of the program disabled, until a
    // handler sets ModalResult (IDOK...) or the form is closed (IDCANCEL).
    int ShowModal();
    int ModalResult = 0;

protected:
    virtual void CreateControls() {}  // before FormCreate
    virtual void FormCreate() {}
    virtual void OnCommand(int id, int code, HWND control) {}
    virtual LRESULT OnNotify(const NMHDR& header) { return 0; }
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND AddPageControl(HWND parent, int id, Bounds bounds);
    HWND AddTabSheet(HWND pageControl, int id, const char* caption, const char* hint);
    void ShowPage(HWND pageControl, int index);
    HWND AddListView(HWND parent, int id, Bounds bounds,
                     const std::vector<std::pair<const char*, int>>& columns, const char* hint);
    HWND AddEdit(HWND parent, int id, Bounds bounds, const char* hint);
    HWND AddMemo(HWND parent, int id, Bounds bounds, const MemoOptions& options, const char* hint);
    HWND AddSpeedButton(HWND parent, int id, Bounds bounds, const char* caption, const char* hint);
    HWND AddCheckBox(HWND parent, int id, Bounds bounds, const char* caption, const char* hint);
    HWND AddRadioButton(HWND parent, int id, Bounds bounds, const char* caption, bool firstInGroup,
                        const char* hint);
    HWND AddProgressBar(HWND parent, int id, Bounds bounds, const char* hint);
    HWND AddImage(HWND parent, int id, Bounds bounds, int bitmapResource, const char* hint);
    HWND AddLabel(HWND parent, int id, Bounds bounds, const char* caption, Align align,
                  const char* hint);
    HWND AddBevel(HWND parent, int id, Bounds bounds);
    void AddHint(HWND control, const char* hint);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static TForm* FormOf(HWND window);
    bool TurnPage(const MSG& msg);
    friend class TApplication;
    HWND AddControl(DWORD exStyle, const char* windowClass, const char* text, DWORD style,
                    HWND parent, int id, Bounds bounds, const char* hint);
    void FitToCaption(HWND control, Align align, int extra);
    void KeepFocus(bool activating);
    LRESULT ControlColour(HDC dc, HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    HFONT font_ = nullptr;
    bool modal_ = false;
    HWND focus_ = nullptr;  // while the form is inactive
    std::vector<HWND> pageControls_;
    HWND tips_ = nullptr;
    std::map<HWND, MemoOptions> memos_;  // memos that draw in their own colours
};

// Text of any window, and the lines of a memo as the user sees them.
std::string Text(HWND control);
void SetText(HWND control, const std::string& text);
std::vector<std::string> Lines(HWND memo);
void SetLines(HWND memo, const std::vector<std::string>& lines);
bool Checked(HWND button);
void SetChecked(HWND button, bool checked);

// List view items, by position.
int ListCount(HWND list);
int ListSelected(HWND list);  // -1 when none
void ListSelect(HWND list, int item);
int ListInsert(HWND list, int item, const std::string& caption, LPARAM data);
void ListDelete(HWND list, int item);
std::string ListText(HWND list, int item, int column = 0);
void ListSetText(HWND list, int item, int column, const std::string& text);
bool ListChecked(HWND list, int item);
void ListSetChecked(HWND list, int item, bool checked);
LPARAM ListData(HWND list, int item);
void ListSetData(HWND list, int item, LPARAM data);
