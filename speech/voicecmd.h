// The voice-command service as the engine sees it: its class, its interfaces
// and the records that cross them. Shared by the engine and the stand-in DLL.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <cwchar>
#include <vector>

// {6D40D820-0BA7-11CE-A166-00AA004CD65C}
inline const GUID CLSID_VoiceCmd =
    {0x6D40D820, 0x0BA7, 0x11CE, {0xA1, 0x66, 0x00, 0xAA, 0x00, 0x4C, 0xD6, 0x5C}};
// {E0DCC220-604D-101B-9926-00AA003CFC2C}
inline const GUID IID_IVoiceCmdW =
    {0xE0DCC220, 0x604D, 0x101B, {0x99, 0x26, 0x00, 0xAA, 0x00, 0x3C, 0xFC, 0x2C}};
// {E5F24680-6053-101B-9926-00AA003CFC2C}
inline const GUID IID_IVoiceCmdAttributesW =
    {0xE5F24680, 0x6053, 0x101B, {0x99, 0x26, 0x00, 0xAA, 0x00, 0x3C, 0xFC, 0x2C}};
// {1D59DED1-E367-11D1-BED7-006008317CE8}
inline const GUID IID_IAttributesW =
    {0x1D59DED1, 0xE367, 0x11D1, {0xBE, 0xD7, 0x00, 0x60, 0x08, 0x31, 0x7C, 0xE8}};
// {EE39B8A0-6053-101B-9926-00AA003CFC2C}
inline const GUID IID_IVoiceCmdDialogsW =
    {0xEE39B8A0, 0x6053, 0x101B, {0x99, 0x26, 0x00, 0xAA, 0x00, 0x3C, 0xFC, 0x2C}};
// {DAC54F60-604D-101B-9926-00AA003CFC2C}
inline const GUID IID_IVoiceCmdMenuW =
    {0xDAC54F60, 0x604D, 0x101B, {0x99, 0x26, 0x00, 0xAA, 0x00, 0x3C, 0xFC, 0x2C}};
// {CCFD7A60-604D-101B-9926-00AA003CFC2C}
inline const GUID IID_IVoiceCmdNotifyW =
    {0xCCFD7A60, 0x604D, 0x101B, {0x99, 0x26, 0x00, 0xAA, 0x00, 0x3C, 0xFC, 0x2C}};

constexpr int VoiceNameLength = 32;  // characters, terminating zero included

// Names a voice menu: the application that owns it and its state.
struct VoiceMenuName {
    wchar_t application[VoiceNameLength];
    wchar_t state[VoiceNameLength];
};

// A block of records handed to the service.
struct SDATA {
    void* data;
    DWORD size;
};

// One command of a voice menu. The phrase follows the header as zero-ended
// UTF-16 text; size covers header and phrase, rounded up to a multiple of 4.
struct VoiceCommandRecord {
    DWORD size;
    DWORD flags;
    DWORD identifier;
    DWORD commandOffset;      // the phrase, from the start of the record
    DWORD descriptionOffset;  // 0: none
    DWORD categoryOffset;     // 0: none
    DWORD actionOffset;       // 0: none
    DWORD actionSize;
    DWORD reserved[2];
};
static_assert(sizeof(VoiceCommandRecord) == 40, "the record header is 40 bytes");

// Builds a record for one phrase under an identifier.
inline std::vector<BYTE> MakeVoiceCommandRecord(DWORD identifier, const wchar_t* phrase)
{
    const BYTE* text = reinterpret_cast<const BYTE*>(phrase);
    std::vector<BYTE> record(sizeof(VoiceCommandRecord), 0);
    record.insert(record.end(), text, text + (wcslen(phrase) + 1) * sizeof(wchar_t));
    record.resize((record.size() + 3) & ~size_t(3), 0);
    VoiceCommandRecord header{};
    header.size = DWORD(record.size());
    header.identifier = identifier;
    header.commandOffset = sizeof(VoiceCommandRecord);
    memcpy(record.data(), &header, sizeof(header));
    return record;
}

// What AttribChanged reports.
enum VoiceAttribute : DWORD {
    VoiceAttribEnabled = 1,
    VoiceAttribAwake = 2,
    VoiceAttribThreshold = 3,
};

struct IVoiceCmdMenuW;

// The voice-command object: created from CLSID_VoiceCmd.
struct IVoiceCmdW : public IUnknown {
    // Sets the object that receives notifications; it must answer notifyIid
    // (IID_IVoiceCmdNotifyW). The object keeps a reference until it is released.
    virtual HRESULT STDMETHODCALLTYPE Register(const wchar_t* site, IUnknown* notify,
                                               GUID notifyIid, DWORD flags,
                                               void* siteInfo) = 0;
    // Creates an inactive, empty menu. language may be null.
    virtual HRESULT STDMETHODCALLTYPE MenuCreate(const VoiceMenuName* name, const void* language,
                                                 DWORD flags, IVoiceCmdMenuW** menu) = 0;
};

// Recognition parameters of the voice-command object. Threshold: 0 to 100.
struct IVoiceCmdAttributesW : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE EnabledGet(DWORD* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnabledSet(DWORD enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE AwakeStateGet(DWORD* awake) = 0;
    virtual HRESULT STDMETHODCALLTYPE AwakeStateSet(DWORD awake) = 0;
    virtual HRESULT STDMETHODCALLTYPE ThresholdGet(DWORD* threshold) = 0;
    virtual HRESULT STDMETHODCALLTYPE ThresholdSet(DWORD threshold) = 0;
};

// General attributes of the service; the engine never calls them.
struct IAttributesW : public IUnknown {
};

// The service's own dialogs, modal to owner.
struct IVoiceCmdDialogsW : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GeneralDlg(HWND owner, const wchar_t* title) = 0;
    virtual HRESULT STDMETHODCALLTYPE TrainGeneralDlg(HWND owner, const wchar_t* title) = 0;
};

// A menu of commands; its phrases are listened for while it is active.
struct IVoiceCmdMenuW : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Activate(HWND window, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Deactivate() = 0;
    // Adds count records laid end to end in data; firstIndex (may be null)
    // receives the menu position of the first.
    virtual HRESULT STDMETHODCALLTYPE Add(DWORD count, SDATA data, DWORD* firstIndex) = 0;
};

// Implemented by the client; every method returns 0. Phrases are as heard.
struct IVoiceCmdNotifyW : public IUnknown {
    // A command of an active menu was heard; called for each such command.
    virtual HRESULT STDMETHODCALLTYPE CommandRecognize(DWORD identifier, const wchar_t* phrase,
                                                       DWORD confidence,
                                                       const VoiceMenuName* menu) = 0;
    // An utterance that no command took.
    virtual HRESULT STDMETHODCALLTYPE CommandOther(const VoiceMenuName* menu,
                                                   const wchar_t* phrase) = 0;
    virtual HRESULT STDMETHODCALLTYPE CommandStart() = 0;
    virtual HRESULT STDMETHODCALLTYPE MenuActivate(const VoiceMenuName* menu, BOOL active) = 0;
    virtual HRESULT STDMETHODCALLTYPE UtteranceBegin() = 0;
    virtual HRESULT STDMETHODCALLTYPE UtteranceEnd() = 0;
    virtual HRESULT STDMETHODCALLTYPE VUMeter(WORD level) = 0;
    virtual HRESULT STDMETHODCALLTYPE AttribChanged(DWORD attribute) = 0;
    virtual HRESULT STDMETHODCALLTYPE Interference(DWORD kind) = 0;
};
