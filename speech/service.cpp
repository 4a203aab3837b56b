#include "speech/service.h"

#include <new>

#include "speech/utterance.h"

HMODULE SpeechModule;
LONG SpeechObjects;

// Reads one record at data[offset]; advances offset past it.
static bool ParseRecord(const BYTE* data, DWORD size, DWORD& offset, MenuCommand& command)
{
    VoiceCommandRecord header;
    if (size - offset < sizeof(header))
        return false;
    memcpy(&header, data + offset, sizeof(header));
    if (header.size < sizeof(header) || header.size > size - offset)
        return false;
    if (header.commandOffset < sizeof(header) || header.commandOffset >= header.size)
        return false;
    // The phrase must end within the record.
    const BYTE* text = data + offset + header.commandOffset;
    size_t chars = (header.size - header.commandOffset) / sizeof(wchar_t);
    std::wstring phrase;
    for (size_t i = 0;; i++) {
        if (i == chars)
            return false;
        wchar_t c;
        memcpy(&c, text + i * sizeof(wchar_t), sizeof(c));
        if (!c)
            break;
        phrase += c;
    }
    command.identifier = header.identifier;
    command.key = PhraseKey(phrase.data(), phrase.size());
    command.phrase = std::move(phrase);
    offset += header.size;
    return !command.key.empty();
}

bool ParseCommandRecords(DWORD count, const SDATA& data, std::vector<MenuCommand>& out)
{
    if (count && !data.data)
        return false;
    DWORD offset = 0;
    for (DWORD i = 0; i < count; i++) {
        MenuCommand command;
        if (!ParseRecord(static_cast<const BYTE*>(data.data), data.size, offset, command))
            return false;
        out.push_back(std::move(command));
    }
    return true;
}

// The listener window ------------------------------------------------------

static LRESULT OnCopyData(VoiceCmd* voice, const COPYDATASTRUCT* cds)
{
    UtteranceHeader header;
    if (!voice || !cds || cds->dwData != UtteranceTag || cds->cbData < sizeof(header) ||
        !cds->lpData)
        return 0;
    memcpy(&header, cds->lpData, sizeof(header));
    if (header.confidence > MaxConfidence)
        return 0;
    const BYTE* text = static_cast<const BYTE*>(cds->lpData) + sizeof(header);
    std::wstring phrase((cds->cbData - sizeof(header)) / sizeof(wchar_t), L'\0');
    memcpy(&phrase[0], text, phrase.size() * sizeof(wchar_t));
    phrase.resize(wcsnlen(phrase.c_str(), phrase.size()));
    return voice->Hear(phrase, header.confidence);
}

static LRESULT CALLBACK ListenerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(cs->lpCreateParams));
    }
    auto voice = reinterpret_cast<VoiceCmd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_COPYDATA) {
        try {
            return OnCopyData(voice, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        } catch (const std::bad_alloc&) {
            return 0;  // too long to hear
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

static bool RegisterListenerClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ListenerProc;
    wc.hInstance = SpeechModule;
    wc.lpszClassName = ListenerClass;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The voice-command object ---------------------------------------------------

HRESULT VoiceCmd::Create(REFIID iid, void** out)
{
    *out = nullptr;
    if (!RegisterListenerClass())
        return HRESULT_FROM_WIN32(GetLastError());
    auto voice = new (std::nothrow) VoiceCmd;
    if (!voice)
        return E_OUTOFMEMORY;
    voice->window_ = CreateWindowExW(0, ListenerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, SpeechModule, voice);
    HRESULT hr = voice->window_ ? voice->QueryInterface(iid, out) : E_FAIL;
    voice->Release();
    return hr;
}

VoiceCmd::VoiceCmd() : thread_(GetCurrentThreadId())
{
    InterlockedIncrement(&SpeechObjects);
}

VoiceCmd::~VoiceCmd()
{
    if (window_) {
        // The window belongs to the creating thread; from any other it is
        // cut loose now and closes itself there.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        if (GetCurrentThreadId() == thread_)
            DestroyWindow(window_);
        else
            PostMessageW(window_, WM_CLOSE, 0, 0);
    }
    if (sink_)
        sink_->Release();
    InterlockedDecrement(&SpeechObjects);
}

HRESULT VoiceCmd::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IVoiceCmdW))
        *out = static_cast<IVoiceCmdW*>(this);
    else if (IsEqualIID(iid, IID_IVoiceCmdAttributesW))
        *out = static_cast<IVoiceCmdAttributesW*>(this);
    else if (IsEqualIID(iid, IID_IAttributesW))
        *out = static_cast<IAttributesW*>(this);
    else if (IsEqualIID(iid, IID_IVoiceCmdDialogsW))
        *out = static_cast<IVoiceCmdDialogsW*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG VoiceCmd::AddRef()
{
    return InterlockedIncrement(&refs_);
}

ULONG VoiceCmd::Release()
{
    LONG refs = InterlockedDecrement(&refs_);
    if (!refs)
        delete this;
    return refs;
}

HRESULT VoiceCmd::Register(const wchar_t* site, IUnknown* notify, GUID notifyIid, DWORD flags,
                           void* siteInfo)
{
    IVoiceCmdNotifyW* sink = nullptr;
    if (notify) {
        if (!IsEqualIID(notifyIid, IID_IVoiceCmdNotifyW))
            return E_NOINTERFACE;
        HRESULT hr = notify->QueryInterface(notifyIid, reinterpret_cast<void**>(&sink));
        if (FAILED(hr))
            return hr;
        if (!sink)
            return E_NOINTERFACE;
    }
    IVoiceCmdNotifyW* old;
    {
        std::lock_guard<std::mutex> guard(lock_);
        old = sink_;
        sink_ = sink;
    }
    if (old)
        old->Release();
    return S_OK;
}

HRESULT VoiceCmd::MenuCreate(const VoiceMenuName* name, const void* language, DWORD flags,
                             IVoiceCmdMenuW** menu)
{
    if (!menu)
        return E_POINTER;
    *menu = nullptr;
    if (!name)
        return E_POINTER;
    auto created = new (std::nothrow) VoiceMenu(this, *name);
    if (!created)
        return E_OUTOFMEMORY;
    std::lock_guard<std::mutex> guard(lock_);
    menus_.push_back(created);
    *menu = created;
    return S_OK;
}

void VoiceCmd::MenuGone(VoiceMenu* menu)
{
    std::lock_guard<std::mutex> guard(lock_);
    for (size_t i = 0; i < menus_.size(); i++)
        if (menus_[i] == menu) {
            menus_.erase(menus_.begin() + i);
            break;
        }
}

// Returns the sink with a reference of the caller's, or null.
IVoiceCmdNotifyW* VoiceCmd::TakeSink()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (sink_)
        sink_->AddRef();
    return sink_;
}

void VoiceCmd::MenuActivated(const VoiceMenuName& name, bool active)
{
    if (IVoiceCmdNotifyW* sink = TakeSink()) {
        sink->MenuActivate(&name, active);
        sink->Release();
    }
}

void VoiceCmd::AttribChanged(DWORD attribute)
{
    if (IVoiceCmdNotifyW* sink = TakeSink()) {
        sink->AttribChanged(attribute);
        sink->Release();
    }
}

HRESULT VoiceCmd::EnabledGet(DWORD* enabled)
{
    if (!enabled)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(lock_);
    *enabled = enabled_;
    return S_OK;
}

HRESULT VoiceCmd::EnabledSet(DWORD enabled)
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        enabled_ = enabled != 0;
    }
    AttribChanged(VoiceAttribEnabled);
    return S_OK;
}

HRESULT VoiceCmd::AwakeStateGet(DWORD* awake)
{
    if (!awake)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(lock_);
    *awake = awake_;
    return S_OK;
}

HRESULT VoiceCmd::AwakeStateSet(DWORD awake)
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        awake_ = awake != 0;
    }
    AttribChanged(VoiceAttribAwake);
    return S_OK;
}

HRESULT VoiceCmd::ThresholdGet(DWORD* threshold)
{
    if (!threshold)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(lock_);
    *threshold = threshold_;
    return S_OK;
}

HRESULT VoiceCmd::ThresholdSet(DWORD threshold)
{
    if (threshold > MaxConfidence)
        return E_INVALIDARG;
    {
        std::lock_guard<std::mutex> guard(lock_);
        threshold_ = threshold;
    }
    AttribChanged(VoiceAttribThreshold);
    return S_OK;
}

struct Match {
    DWORD identifier;
    VoiceMenuName menu;
};

DWORD VoiceCmd::Hear(const std::wstring& phrase, DWORD confidence)
{
    std::wstring key = PhraseKey(phrase.data(), phrase.size());
    std::vector<Match> matches;
    IVoiceCmdNotifyW* sink;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!enabled_ || !awake_ || key.empty() || !sink_)
            return 0;
        if (confidence >= threshold_)
            for (VoiceMenu* menu : menus_)
                for (const MenuCommand& command : menu->Commands())
                    if (menu->Active() && command.key == key)
                        matches.push_back({command.identifier, menu->Name()});
        sink = sink_;
        sink->AddRef();
    }
    // The sink may call back into us, or release us, while it is told.
    AddRef();
    sink->UtteranceBegin();
    for (const Match& match : matches)
        sink->CommandRecognize(match.identifier, phrase.c_str(), confidence, &match.menu);
    if (matches.empty())
        sink->CommandOther(nullptr, phrase.c_str());
    sink->UtteranceEnd();
    sink->Release();
    Release();
    return DWORD(matches.size());
}

std::vector<HeardPhrase> VoiceCmd::Phrases()
{
    std::vector<HeardPhrase> phrases;
    std::lock_guard<std::mutex> guard(lock_);
    for (VoiceMenu* menu : menus_)
        for (const MenuCommand& command : menu->Commands())
            phrases.push_back({command.phrase, menu->Active()});
    return phrases;
}

// A menu ------------------------------------------------------------------------

VoiceMenu::VoiceMenu(VoiceCmd* owner, const VoiceMenuName& name) : owner_(owner), name_(name)
{
    owner_->AddRef();
    name_.application[VoiceNameLength - 1] = 0;
    name_.state[VoiceNameLength - 1] = 0;
}

VoiceMenu::~VoiceMenu()
{
    owner_->MenuGone(this);
    owner_->Release();
}

HRESULT VoiceMenu::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IVoiceCmdMenuW)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IVoiceCmdMenuW*>(this);
    AddRef();
    return S_OK;
}

ULONG VoiceMenu::AddRef()
{
    return InterlockedIncrement(&refs_);
}

ULONG VoiceMenu::Release()
{
    LONG refs = InterlockedDecrement(&refs_);
    if (!refs)
        delete this;
    return refs;
}

HRESULT VoiceMenu::SetActive(bool active)
{
    {
        std::lock_guard<std::mutex> guard(owner_->Lock());
        active_ = active;
    }
    owner_->MenuActivated(name_, active);
    return S_OK;
}

HRESULT VoiceMenu::Activate(HWND window, DWORD flags)
{
    return SetActive(true);
}

HRESULT VoiceMenu::Deactivate()
{
    return SetActive(false);
}

HRESULT VoiceMenu::Add(DWORD count, SDATA data, DWORD* firstIndex)
{
    try {
        std::vector<MenuCommand> added;
        if (!ParseCommandRecords(count, data, added))
            return E_INVALIDARG;
        std::lock_guard<std::mutex> guard(owner_->Lock());
        commands_.reserve(commands_.size() + added.size());
        if (firstIndex)
            *firstIndex = DWORD(commands_.size());
        for (MenuCommand& command : added)
            commands_.push_back(std::move(command));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
