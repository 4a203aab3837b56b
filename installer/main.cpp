#include "installer/main.h"

#include <shlobj.h>

#include "common/layout.h"
#include "common/winregistry.h"
#include "installer/resource.h"
#include "installer/welcome.h"

TMainForm MainForm;

static const char* const PayloadType = "FILES";
static const char* const BrowseTitle = "Select folder where you want to install Orvanta.";

void TMainForm::CreateControls()
{
    Path = AddEdit(Handle, IDC_PATH, {8, 8, 241, 21}, nullptr);
    Browse = AddSpeedButton(Handle, IDC_BROWSE, {256, 8, 65, 25}, "&Browse", nullptr);
    Go = AddSpeedButton(Handle, IDC_GO, {256, 32, 65, 25}, "&Go!", nullptr);
    Progress = AddProgressBar(Handle, IDC_PROGRESS, {8, 40, 241, 15}, nullptr);
    SendMessageA(Progress, PBM_SETRANGE, 0, MAKELPARAM(0, 6));
    SendMessageA(Progress, PBM_SETSTEP, 1, 0);
}

void TMainForm::FormCreate()
{
    EnableWindow(Go, FALSE);
}

void TMainForm::OnCommand(int id, int code, HWND control)
{
    switch (id) {
    case IDC_PATH:
        if (code == EN_CHANGE)
            PathChange();
        break;
    case IDC_BROWSE:
        if (code == BN_CLICKED)
            BrowseClick();
        break;
    case IDC_GO:
        if (code == BN_CLICKED)
            GoClick();
        break;
    }
}

// On activation the keyboard goes to Path, the window's only field, so that
// the user can type the folder at once.
LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && IsWindowEnabled(Path) &&
        !IsChild(Handle, GetFocus())) {
        SetFocus(Path);
        return 0;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

// Go is offered while there is a folder to install into, and never again once
// the installation has begun (the path then changes while the edit is disabled).
void TMainForm::PathChange()
{
    EnableWindow(Go, IsWindowEnabled(Path) && GetWindowTextLengthA(Path) > 0);
}

void TMainForm::BrowseClick()
{
    char folder[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = Handle;
    info.pszDisplayName = folder;
    info.lpszTitle = BrowseTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (!item)
        return;
    if (SHGetPathFromIDListA(item, folder))
        SetText(Path, folder);
    CoTaskMemFree(item);
}

static DWORD PayloadSize(const char* name)
{
    HRSRC info = FindResourceExA(nullptr, PayloadType, name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    return info ? SizeofResource(nullptr, info) : 0;
}

static std::string WindowsFolder()
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

// The user's Start-menu programs folder; when the registry does not name it, the
// shell's own. Empty when neither knows it.
static std::string ProgramsFolder()
{
    WinRegistry reg;
    KeyHolder key(reg, reg.OpenKey(ShellFoldersKeyPath));
    RegValue value;
    if (key && reg.QueryValue(key.get(), ProgramsValue, value) && value.type == RegSz) {
        std::string text(value.data.begin(), value.data.end());
        text = text.substr(0, text.find('\0'));
        if (!text.empty())
            return text;
    }
    char folder[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PROGRAMS, FALSE))
        return "";
    return folder;
}

static void WriteInstallPath(const std::string& folder)
{
    WinRegistry reg;
    KeyHolder key(reg, reg.CreateKey(OptionsKeyPath));
    if (key)
        WriteText(reg, key.get(), InstallPathValue, folder);
}

// The path is quoted: it holds a space, and the system runs this text as a command line.
static void WriteUninstallEntry(const std::string& uninstaller)
{
    WinRegistry reg;
    KeyHolder key(reg, reg.CreateKey(UninstallKeyPath));
    if (!key)
        return;
    WriteText(reg, key.get(), "DisplayName", "Orvanta");
    WriteText(reg, key.get(), "UninstallString", "\"" + uninstaller + "\"");
}

void TMainForm::GoClick()
{
    if (!IsWindowEnabled(Go))
        return;
    EnableWindow(Browse, FALSE);
    EnableWindow(Path, FALSE);
    EnableWindow(Go, FALSE);

    std::string folder = Text(Path);
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
        SetText(Path, folder);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    ExtractResource("MAIN", folder + EngineFile, PayloadSize("MAIN"));
    SendMessageA(Progress, PBM_STEPIT, 0, 0);
    ExtractResource("CONF", folder + ConfigFile, PayloadSize("CONF"));
    SendMessageA(Progress, PBM_STEPIT, 0, 0);
    ExtractResource("HELP", folder + GuideFile, PayloadSize("HELP"));
    SendMessageA(Progress, PBM_STEPIT, 0, 0);
    WriteInstallPath(folder);
    SendMessageA(Progress, PBM_STEPIT, 0, 0);

    std::string uninstaller = WindowsFolder() + "\\" + UninstallerFile;
    ExtractResource("REMV", uninstaller, PayloadSize("REMV"));
    WriteUninstallEntry(uninstaller);
    SendMessageA(Progress, PBM_STEPIT, 0, 0);

    // Without a Programs folder there is nowhere sensible for the shortcuts.
    std::string programs = ProgramsFolder();
    if (!programs.empty()) {
        std::string menu = programs + "\\Orvanta\\";
        CreateDirectoryA((programs + "\\Orvanta").c_str(), nullptr);
        CreateLink(uninstaller, menu + "UnInstall Orv.lnk", uninstaller, 0);
        CreateLink(folder + ConfigFile, menu + "Orv Configuration.lnk", folder + ConfigFile, 0);
        CreateLink(folder + EngineFile, menu + "Orvanta.lnk", folder + EngineFile, 0);
        CreateLink(folder + GuideFile, menu + "User's Guide.lnk", folder + GuideFile, 0);
    }
    SendMessageA(Progress, PBM_STEPIT, 0, 0);

    WelcomeForm.ShowModal();
    Close();
}

// A payload that is missing leaves no file behind, and no more than the
// resource holds is ever written.
void TMainForm::ExtractResource(const char* name, const std::string& path, DWORD byteCount)
{
    HRSRC info = FindResourceExA(nullptr, PayloadType, name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    HGLOBAL loaded = info ? LoadResource(nullptr, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return;
    if (byteCount > SizeofResource(nullptr, info))
        byteCount = SizeofResource(nullptr, info);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes, byteCount, &written, nullptr);
    CloseHandle(file);
}

void TMainForm::CreateLink(const std::string& target, const std::string& link,
                           const std::string& iconPath, int iconIndex)
{
    CoInitialize(nullptr);
    IShellLinkA* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink)))) {
        shellLink->SetPath(target.c_str());
        shellLink->SetIconLocation(iconPath.c_str(), iconIndex);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH];
            if (MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH))
                file->Save(wide, TRUE);
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
}
