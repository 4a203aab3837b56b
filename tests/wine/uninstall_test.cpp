// Orv UnInstall against a complete installation made by hand: files, links,
// settings, commands, the uninstall entry and the log-on entry.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/layout.h"
#include "installation.h"
#include "winetest.h"

static const char* const Caption = "Orv UnInstallation Program";
static const char* const InstalledFiles[] = { EngineFile, ConfigFile, GuideFile };
static const char* const Links[] = {
    "Orvanta.lnk", "Orv Configuration.lnk", "User's Guide.lnk", "UnInstall Orv.lnk",
};

class Uninstall : public ::testing::Test {
protected:
    std::string folder;  // the install folder, with its final backslash
    std::string menu;    // the Start-menu folder

    void SetUp() override
    {
        ClearSystemRegistry();
        folder = FreshFolder("uninstall");
        menu = StartMenuFolder();
        RemoveTree(menu);
        CreateDirectoryA(menu.c_str(), nullptr);
        for (const char* file : InstalledFiles)
            WriteBytes(folder + file, std::string("payload ") + file);
        MakeLink(WindowsFolder() + "\\" + UninstallerFile, menu + "\\UnInstall Orv.lnk");
        MakeLink(folder + ConfigFile, menu + "\\Orv Configuration.lnk");
        MakeLink(folder + EngineFile, menu + "\\Orvanta.lnk");
        MakeLink(folder + GuideFile, menu + "\\User's Guide.lnk");

        SetText(OptionsKeyPath, InstallPathValue, folder);
        SetDword(OptionsKeyPath, AutoLoadValue, 1);
        SetDword(CommandsKeyPath, CountValue, 0);
        SetText(UninstallKeyPath, "DisplayName", "Orvanta");
        SetText(UninstallKeyPath, "UninstallString",
                "\"" + WindowsFolder() + "\\" + UninstallerFile + "\"");
        SetText(RunKeyPath, RunValue, folder + EngineFile);
        // Neighbours that belong to others.
        SetText(RunKeyPath, "OrvTestNeighbour", "C:\\neighbour.exe");
        SetText("Software\\Quillmoor\\OrvTestNeighbour", "Kept", "yes");
    }

    void TearDown() override
    {
        RemoveTree(menu);
        RemoveTree("C:\\orvtest");
        ClearSystemRegistry();
        DeleteTree("Software\\Quillmoor\\OrvTestNeighbour");
        HKEY run;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "OrvTestNeighbour");
            RegCloseKey(run);
        }
    }

    // Runs the uninstaller, checks its question and gives the answer; returns the exit code.
    int RunUninstaller(int answer, const std::string& directory = "")
    {
        Process p = Start("\"" + BinDir() + UninstallerFile + "\"", directory);
        HWND box = WaitForDialog(Caption, 10000);
        EXPECT_TRUE(box) << "no confirmation";
        if (!box)
            return -1;
        EXPECT_EQ(MessageBoxText(box),
                  "Do you really want to completely remove Orvanta from your system?\n"
                  "All commands will be lost.");
        EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO));
        PressButton(box, answer);
        return p.Wait(15000);
    }

    void ExpectRegistryGone()
    {
        EXPECT_FALSE(KeyExists(OptionsKeyPath));
        EXPECT_FALSE(KeyExists(CommandsKeyPath));
        EXPECT_FALSE(KeyExists(ProductKeyPath));
        EXPECT_FALSE(KeyExists(UninstallKeyPath));
        EXPECT_FALSE(ReadValue(RunKeyPath, RunValue).found);
        EXPECT_TRUE(KeyExists(MakerKeyPath));
        EXPECT_TRUE(ReadValue("Software\\Quillmoor\\OrvTestNeighbour", "Kept").found);
        EXPECT_TRUE(ReadValue(RunKeyPath, "OrvTestNeighbour").found);
    }
};

TEST_F(Uninstall, AnswerNoChangesNothing)
{
    EXPECT_EQ(RunUninstaller(IDNO), 0);
    for (const char* file : InstalledFiles)
        EXPECT_TRUE(FileExists(folder + file)) << file;
    for (const char* link : Links)
        EXPECT_TRUE(FileExists(menu + "\\" + link)) << link;
    EXPECT_TRUE(ReadValue(OptionsKeyPath, InstallPathValue).found);
    EXPECT_TRUE(ReadValue(CommandsKeyPath, CountValue).found);
    EXPECT_TRUE(KeyExists(UninstallKeyPath));
    EXPECT_TRUE(ReadValue(RunKeyPath, RunValue).found);
}

TEST_F(Uninstall, AnswerYesRemovesEverythingTheSystemMade)
{
    EXPECT_EQ(RunUninstaller(IDYES), 0);
    for (const char* link : Links)
        EXPECT_FALSE(FileExists(menu + "\\" + link)) << link;
    EXPECT_FALSE(FolderExists(menu));
    for (const char* file : InstalledFiles)
        EXPECT_FALSE(FileExists(folder + file)) << file;
    EXPECT_FALSE(FolderExists(folder));
    ExpectRegistryGone();
    EXPECT_TRUE(FileExists(BinDir() + UninstallerFile));
}

TEST_F(Uninstall, FilesOfTheUserKeepTheirFolders)
{
    WriteBytes(folder + "my notes.txt", "mine");
    WriteBytes(menu + "\\My link.lnk", "mine");

    EXPECT_EQ(RunUninstaller(IDYES), 0);
    for (const char* file : InstalledFiles)
        EXPECT_FALSE(FileExists(folder + file)) << file;
    EXPECT_EQ(ReadBytes(folder + "my notes.txt"), "mine");
    for (const char* link : Links)
        EXPECT_FALSE(FileExists(menu + "\\" + link)) << link;
    EXPECT_EQ(ReadBytes(menu + "\\My link.lnk"), "mine");
    ExpectRegistryGone();
}

TEST_F(Uninstall, RunningEngineKeepsItsFileAndFolder)
{
    // The real engine when it is built, otherwise a file held open the way a
    // running program holds its own.
    Process engine;
    HANDLE held = INVALID_HANDLE_VALUE;
    std::string built = BinDir() + EngineFile;
    if (FileExists(built)) {
        CopyFileA(built.c_str(), (folder + EngineFile).c_str(), FALSE);
        engine = Start("\"" + folder + EngineFile + "\"", folder);
        Sleep(1500);
        ASSERT_TRUE(engine.Running());
    } else {
        held = CreateFileA((folder + EngineFile).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }

    EXPECT_EQ(RunUninstaller(IDYES), 0);
    EXPECT_TRUE(FileExists(folder + EngineFile));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(FileExists(folder + ConfigFile));
    EXPECT_FALSE(FileExists(folder + GuideFile));
    EXPECT_FALSE(FolderExists(menu));
    ExpectRegistryGone();
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
}

// Without a usable InstallPath no file may be deleted: not the installed files
// and not files of the same names in the uninstaller's working folder.
struct BadInstallPath {
    const char* what;
    void (*store)();
};

static const BadInstallPath BadInstallPaths[] = {
    { "missing (second run)", [] { DeleteTree(OptionsKeyPath); } },
    { "empty text", [] { SetText(OptionsKeyPath, InstallPathValue, ""); } },
    { "a number", [] { SetDword(OptionsKeyPath, InstallPathValue, 0x5C3A43); } },
};

TEST_F(Uninstall, WithoutInstallPathNoFileIsDeleted)
{
    std::string work = FreshFolder("work");
    for (const char* file : InstalledFiles)
        WriteBytes(work + file, "decoy");
    for (const BadInstallPath& c : BadInstallPaths) {
        SCOPED_TRACE(c.what);
        c.store();
        EXPECT_EQ(RunUninstaller(IDYES, work), 0);
        for (const char* file : InstalledFiles) {
            EXPECT_TRUE(FileExists(folder + file)) << file;
            EXPECT_TRUE(FileExists(work + file)) << file;
        }
        EXPECT_TRUE(FolderExists(work));
        ExpectRegistryGone();
    }
}

TEST(UninstallerProgram, CarriesItsVersionAndIcon)
{
    const std::string program = BinDir() + UninstallerFile;
    ExpectVersionAndIcon(program, {
        { "FILEVERSION", "3.7.14.7" },
        { "FileDescription", "Orvanta UnInstallation Program" },
        { "FileVersion", "3.7.14.7" },
        { "ProductVersion", "3.7.14" },
        { "ProductName", "Orvanta" },
        { "InternalName", "Orv UnInstall" },
        { "OriginalFilename", "Orv UnInstall" },
    });
}
