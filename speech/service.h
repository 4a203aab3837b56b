// The stand-in's voice-command object and its menus. Utterances arrive on a
// message-only window owned by the thread that created the object.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "speech/utterance.h"
#include "speech/voicecmd.h"

extern HMODULE SpeechModule;
extern LONG SpeechObjects;  // live objects, for DllCanUnloadNow

class VoiceMenu;

struct HeardPhrase {
    std::wstring phrase;
    bool active;
};

class VoiceCmd final : public IVoiceCmdW,
                 public IVoiceCmdAttributesW,
                 public IAttributesW,
                 public IVoiceCmdDialogsW {
public:
    static HRESULT Create(REFIID iid, void** out);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IVoiceCmdW
    HRESULT STDMETHODCALLTYPE Register(const wchar_t* site, IUnknown* notify, GUID notifyIid,
                                       DWORD flags, void* siteInfo) override;
    HRESULT STDMETHODCALLTYPE MenuCreate(const VoiceMenuName* name, const void* language,
                                         DWORD flags, IVoiceCmdMenuW** menu) override;
    // IVoiceCmdAttributesW
    HRESULT STDMETHODCALLTYPE EnabledGet(DWORD* enabled) override;
    HRESULT STDMETHODCALLTYPE EnabledSet(DWORD enabled) override;
    HRESULT STDMETHODCALLTYPE AwakeStateGet(DWORD* awake) override;
    HRESULT STDMETHODCALLTYPE AwakeStateSet(DWORD awake) override;
    HRESULT STDMETHODCALLTYPE ThresholdGet(DWORD* threshold) override;
    HRESULT STDMETHODCALLTYPE ThresholdSet(DWORD threshold) override;
    // IVoiceCmdDialogsW
    HRESULT STDMETHODCALLTYPE GeneralDlg(HWND owner, const wchar_t* title) override;
    HRESULT STDMETHODCALLTYPE TrainGeneralDlg(HWND owner, const wchar_t* title) override;

    // Called by the menus.
    void MenuGone(VoiceMenu* menu);
    void MenuActivated(const VoiceMenuName& name, bool active);
    std::mutex& Lock() { return lock_; }

    // Hears one utterance; returns the number of commands that fired.
    DWORD Hear(const std::wstring& phrase, DWORD confidence);
    // The phrases of every menu, for the parameters dialog.
    std::vector<HeardPhrase> Phrases();

private:
    VoiceCmd();
    ~VoiceCmd();
    IVoiceCmdNotifyW* TakeSink();
    void AttribChanged(DWORD attribute);

    LONG refs_ = 1;
    HWND window_ = nullptr;
    DWORD thread_;
    std::mutex lock_;  // guards everything below; never held while calling the sink
    IVoiceCmdNotifyW* sink_ = nullptr;
    std::vector<VoiceMenu*> menus_;
    DWORD enabled_ = 0;
    DWORD awake_ = 0;
    DWORD threshold_ = 50;
};

struct MenuCommand {
    DWORD identifier;
    std::wstring phrase;
    std::wstring key;
};

class VoiceMenu final : public IVoiceCmdMenuW {
public:
    VoiceMenu(VoiceCmd* owner, const VoiceMenuName& name);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Activate(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE Add(DWORD count, SDATA data, DWORD* firstIndex) override;

    // Read under the owner's lock.
    const VoiceMenuName& Name() const { return name_; }
    bool Active() const { return active_; }
    const std::vector<MenuCommand>& Commands() const { return commands_; }

private:
    ~VoiceMenu();
    HRESULT SetActive(bool active);

    LONG refs_ = 1;
    VoiceCmd* owner_;  // referenced: the menu keeps its object alive
    VoiceMenuName name_;
    bool active_ = false;
    std::vector<MenuCommand> commands_;
};

// Parses count records laid end to end; false if any is malformed.
bool ParseCommandRecords(DWORD count, const SDATA& data, std::vector<MenuCommand>& out);
