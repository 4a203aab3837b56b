// A list view of another program, read and changed from the test process.
// List-view messages that carry a pointer are not marshalled between
// processes, so their structures live in a page of the other program's memory.
#pragma once
#include <windows.h>

#include <string>

class RemoteList {
public:
    explicit RemoteList(HWND list);
    ~RemoteList();
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int Count() const;
    int Selected() const;  // -1 when none
    std::string Text(int item, int column = 0) const;
    bool Checked(int item) const;
    void SetChecked(int item, bool checked) const;
    void Select(int item, bool selected = true) const;
    // The item's rectangle in the list's client coordinates.
    RECT ItemRect(int item) const;
    // Starts an in-place edit of the item's caption; the edit control, or null.
    HWND EditLabel(int item) const;

private:
    void Write(const void* data, size_t size, size_t offset = 0) const;
    void Read(void* data, size_t size, size_t offset = 0) const;
    char* Remote(size_t offset) const { return static_cast<char*>(memory_) + offset; }

    HWND list_;
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
};

// A window's text through WM_GETTEXT, which crosses processes.
std::string WindowText(HWND window);
// Sets a window's text through WM_SETTEXT.
void TypeText(HWND window, const std::string& text);
// The first window below root with this identifier, at any depth.
HWND FindControl(HWND root, int id);
