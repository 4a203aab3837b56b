#include "keyhook.h"

#include <iomanip>

#include "winetest.h"

namespace {

// Unassigned by Windows; sent only by Take to mark the end of a run.
constexpr BYTE MarkerKey = 0x88;

KeyHook* active = nullptr;

}  // namespace

std::ostream& operator<<(std::ostream& out, const KeyEvent& e)
{
    out << (e.up ? "up " : "down ") << std::hex << std::setw(2) << std::setfill('0') << int(e.vk)
        << std::dec;
    return e.extended ? out << " extended" : out;
}

KeyHook::KeyHook(bool swallow) : swallow_(swallow)
{
    active = this;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_);
    WaitForSingleObject(ready_, 10000);
}

KeyHook::~KeyHook()
{
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
    active = nullptr;
}

// The hook is called on the thread that set it, from its message loop.
DWORD WINAPI KeyHook::ThreadMain(void* param)
{
    auto* self = static_cast<KeyHook*>(param);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make the queue before anyone posts to it
    self->hook_ = SetWindowsHookExA(WH_KEYBOARD_LL, HookProc, GetModuleHandleA(nullptr), 0);
    SetEvent(self->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    if (self->hook_)
        UnhookWindowsHookEx(self->hook_);
    return 0;
}

LRESULT CALLBACK KeyHook::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    auto& info = *reinterpret_cast<KBDLLHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && active && (info.flags & LLKHF_INJECTED)) {
        active->Record(info);
        if (active->swallow_ || info.vkCode == MarkerKey)
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void KeyHook::Record(const KBDLLHOOKSTRUCT& info)
{
    std::lock_guard<std::mutex> hold(lock_);
    if (info.vkCode == MarkerKey)
        markerSeen_ = true;
    else
        events_.push_back({BYTE(info.vkCode), (info.flags & LLKHF_UP) != 0,
                           (info.flags & LLKHF_EXTENDED) != 0, info.time});
}

bool KeyHook::Take(std::vector<KeyEvent>& events, DWORD milliseconds)
{
    keybd_event(MarkerKey, 0, KEYEVENTF_KEYUP, 0);
    bool seen = WaitUntil([this] {
        std::lock_guard<std::mutex> hold(lock_);
        return markerSeen_;
    }, milliseconds);
    std::lock_guard<std::mutex> hold(lock_);
    events.clear();
    events.swap(events_);
    markerSeen_ = false;
    return seen;
}
