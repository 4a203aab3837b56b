#include "installation.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include "common/layout.h"
#include "winetest.h"

std::string ProgramsFolder()
{
    RawValue v = ReadValue(ShellFoldersKeyPath, ProgramsValue);
    if (v.found && v.type == REG_SZ && v.bytes.size() > 1)
        return v.bytes.substr(0, v.bytes.find('\0'));
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE);
    return path;
}

std::string StartMenuFolder() { return ProgramsFolder() + "\\Orvanta"; }

std::string WindowsFolder()
{
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}

bool FileExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadBytes(const std::string& path)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "";
    std::string bytes(GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    if (!bytes.empty())
        ReadFile(f, &bytes[0], DWORD(bytes.size()), &got, nullptr);
    CloseHandle(f);
    bytes.resize(got);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &put, nullptr);
    CloseHandle(f);
    return put == bytes.size();
}

void RemoveTree(const std::string& folder)
{
    std::string base = folder;
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((base + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = base + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(base.c_str());
}

std::string FreshFolder(const std::string& name)
{
    CreateDirectoryA("C:\\orvtest", nullptr);
    std::string folder = "C:\\orvtest\\" + name;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

bool MakeLink(const std::string& target, const std::string& link)
{
    CoInitialize(nullptr);
    bool saved = false;
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        shellLink->SetPath(target.c_str());
        shellLink->SetIconLocation(target.c_str(), 0);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
            saved = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return saved;
}

LinkInfo ReadLink(const std::string& link)
{
    LinkInfo info;
    CoInitialize(nullptr);
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Load(wide, STGM_READ))) {
                char path[MAX_PATH] = "";
                // SLGP_RAWPATH: the path as stored, not resolved against the disk.
                shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
                info.target = path;
                char icon[MAX_PATH] = "";
                shellLink->GetIconLocation(icon, MAX_PATH, &info.iconIndex);
                info.icon = icon;
                info.read = true;
            }
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return info;
}

bool KeyExists(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

RawValue ReadValue(const char* keyPath, const char* name)
{
    RawValue v;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.bytes.assign(size, '\0');
        v.found = RegQueryValueExA(key, name, nullptr, &v.type,
                                   reinterpret_cast<BYTE*>(&v.bytes[0]), &size) == ERROR_SUCCESS;
        v.bytes.resize(size);
    }
    RegCloseKey(key);
    return v;
}

static void SetRaw(const char* keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetText(const char* keyPath, const char* name, const std::string& text)
{
    SetRaw(keyPath, name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}

void SetDword(const char* keyPath, const char* name, DWORD value)
{
    SetRaw(keyPath, name, REG_DWORD, &value, 4);
}

DWORD ValueCount(const char* keyPath)
{
    HKEY key;
    DWORD count = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count;
}

HWND WaitForDialog(const char* caption, DWORD milliseconds)
{
    return WaitForWindow(caption, milliseconds, "#32770");
}

std::string MessageBoxText(HWND box)
{
    // A message box keeps its text in the static control with the identifier 0xFFFF.
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string VersionText(const std::string& program, const char* field)
{
    // Loaded by hand: the test programs are not linked with version.dll.
    HMODULE dll = LoadLibraryA("version.dll");
    auto getSize = reinterpret_cast<DWORD(WINAPI*)(LPCSTR, LPDWORD)>(
        GetProcAddress(dll, "GetFileVersionInfoSizeA"));
    auto getInfo = reinterpret_cast<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>(
        GetProcAddress(dll, "GetFileVersionInfoA"));
    auto query = reinterpret_cast<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>(
        GetProcAddress(dll, "VerQueryValueA"));
    std::string text;
    DWORD handle = 0, size = getSize && getInfo && query ? getSize(program.c_str(), &handle) : 0;
    std::string block(size, '\0');
    void* value = nullptr;
    UINT length = 0;
    if (size && getInfo(program.c_str(), 0, size, &block[0])) {
        if (std::string(field) == "FILEVERSION") {
            if (query(block.data(), "\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
                auto* fixed = static_cast<VS_FIXEDFILEINFO*>(value);
                text = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                       std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                       std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                       std::to_string(LOWORD(fixed->dwFileVersionLS));
            }
        } else if (query(block.data(), (std::string("\\StringFileInfo\\040904E4\\") + field).c_str(),
                         &value, &length) && length) {
            text = static_cast<const char*>(value);
        }
    }
    FreeLibrary(dll);
    return text;
}

IconShape MainIconShape(const std::string& program)
{
    IconShape shape;
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return shape;
    HRSRC group = FindResourceA(module, "MAINICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    const BYTE* dir = group ? static_cast<const BYTE*>(LockResource(LoadResource(module, group))) : nullptr;
    // The group: three words, then one 14-byte entry per image.
    if (dir && SizeofResource(module, group) >= 6 + 14 && dir[4] == 1 && dir[5] == 0) {
        const BYTE* entry = dir + 6;
        shape.width = entry[0];
        shape.height = entry[1];
        shape.colours = entry[2] ? entry[2] : 1 << entry[6];
    }
    FreeLibrary(module);
    return shape;
}

void ExpectVersionAndIcon(const std::string& program, std::initializer_list<VersionField> fields)
{
    for (const VersionField& f : fields)
        EXPECT_EQ(VersionText(program, f.field), f.text) << f.field;
    EXPECT_NE(VersionText(program, "LegalCopyright"), "");
    IconShape icon = MainIconShape(program);
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.height, 32);
    EXPECT_EQ(icon.colours, 16);
}

int UninstallThroughEntry()
{
    RawValue command = ReadValue(UninstallKeyPath, "UninstallString");
    if (!command.found)
        return -1;
    Process uninstall = Start(command.bytes.c_str());
    HWND box = WaitForDialog("Orv UnInstallation Program", 10000);
    if (!box)
        return -1;
    PressButton(box, IDYES);
    return uninstall.Wait(15000);
}
