// The DLL's entry points: the class object for the voice-command class and
// per-user registration by regsvr32.
#include <olectl.h>

#include <string>

#include "speech/service.h"
#include "speech/utterance.h"

static LONG ServerLocks;

// Per user, as a speech runtime installed without administrator rights.
static const wchar_t UserClassKey[] =
    L"Software\\Classes\\CLSID\\{6D40D820-0BA7-11CE-A166-00AA004CD65C}";
static const wchar_t RootClassKey[] = L"CLSID\\{6D40D820-0BA7-11CE-A166-00AA004CD65C}";
static const wchar_t ServerSubkey[] = L"\\InprocServer32";

class ClassFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    // The class object is static: it lives as long as the DLL.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return VoiceCmd::Create(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&ServerLocks);
        else
            InterlockedDecrement(&ServerLocks);
        return S_OK;
    }
};

static ClassFactory Factory;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SpeechModule = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded while the process goes on: the class must not outlive its procedure.
        UnregisterClassW(ListenerClass, instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_VoiceCmd))
        return CLASS_E_CLASSNOTAVAILABLE;
    return Factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return SpeechObjects == 0 && ServerLocks == 0 ? S_OK : S_FALSE;
}

static LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD((value.size() + 1) * sizeof(wchar_t)));
}

static std::wstring ModulePath()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(SpeechModule, path, MAX_PATH);
    return length && length < MAX_PATH ? path : L"";
}

// The server path that COM finds under root\classKey, or "" if none.
static std::wstring ServerPath(HKEY root, const wchar_t* classKey)
{
    std::wstring name = std::wstring(classKey) + ServerSubkey;
    HKEY key;
    if (RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"";
    wchar_t path[MAX_PATH + 1] = L"";
    DWORD size = sizeof(path) - sizeof(wchar_t);
    DWORD type = 0;
    LONG error = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    return error == ERROR_SUCCESS && type == REG_SZ ? path : L"";
}

static LONG WriteServer(HKEY root, const wchar_t* classKey, const std::wstring& path)
{
    HKEY key;
    LONG error = RegCreateKeyExW(root, classKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                 nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    error = SetString(key, nullptr, L"Voice command service (Orvanta stand-in)");
    RegCloseKey(key);
    std::wstring name = std::wstring(classKey) + ServerSubkey;
    if (error == ERROR_SUCCESS)
        error = RegCreateKeyExW(root, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    error = SetString(key, nullptr, path);
    if (error == ERROR_SUCCESS)
        error = SetString(key, L"ThreadingModel", L"Apartment");
    RegCloseKey(key);
    return error;
}

static LONG DeleteServer(HKEY root, const wchar_t* classKey)
{
    std::wstring name = std::wstring(classKey) + ServerSubkey;
    LONG error = RegDeleteKeyW(root, name.c_str());
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
        return error;
    // Keys that others put below the class key stay, and with them the class key.
    RegDeleteKeyW(root, classKey);
    return ERROR_SUCCESS;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    std::wstring path = ModulePath();
    if (path.empty() || WriteServer(HKEY_CURRENT_USER, UserClassKey, path) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    // Where the per-user classes are not part of the classes root (Wine), COM
    // would not see them: register there as well.
    if (ServerPath(HKEY_CLASSES_ROOT, RootClassKey) != path &&
        WriteServer(HKEY_CLASSES_ROOT, RootClassKey, path) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    if (DeleteServer(HKEY_CURRENT_USER, UserClassKey) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    // Whatever still names this DLL in the classes root was written by us.
    std::wstring path = ModulePath();
    std::wstring registered = ServerPath(HKEY_CLASSES_ROOT, RootClassKey);
    if (!path.empty() && !lstrcmpiW(registered.c_str(), path.c_str()) &&
        DeleteServer(HKEY_CLASSES_ROOT, RootClassKey) != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}
