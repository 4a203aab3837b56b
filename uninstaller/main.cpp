// Orv UnInstall: after the user confirms, removes the Start-menu shortcuts, the
// installed files and every registry entry that the other programs made.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/layout.h"
#include "common/winregistry.h"

static const char* const Caption = "Orv UnInstallation Program";
static const char* const Question =
    "Do you really want to completely remove Orvanta from your system?\n"
    "All commands will be lost.";

// Shortcuts in the Start-menu folder, in the order they are removed.
static const char* const Links[] = {
    "Orvanta.lnk", "Orv Configuration.lnk", "User's Guide.lnk", "UnInstall Orv.lnk",
};
// Files in the install folder, in the order they are removed.
static const char* const InstalledFiles[] = { EngineFile, ConfigFile, GuideFile };

// A folder held in a text value. Anything but non-empty text counts as absent,
// so that no path is ever built from a value that was not there.
static bool ReadFolder(Registry& reg, const char* keyPath, const char* name, std::string& folder)
{
    KeyHolder key(reg, reg.OpenKey(keyPath));
    RegValue value;
    if (!key || !reg.QueryValue(key.get(), name, value) || value.type != RegSz)
        return false;
    std::string text(value.data.begin(), value.data.end());
    folder = text.substr(0, text.find('\0'));
    return !folder.empty();
}

// The user's Start-menu programs folder; the shell knows it when the registry does not,
// and that is where the installer made the shortcuts then.
static bool ProgramsFolder(Registry& reg, std::string& folder)
{
    if (ReadFolder(reg, ShellFoldersKeyPath, ProgramsValue, folder))
        return true;
    char path[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAMS, FALSE) || !path[0])
        return false;
    folder = path;
    return true;
}

static void RemoveShortcuts(Registry& reg)
{
    std::string programs;
    if (!ProgramsFolder(reg, programs))
        return;
    std::string menu = programs + "\\Orvanta";
    for (const char* link : Links)
        DeleteFileA((menu + "\\" + link).c_str());
    RemoveDirectoryA(menu.c_str());
}

// InstallPath ends in a backslash; the file names go straight after it.
static void RemoveInstalledFiles(Registry& reg)
{
    std::string folder;
    if (!ReadFolder(reg, OptionsKeyPath, InstallPathValue, folder))
        return;
    for (const char* file : InstalledFiles)
        DeleteFileA((folder + file).c_str());
    RemoveDirectoryA(folder.c_str());
}

// Subkeys before the product key: a key is deleted only once it has none.
static void RemoveRegistryEntries(Registry& reg)
{
    reg.DeleteKey(OptionsKeyPath);
    reg.DeleteKey(CommandsKeyPath);
    reg.DeleteKey(ProductKeyPath);
    reg.DeleteKey(UninstallKeyPath);
    KeyHolder run(reg, reg.OpenKey(RunKeyPath));
    if (run)
        reg.DeleteValue(run.get(), RunValue);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (MessageBoxA(nullptr, Question, Caption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    WinRegistry reg;
    RemoveShortcuts(reg);
    RemoveInstalledFiles(reg);
    RemoveRegistryEntries(reg);
    return 0;
}
