// Records the synthetic key events that reach the system's input stream,
// with a low-level keyboard hook on a thread of its own.
#pragma once
#include <windows.h>

#include <mutex>
#include <ostream>
#include <vector>

struct KeyEvent {
    BYTE vk;
    bool up;
    bool extended = false;  // the extended-key flag, which the engine never sets
    DWORD time = 0;         // the event's tick count; not compared
};

inline bool operator==(const KeyEvent& a, const KeyEvent& b)
{
    return a.vk == b.vk && a.up == b.up && a.extended == b.extended;
}
inline bool operator!=(const KeyEvent& a, const KeyEvent& b) { return !(a == b); }
std::ostream& operator<<(std::ostream& out, const KeyEvent& e);

inline KeyEvent Down(BYTE vk) { return {vk, false}; }
inline KeyEvent Up(BYTE vk) { return {vk, true}; }

// One recorder at a time. With swallow set, recorded events go no further, so
// no window receives them and the keyboard state stays as it was.
class KeyHook {
public:
    explicit KeyHook(bool swallow);
    ~KeyHook();
    bool Installed() const { return hook_ != nullptr; }
    // Sends a marker key and waits until the hook has seen it; then events
    // holds what came before it since the last call. False on a timeout.
    bool Take(std::vector<KeyEvent>& events, DWORD milliseconds = 10000);

private:
    static DWORD WINAPI ThreadMain(void* self);
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    void Record(const KBDLLHOOKSTRUCT& info);

    bool swallow_;
    HHOOK hook_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    std::mutex lock_;
    std::vector<KeyEvent> events_;
    bool markerSeen_ = false;
};
