// The speech stand-in as the engine uses it: registered by regsvr32, created
// with CoCreateInstance, phrases spoken by say.exe from another process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "speech.h"
#include "speech/resource.h"
#include "speech/utterance.h"
#include "speech/voicecmd.h"
#include "winetest.h"

using Events = std::vector<std::string>;

// A notification object that writes down what it is told. Its count starts
// at 0, like the engine's: the service's reference is the only one.
class RecordingSink final : public IVoiceCmdNotifyW {
public:
    Events events;
    LONG refs = 0;
    bool* freed = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IVoiceCmdNotifyW))
            return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--refs)
            return refs;
        if (freed)
            *freed = true;
        delete this;
        return 0;
    }
    HRESULT STDMETHODCALLTYPE CommandRecognize(DWORD identifier, const wchar_t*, DWORD,
                                               const VoiceMenuName*) override
    {
        return Note("recognize " + std::to_string(identifier));
    }
    HRESULT STDMETHODCALLTYPE CommandOther(const VoiceMenuName*, const wchar_t*) override
    {
        return Note("other");
    }
    HRESULT STDMETHODCALLTYPE CommandStart() override { return Note("start"); }
    HRESULT STDMETHODCALLTYPE MenuActivate(const VoiceMenuName*, BOOL active) override
    {
        return Note(active ? "menu on" : "menu off");
    }
    HRESULT STDMETHODCALLTYPE UtteranceBegin() override { return Note("begin"); }
    HRESULT STDMETHODCALLTYPE UtteranceEnd() override { return Note("end"); }
    HRESULT STDMETHODCALLTYPE VUMeter(WORD) override { return Note("vu"); }
    HRESULT STDMETHODCALLTYPE AttribChanged(DWORD attribute) override
    {
        return Note("attrib " + std::to_string(attribute));
    }
    HRESULT STDMETHODCALLTYPE Interference(DWORD) override { return Note("interference"); }

private:
    HRESULT Note(const std::string& event)
    {
        events.push_back(event);
        return 0;
    }
};

static VoiceMenuName MenuName(const wchar_t* application, const wchar_t* state)
{
    VoiceMenuName name{};
    wcsncpy(name.application, application, VoiceNameLength - 1);
    wcsncpy(name.state, state, VoiceNameLength - 1);
    return name;
}

static HRESULT AddCommand(IVoiceCmdMenuW* menu, DWORD identifier, const wchar_t* phrase,
                          DWORD* firstIndex = nullptr)
{
    std::vector<BYTE> record = MakeVoiceCommandRecord(identifier, phrase);
    return menu->Add(1, SDATA{record.data(), DWORD(record.size())}, firstIndex);
}

static HRESULT CreateVoice(IVoiceCmdW** voice)
{
    return CoCreateInstance(CLSID_VoiceCmd, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                            IID_IVoiceCmdW, reinterpret_cast<void**>(voice));
}

// One voice-command object set up the way the engine does it: a sink, the
// menu "Orvanta"/"Main" with three commands, active, enabled and awake.
class SpeechTest : public testing::Test {
protected:
    IVoiceCmdW* voice = nullptr;
    IVoiceCmdAttributesW* attributes = nullptr;
    IVoiceCmdMenuW* menu = nullptr;
    RecordingSink* sink = nullptr;

    static void SetUpTestSuite() { ASSERT_TRUE(RegisterSpeech()); }

    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_EQ(S_OK, CreateVoice(&voice));
        ASSERT_EQ(S_OK, voice->QueryInterface(IID_IVoiceCmdAttributesW,
                                              reinterpret_cast<void**>(&attributes)));
        sink = new RecordingSink;
        sink->AddRef();  // the test's own look at it, dropped in TearDown
        ASSERT_EQ(S_OK, voice->Register(nullptr, sink, IID_IVoiceCmdNotifyW, 1, nullptr));
        VoiceMenuName name = MenuName(L"Orvanta", L"Main");
        ASSERT_EQ(S_OK, voice->MenuCreate(&name, nullptr, 1, &menu));
        ASSERT_EQ(S_OK, AddCommand(menu, 0, L"open notepad"));
        ASSERT_EQ(S_OK, AddCommand(menu, 3, L"close window"));
        ASSERT_EQ(S_OK, AddCommand(menu, 7, L"Type Hello"));
        attributes->EnabledSet(1);
        attributes->AwakeStateSet(1);
        menu->Activate(nullptr, 0);
        sink->events.clear();
    }

    void TearDown() override
    {
        ReleaseVoice();
        if (sink)
            sink->Release();
        CoUninitialize();
    }

    void ReleaseVoice()
    {
        for (IUnknown** p : {reinterpret_cast<IUnknown**>(&menu),
                             reinterpret_cast<IUnknown**>(&attributes),
                             reinterpret_cast<IUnknown**>(&voice)})
            if (*p) {
                (*p)->Release();
                *p = nullptr;
            }
    }
};

struct HearingCase {
    const char* name;
    DWORD threshold;
    DWORD enabled;
    DWORD awake;
    bool menuActive;
    const wchar_t* phrase;
    int confidence;
    bool heard;
    Events events;  // what the sink is told
};

TEST_F(SpeechTest, HearsActivePhrasesAtOrAboveTheThreshold)
{
    const Events heard0 = {"begin", "recognize 0", "end"};
    const Events other = {"begin", "other", "end"};
    const HearingCase cases[] = {
        {"exact phrase", 50, 1, 1, true, L"open notepad", 100, true, heard0},
        {"case and spaces folded", 50, 1, 1, true, L"  OPEN \t  Notepad ", 100, true, heard0},
        {"stored phrase with capitals", 50, 1, 1, true, L"type hello", 100, true,
         {"begin", "recognize 7", "end"}},
        {"letters beyond ASCII", 50, 1, 1, true, L"\u00FCBER ALLES", 100, true,
         {"begin", "recognize 8", "end"}},
        {"confidence equal to threshold", 60, 1, 1, true, L"open notepad", 60, true, heard0},
        {"threshold 0, confidence 0", 0, 1, 1, true, L"open notepad", 0, true, heard0},
        {"confidence below threshold", 60, 1, 1, true, L"open notepad", 59, false, other},
        {"threshold 100, confidence 99", 100, 1, 1, true, L"open notepad", 99, false, other},
        {"unknown phrase", 50, 1, 1, true, L"open notepad please", 100, false, other},
        {"part of a phrase", 50, 1, 1, true, L"open", 100, false, other},
        {"words run together", 50, 1, 1, true, L"opennotepad", 100, false, other},
        {"menu not active", 50, 1, 1, false, L"open notepad", 100, false, other},
        {"disabled", 50, 0, 1, true, L"open notepad", 100, false, {}},
        {"asleep", 50, 1, 0, true, L"open notepad", 100, false, {}},
    };
    ASSERT_EQ(S_OK, AddCommand(menu, 8, L"\u00DCber alles"));
    for (const HearingCase& c : cases) {
        SCOPED_TRACE(c.name);
        attributes->ThresholdSet(c.threshold);
        attributes->EnabledSet(c.enabled);
        attributes->AwakeStateSet(c.awake);
        if (c.menuActive)
            menu->Activate(nullptr, 0);
        else
            menu->Deactivate();
        sink->events.clear();
        EXPECT_EQ(c.heard ? 0 : 1, Say(c.phrase, c.confidence));
        EXPECT_EQ(c.events, sink->events);
    }
}

TEST_F(SpeechTest, EveryCommandWithThePhraseInAnActiveMenuFires)
{
    ASSERT_EQ(S_OK, AddCommand(menu, 5, L"Open Notepad"));
    IVoiceCmdMenuW* other = nullptr;
    IVoiceCmdMenuW* inactive = nullptr;
    VoiceMenuName name = MenuName(L"Orvanta", L"Other");
    ASSERT_EQ(S_OK, voice->MenuCreate(&name, nullptr, 1, &other));
    ASSERT_EQ(S_OK, voice->MenuCreate(&name, nullptr, 1, &inactive));
    AddCommand(other, 9, L"open notepad");
    AddCommand(inactive, 11, L"open notepad");
    other->Activate(nullptr, 0);
    sink->events.clear();

    EXPECT_EQ(0, Say(L"open notepad"));
    EXPECT_EQ((Events{"begin", "recognize 0", "recognize 5", "recognize 9", "end"}),
              sink->events);
    other->Release();
    inactive->Release();
}

// A sink that switches listening off when it hears a command, from inside
// the notification, as a client may.
class DeactivatingSink final : public IVoiceCmdNotifyW {
public:
    IVoiceCmdMenuW* menu = nullptr;
    int heard = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CommandRecognize(DWORD, const wchar_t*, DWORD,
                                               const VoiceMenuName*) override
    {
        heard++;
        menu->Deactivate();
        return 0;
    }
    HRESULT STDMETHODCALLTYPE CommandOther(const VoiceMenuName*, const wchar_t*) override { return 0; }
    HRESULT STDMETHODCALLTYPE CommandStart() override { return 0; }
    HRESULT STDMETHODCALLTYPE MenuActivate(const VoiceMenuName*, BOOL) override { return 0; }
    HRESULT STDMETHODCALLTYPE UtteranceBegin() override { return 0; }
    HRESULT STDMETHODCALLTYPE UtteranceEnd() override { return 0; }
    HRESULT STDMETHODCALLTYPE VUMeter(WORD) override { return 0; }
    HRESULT STDMETHODCALLTYPE AttribChanged(DWORD) override { return 0; }
    HRESULT STDMETHODCALLTYPE Interference(DWORD) override { return 0; }
};

TEST_F(SpeechTest, SinkMayCallBackWhileItIsTold)
{
    DeactivatingSink deactivating;
    deactivating.menu = menu;
    ASSERT_EQ(S_OK, voice->Register(nullptr, &deactivating, IID_IVoiceCmdNotifyW, 1, nullptr));
    EXPECT_EQ(0, Say(L"open notepad"));
    EXPECT_EQ(1, Say(L"open notepad"));
    EXPECT_EQ(1, deactivating.heard);
    voice->Register(nullptr, nullptr, IID_IVoiceCmdNotifyW, 1, nullptr);
}

TEST_F(SpeechTest, SayReportsOnStdoutAndReachesEveryListener)
{
    // A second object, as a second engine would have, knows another phrase.
    IVoiceCmdW* second = nullptr;
    ASSERT_EQ(S_OK, CreateVoice(&second));
    auto secondSink = new RecordingSink;
    secondSink->AddRef();
    second->Register(nullptr, secondSink, IID_IVoiceCmdNotifyW, 1, nullptr);
    IVoiceCmdAttributesW* secondAttributes = nullptr;
    second->QueryInterface(IID_IVoiceCmdAttributesW, reinterpret_cast<void**>(&secondAttributes));
    secondAttributes->EnabledSet(1);
    secondAttributes->AwakeStateSet(1);
    IVoiceCmdMenuW* secondMenu = nullptr;
    VoiceMenuName name = MenuName(L"Other", L"Main");
    second->MenuCreate(&name, nullptr, 1, &secondMenu);
    AddCommand(secondMenu, 42, L"start mail");
    secondMenu->Activate(nullptr, 0);
    secondSink->events.clear();

    std::string output;
    EXPECT_EQ(0, Say(L"start mail", 100, &output));
    EXPECT_EQ("heard: start mail\r\n", output);
    EXPECT_EQ((Events{"begin", "other", "end"}), sink->events);
    EXPECT_EQ((Events{"begin", "recognize 42", "end"}), secondSink->events);

    EXPECT_EQ(1, Say(L"nobody knows this", 100, &output));
    EXPECT_EQ("not heard: nobody knows this\r\n", output);

    secondMenu->Release();
    secondAttributes->Release();
    second->Release();
    secondSink->Release();
}

TEST_F(SpeechTest, NothingIsHeardOnceTheObjectIsReleased)
{
    ReleaseVoice();
    EXPECT_EQ(nullptr, FindWindowExW(HWND_MESSAGE, nullptr, ListenerClass, nullptr));
    std::string output;
    EXPECT_EQ(1, Say(L"open notepad", 100, &output));
    EXPECT_EQ("not heard: open notepad\r\n", output);
    EXPECT_TRUE(sink->events.empty());
}

TEST_F(SpeechTest, SayRejectsBadUsage)
{
    const wchar_t* arguments[] = {
        L"",
        L"\"open notepad\" 100 extra",
        L"\"open notepad\" 101",
        L"\"open notepad\" -1",
        L"\"open notepad\" abc",
        L"\"open notepad\" 1e2",
        L"\"open notepad\" \"\"",
        L"\"open notepad\" 0100",
        L"\"\"",
        L"\"  \t \"",
    };
    for (const wchar_t* args : arguments) {
        SCOPED_TRACE(std::string(args, args + wcslen(args)));
        EXPECT_EQ(2, RunSay(args));
    }
    EXPECT_TRUE(sink->events.empty());
}

// Another process may send anything to the listener window.
TEST_F(SpeechTest, ListenerAnswersMalformedUtterancesWithNothingHeard)
{
    HWND listener = FindWindowExW(HWND_MESSAGE, nullptr, ListenerClass, nullptr);
    ASSERT_NE(nullptr, listener);
    auto message = [](DWORD confidence, const std::wstring& phrase, size_t extraBytes = 0) {
        std::vector<BYTE> m(sizeof(UtteranceHeader) + phrase.size() * 2 + extraBytes, 0x41);
        memcpy(m.data(), &confidence, sizeof(confidence));
        memcpy(m.data() + sizeof(UtteranceHeader), phrase.data(), phrase.size() * 2);
        return m;
    };
    struct Case {
        const char* name;
        ULONG_PTR tag;
        std::vector<BYTE> data;
        DWORD size;  // bytes claimed; the whole buffer when ~0
        LRESULT fired;
    } cases[] = {
        {"well formed", UtteranceTag, message(100, L"open notepad"), ~0u, 1},
        {"zero-ended", UtteranceTag, message(100, std::wstring(L"open notepad\0junk", 17)), ~0u,
         1},
        {"odd byte at the end", UtteranceTag, message(100, L"open notepad", 1), ~0u, 1},
        {"other tag", 1, message(100, L"open notepad"), ~0u, 0},
        {"confidence above 100", UtteranceTag, message(101, L"open notepad"), ~0u, 0},
        {"huge confidence", UtteranceTag, message(0xFFFFFFFF, L"open notepad"), ~0u, 0},
        {"shorter than the header", UtteranceTag, message(100, L""), 3, 0},
        {"no phrase", UtteranceTag, message(100, L""), ~0u, 0},
        {"cut inside the phrase", UtteranceTag, message(100, L"open notepad"), 4 + 8, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        COPYDATASTRUCT cds{c.tag, c.size == ~0u ? DWORD(c.data.size()) : c.size, c.data.data()};
        EXPECT_EQ(c.fired, SendMessageW(listener, WM_COPYDATA, 0, LPARAM(&cds)));
    }
    COPYDATASTRUCT empty{UtteranceTag, 0, nullptr};
    EXPECT_EQ(0, SendMessageW(listener, WM_COPYDATA, 0, LPARAM(&empty)));
}

static VoiceCommandRecord* Header(std::vector<BYTE>& record)
{
    return reinterpret_cast<VoiceCommandRecord*>(record.data());
}

// Record blocks as the engine builds them, spoiled one way each.
TEST_F(SpeechTest, AddRejectsMalformedRecordsWhole)
{
    std::vector<BYTE> good = MakeVoiceCommandRecord(20, L"print page");
    struct Case {
        const char* name;
        void (*spoil)(std::vector<BYTE>&);
        DWORD count;
    } cases[] = {
        {"size below the header", [](std::vector<BYTE>& r) { Header(r)->size = 39; }, 1},
        {"size beyond the data", [](std::vector<BYTE>& r) { Header(r)->size += 4; }, 1},
        {"phrase inside the header", [](std::vector<BYTE>& r) { Header(r)->commandOffset = 0; }, 1},
        {"phrase beyond the record", [](std::vector<BYTE>& r) { Header(r)->commandOffset = 4000; }, 1},
        {"phrase without its zero", [](std::vector<BYTE>& r) { std::fill(r.begin() + 40, r.end(), 'x'); }, 1},
        {"empty phrase", [](std::vector<BYTE>& r) { r[40] = r[41] = 0; }, 1},
        {"phrase of spaces", [](std::vector<BYTE>& r) { r = MakeVoiceCommandRecord(20, L"   "); }, 1},
        {"count beyond the records", [](std::vector<BYTE>&) {}, 2},
        {"good record then a short one", [](std::vector<BYTE>& r) {
             std::vector<BYTE> more = MakeVoiceCommandRecord(21, L"save file");
             r.insert(r.end(), more.begin(), more.end() - 2);
         }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> block = good;
        c.spoil(block);
        DWORD first = 99;
        EXPECT_EQ(E_INVALIDARG, menu->Add(c.count, SDATA{block.data(), DWORD(block.size())}, &first));
        EXPECT_EQ(99u, first);
    }
    EXPECT_EQ(E_INVALIDARG, menu->Add(1, SDATA{nullptr, 0}, nullptr));

    // Nothing of the above was kept: the next command is the fourth.
    DWORD first = 99;
    EXPECT_EQ(S_OK, AddCommand(menu, 20, L"print page", &first));
    EXPECT_EQ(3u, first);
    EXPECT_EQ(1, Say(L"save file"));
}

TEST_F(SpeechTest, AddTakesRecordsLaidEndToEnd)
{
    // Sizes that are not multiples of 4 are taken as they are.
    std::vector<BYTE> block = MakeVoiceCommandRecord(20, L"print page");
    reinterpret_cast<VoiceCommandRecord*>(block.data())->size = 40 + 22;
    block.resize(40 + 22);
    std::vector<BYTE> second = MakeVoiceCommandRecord(21, L"save file");
    block.insert(block.end(), second.begin(), second.end());

    DWORD first = 99;
    ASSERT_EQ(S_OK, menu->Add(2, SDATA{block.data(), DWORD(block.size())}, &first));
    EXPECT_EQ(3u, first);
    EXPECT_EQ(0, Say(L"print page"));
    EXPECT_EQ(0, Say(L"save file"));
    EXPECT_EQ((Events{"begin", "recognize 20", "end", "begin", "recognize 21", "end"}),
              sink->events);
}

TEST_F(SpeechTest, TellsTheSinkOfMenuAndAttributeChanges)
{
    menu->Deactivate();
    menu->Activate(nullptr, 0);
    attributes->EnabledSet(1);
    attributes->AwakeStateSet(0);
    attributes->ThresholdSet(70);
    EXPECT_EQ((Events{"menu off", "menu on", "attrib 1", "attrib 2", "attrib 3"}), sink->events);
}

TEST_F(SpeechTest, AttributesKeepWhatWasSet)
{
    IVoiceCmdW* fresh = nullptr;
    ASSERT_EQ(S_OK, CreateVoice(&fresh));
    IVoiceCmdAttributesW* a = nullptr;
    ASSERT_EQ(S_OK, fresh->QueryInterface(IID_IVoiceCmdAttributesW, reinterpret_cast<void**>(&a)));
    DWORD enabled = 9, awake = 9, threshold = 9;
    a->EnabledGet(&enabled);
    a->AwakeStateGet(&awake);
    a->ThresholdGet(&threshold);
    // Until told otherwise the service does not listen.
    EXPECT_EQ(0u, enabled);
    EXPECT_EQ(0u, awake);
    EXPECT_EQ(50u, threshold);

    a->EnabledSet(5);
    a->ThresholdSet(80);
    EXPECT_EQ(E_INVALIDARG, a->ThresholdSet(101));
    a->EnabledGet(&enabled);
    a->ThresholdGet(&threshold);
    EXPECT_EQ(1u, enabled);
    EXPECT_EQ(80u, threshold);
    a->Release();
    fresh->Release();
}

TEST_F(SpeechTest, AnswersItsInterfacesOnly)
{
    const GUID* known[] = {&IID_IUnknown, &IID_IVoiceCmdW, &IID_IVoiceCmdAttributesW,
                           &IID_IAttributesW, &IID_IVoiceCmdDialogsW};
    for (const GUID* iid : known) {
        IUnknown* p = nullptr;
        EXPECT_EQ(S_OK, voice->QueryInterface(*iid, reinterpret_cast<void**>(&p)));
        if (p)
            p->Release();
    }
    IUnknown* p = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(E_NOINTERFACE, voice->QueryInterface(IID_IVoiceCmdNotifyW, reinterpret_cast<void**>(&p)));
    EXPECT_EQ(nullptr, p);
    EXPECT_EQ(S_OK, menu->QueryInterface(IID_IVoiceCmdMenuW, reinterpret_cast<void**>(&p)));
    p->Release();
}

TEST_F(SpeechTest, HoldsTheSinkFromRegisterUntilItIsReleased)
{
    EXPECT_EQ(2, sink->refs);  // ours and the service's

    // A sink that the service will not take is left alone.
    auto refused = new RecordingSink;
    refused->AddRef();
    EXPECT_EQ(E_NOINTERFACE, voice->Register(nullptr, refused, IID_IUnknown, 1, nullptr));
    EXPECT_EQ(1, refused->refs);
    refused->Release();

    // A new sink replaces the old one, which is let go.
    bool firstFreed = false, secondFreed = false;
    sink->freed = &firstFreed;
    auto second = new RecordingSink;
    second->freed = &secondFreed;
    ASSERT_EQ(S_OK, voice->Register(nullptr, second, IID_IVoiceCmdNotifyW, 1, nullptr));
    EXPECT_EQ(1, sink->refs);
    sink->Release();
    sink = nullptr;
    EXPECT_TRUE(firstFreed);

    // The menu keeps the object, and with it the sink, alive.
    attributes->Release();
    attributes = nullptr;
    voice->Release();
    voice = nullptr;
    EXPECT_FALSE(secondFreed);
    menu->Release();
    menu = nullptr;
    EXPECT_TRUE(secondFreed);
}

// Dialogs ----------------------------------------------------------------------

struct DialogSeen {
    bool found = false;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::wstring threshold, enabled, awake, text;
    std::vector<std::wstring> phrases;
};

static std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

static BOOL CALLBACK CloseThreadWindow(HWND hwnd, LPARAM)
{
    PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// From another thread: waits for the dialog titled title, reads it, closes it.
static std::thread InspectDialog(const wchar_t* title, DWORD dialogThread, DialogSeen& seen)
{
    return std::thread([=, &seen] {
        HWND dialog = nullptr;
        DWORD start = GetTickCount();
        while (!(dialog = FindWindowW(L"#32770", title)) && GetTickCount() - start < 10000)
            Sleep(50);
        if (!dialog) {
            EnumThreadWindows(dialogThread, CloseThreadWindow, 0);
            return;
        }
        seen.found = true;
        seen.owner = GetWindow(dialog, GW_OWNER);
        seen.ownerEnabled = seen.owner && IsWindowEnabled(seen.owner);
        seen.threshold = ItemText(dialog, IDC_THRESHOLD);
        seen.enabled = ItemText(dialog, IDC_ENABLED);
        seen.awake = ItemText(dialog, IDC_AWAKE);
        seen.text = ItemText(dialog, IDC_TRAINING_TEXT);
        HWND list = GetDlgItem(dialog, IDC_PHRASES);
        LRESULT count = list ? SendMessageW(list, LB_GETCOUNT, 0, 0) : 0;
        for (LRESULT i = 0; i < count; i++) {
            wchar_t item[256] = L"";
            if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 256)
                SendMessageW(list, LB_GETTEXT, i, LPARAM(item));
            seen.phrases.push_back(item);
        }
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
}

class SpeechDialogTest : public SpeechTest {
protected:
    HWND owner = nullptr;
    IVoiceCmdDialogsW* dialogs = nullptr;

    void SetUp() override
    {
        SpeechTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(S_OK, voice->QueryInterface(IID_IVoiceCmdDialogsW,
                                              reinterpret_cast<void**>(&dialogs)));
        owner = CreateWindowW(L"STATIC", L"speech test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner);
    }
    void TearDown() override
    {
        if (dialogs)
            dialogs->Release();
        DestroyWindow(owner);
        SpeechTest::TearDown();
    }
};

TEST_F(SpeechDialogTest, GeneralDialogShowsParametersAndActivePhrases)
{
    IVoiceCmdMenuW* inactive = nullptr;
    VoiceMenuName name = MenuName(L"Orvanta", L"Hidden");
    voice->MenuCreate(&name, nullptr, 1, &inactive);
    AddCommand(inactive, 1, L"secret phrase");
    attributes->ThresholdSet(65);
    attributes->AwakeStateSet(0);

    DialogSeen seen;
    std::thread inspector = InspectDialog(L"Orvanta SR Parameters", GetCurrentThreadId(), seen);
    EXPECT_EQ(S_OK, dialogs->GeneralDlg(owner, L"Orvanta SR Parameters"));
    inspector.join();

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(owner, seen.owner);
    EXPECT_FALSE(seen.ownerEnabled);  // modal to its owner
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(L"65", seen.threshold);
    EXPECT_EQ(L"Yes", seen.enabled);
    EXPECT_EQ(L"No", seen.awake);
    EXPECT_EQ((std::vector<std::wstring>{L"open notepad", L"close window", L"Type Hello"}),
              seen.phrases);
    inactive->Release();
}

TEST_F(SpeechDialogTest, TrainingDialogSaysNoTrainingIsNeeded)
{
    DialogSeen seen;
    std::thread inspector = InspectDialog(L"Orvanta Training", GetCurrentThreadId(), seen);
    EXPECT_EQ(S_OK, dialogs->TrainGeneralDlg(owner, L"Orvanta Training"));
    inspector.join();

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(owner, seen.owner);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_NE(std::wstring::npos, seen.text.find(L"no training"));
}

// Registration ------------------------------------------------------------------

static std::string ServerValue(const char* name)
{
    char value[MAX_PATH] = "";
    DWORD size = sizeof(value) - 1;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Classes\\CLSID\\{6D40D820-0BA7-11CE-A166-00AA004CD65C}"
                      "\\InprocServer32",
                      0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return value;
}

TEST(SpeechRegistration, RegsvrWritesAndRemovesThePerUserServer)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(RegisterSpeech());
    EXPECT_EQ(BinDir() + "OrvSpeech.dll", ServerValue(nullptr));
    EXPECT_EQ("Apartment", ServerValue("ThreadingModel"));

    ASSERT_TRUE(UnregisterSpeech());
    EXPECT_EQ("", ServerValue(nullptr));
    IVoiceCmdW* voice = reinterpret_cast<IVoiceCmdW*>(1);
    EXPECT_TRUE(FAILED(CreateVoice(&voice)));
    EXPECT_EQ(nullptr, voice);

    EXPECT_TRUE(RegisterSpeech());
    EXPECT_EQ(S_OK, CreateVoice(&voice));
    if (voice)
        voice->Release();
    CoUninitialize();
}
