// The binding of the user's commands to the voice-command service: the
// holders of its interfaces, the notification object, the voice menu, and
// the worker thread that runs a recognised command.
#include "engine.h"

#include "common/winregistry.h"
#include "engine/resource.h"
#include "engine/scripthost.h"
#include "speech/voicecmd.h"

namespace {

template <class T>
void ReleaseInterface(T*& p)
{
    if (p)
        p->Release();
    p = nullptr;
}

// The voice-command object's four interfaces; an operation whose interface is
// missing calls nothing and answers E_NOINTERFACE.
class VoiceCommandHolder {
public:
    HRESULT Create()
    {
        if (commands_)
            return E_FAIL;
        // In-process as well: a service installed as a DLL answers there.
        HRESULT hr = CoCreateInstance(CLSID_VoiceCmd, nullptr,
                                      CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IVoiceCmdW,
                                      (void**)&commands_);
        if (FAILED(hr)) {
            commands_ = nullptr;
            return hr;
        }
        commands_->QueryInterface(IID_IVoiceCmdAttributesW, (void**)&attributes_);
        commands_->QueryInterface(IID_IAttributesW, (void**)&general_);
        commands_->QueryInterface(IID_IVoiceCmdDialogsW, (void**)&dialogs_);
        return hr;
    }
    HRESULT Register(IUnknown* sink)
    {
        return commands_ ? commands_->Register(nullptr, sink, IID_IVoiceCmdNotifyW, 1, nullptr)
                         : E_NOINTERFACE;
    }
    HRESULT MenuCreate(const VoiceMenuName* name, IVoiceCmdMenuW** menu)
    {
        return commands_ ? commands_->MenuCreate(name, nullptr, 1, menu) : E_NOINTERFACE;
    }
    HRESULT EnabledSet(DWORD v) { return attributes_ ? attributes_->EnabledSet(v) : E_NOINTERFACE; }
    HRESULT AwakeStateSet(DWORD v)
    {
        return attributes_ ? attributes_->AwakeStateSet(v) : E_NOINTERFACE;
    }
    HRESULT ThresholdSet(DWORD v)
    {
        return attributes_ ? attributes_->ThresholdSet(v) : E_NOINTERFACE;
    }
    HRESULT GeneralDlg(HWND owner, const wchar_t* title)
    {
        return dialogs_ ? dialogs_->GeneralDlg(owner, title) : E_NOINTERFACE;
    }
    HRESULT TrainGeneralDlg(HWND owner, const wchar_t* title)
    {
        return dialogs_ ? dialogs_->TrainGeneralDlg(owner, title) : E_NOINTERFACE;
    }
    void Release()
    {
        ReleaseInterface(commands_);
        ReleaseInterface(attributes_);
        ReleaseInterface(general_);
        ReleaseInterface(dialogs_);
    }

private:
    IVoiceCmdW* commands_ = nullptr;
    IVoiceCmdAttributesW* attributes_ = nullptr;
    IAttributesW* general_ = nullptr;
    IVoiceCmdDialogsW* dialogs_ = nullptr;
};

// The engine's voice menu; without one every operation answers E_NOINTERFACE.
class VoiceMenuHolder {
public:
    HRESULT Attach(IVoiceCmdMenuW* created)
    {
        HRESULT hr = created->QueryInterface(IID_IVoiceCmdMenuW, (void**)&menu_);
        if (FAILED(hr))
            menu_ = nullptr;
        return hr;
    }
    bool Exists() const { return menu_ != nullptr; }
    HRESULT Activate() { return menu_ ? menu_->Activate(nullptr, 0) : E_NOINTERFACE; }
    HRESULT Deactivate() { return menu_ ? menu_->Deactivate() : E_NOINTERFACE; }
    HRESULT Add(const std::vector<BYTE>& record)
    {
        if (!menu_)
            return E_NOINTERFACE;
        SDATA data = {(void*)record.data(), DWORD(record.size())};
        return menu_->Add(1, data, nullptr);
    }
    void Release() { ReleaseInterface(menu_); }

private:
    IVoiceCmdMenuW* menu_ = nullptr;
};

// Answers every notification with 0 and counts its references.
class NotifySinkBase : public IVoiceCmdNotifyW {
public:
    virtual ~NotifySinkBase() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IVoiceCmdNotifyW)
            return E_NOINTERFACE;
        *out = static_cast<IVoiceCmdNotifyW*>(this);
        AddRef();
        return S_OK;
    }
    // All calls arrive on the main thread, so plain counting is enough.
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++count_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--count_ == 0) {
            delete this;
            return 0;
        }
        return ULONG(count_);
    }
    HRESULT STDMETHODCALLTYPE CommandRecognize(DWORD, const wchar_t*, DWORD,
                                               const VoiceMenuName*) override { return 0; }
    HRESULT STDMETHODCALLTYPE CommandOther(const VoiceMenuName*, const wchar_t*) override
    {
        return 0;
    }
    HRESULT STDMETHODCALLTYPE CommandStart() override { return 0; }
    HRESULT STDMETHODCALLTYPE MenuActivate(const VoiceMenuName*, BOOL) override { return 0; }
    HRESULT STDMETHODCALLTYPE UtteranceBegin() override { return 0; }
    HRESULT STDMETHODCALLTYPE UtteranceEnd() override { return 0; }
    HRESULT STDMETHODCALLTYPE VUMeter(WORD) override { return 0; }
    HRESULT STDMETHODCALLTYPE AttribChanged(DWORD) override { return 0; }
    HRESULT STDMETHODCALLTYPE Interference(DWORD) override { return 0; }

private:
    LONG count_ = 0;
};

// Each recognition runs its command on a thread of its own.
class CommandSink : public NotifySinkBase {
public:
    HRESULT STDMETHODCALLTYPE CommandRecognize(DWORD identifier, const wchar_t*, DWORD,
                                               const VoiceMenuName*) override
    {
        HANDLE thread = CreateThread(nullptr, 0, RunCommand, (LPVOID)(UINT_PTR)identifier, 0,
                                     nullptr);
        if (thread)
            CloseHandle(thread);
        return 0;
    }
};

VoiceCommandHolder VoiceCommands;
VoiceMenuHolder VoiceMenu;
// The engine holds one reference of its own from creation to shutdown, so
// the sink is freed exactly once: by whichever of the engine and the service
// lets go last, whether the service exists or not.
CommandSink* Sink;

}  // namespace

void StartSpeech()
{
    Sink = new CommandSink;
    Sink->AddRef();
    if (FAILED(VoiceCommands.Create()))
        return;
    VoiceCommands.Register(Sink);
    VoiceCommands.EnabledSet(1);
    VoiceCommands.AwakeStateSet(1);
}

void CreateVoiceMenu()
{
    VoiceMenuName name = {};
    wcsncpy(name.application, L"Orvanta", VoiceNameLength - 1);
    wcsncpy(name.state, L"Main", VoiceNameLength - 1);
    IVoiceCmdMenuW* created = nullptr;
    if (FAILED(VoiceCommands.MenuCreate(&name, &created)) || !created)
        return;
    VoiceMenu.Attach(created);
    created->Release();
}

// Phrases go to the voice menu under their store index; the byte code of
// every store index goes into CommandTable.
void LoadCommands()
{
    WinRegistry reg;
    auto* table = new std::vector<EngineCommand>(LoadEngineCommands(reg));
    for (size_t i = 0; i < table->size(); i++) {
        const EngineCommand& c = (*table)[i];
        if (!c.enabled || !c.hasPhrase)
            continue;
        std::wstring phrase(c.phrase.begin(), c.phrase.end());
        VoiceMenu.Add(MakeVoiceCommandRecord(DWORD(i), phrase.c_str()));
    }
    CommandTable = table;
}

void ActivateVoiceMenu()
{
    VoiceMenu.Activate();
}

void SetThreshold(DWORD threshold)
{
    VoiceCommands.ThresholdSet(threshold);
}

void SetRecognitionActive(int active)
{
    Globals.recognitionActive = active;
    if (active)
        VoiceMenu.Activate();
    else
        VoiceMenu.Deactivate();
    // The item always names what it will do next, without a mnemonic.
    ModifyMenuA(Globals.popupMenu, 0, MF_BYPOSITION | MF_STRING, IDM_TOGGLE,
                active ? "Deactivate" : "Activate");
    SetMenuDefaultItem(Globals.popupMenu, 0, TRUE);  // replacing the item drops it
    Globals.currentIcon = (HICON)LoadImageA(Globals.instance,
                                            MAKEINTRESOURCEA(active ? IDI_ACTIVE : IDI_INACTIVE),
                                            IMAGE_ICON, 16, 16, LR_SHARED);
    ShowCurrentIcon();
}

void ShowRecognitionParameters(HWND owner)
{
    VoiceCommands.GeneralDlg(owner, L"Orvanta SR Parameters");
}

void ShowTraining(HWND owner)
{
    VoiceCommands.TrainGeneralDlg(owner, L"Orvanta Training");
}

// The sink goes last, after the service has dropped its references to it.
void ReleaseSpeech()
{
    VoiceMenu.Deactivate();
    VoiceCommands.Release();
    VoiceMenu.Release();
    if (Sink)
        Sink->Release();
    Sink = nullptr;
}

DWORD WINAPI RunCommand(LPVOID param)
{
    size_t index = (UINT_PTR)param;
    const std::vector<EngineCommand>& table = *CommandTable;
    if (index >= table.size())
        return 0;  // an identifier the engine never gave out
    const std::vector<uint8_t>& code = table[index].code;
    Win32ScriptHost host(Globals.indicator);
    RunScript(code.data(), code.size(), host);
    return 0;
}
