// Orv Install driven through its real windows: the folder typed into Path,
// Go! clicked, the welcome window answered; then the files, the registry and
// the Start-menu links it left.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "common/layout.h"
#include "installation.h"
#include "installerrun.h"
#include "installer/resource.h"
#include "winetest.h"

static const wchar_t* const WelcomeText =
    L"Orvanta успешно установлен!\r\n"
    L"\r\n"
    L"Если Вы первый раз установили Orvanta, то вы должны \r\n"
    L"скачать  необходимые компоненты распознавания речи с \r\n"
    L"http://www.quillmoor.example/orvanta/.\r\n"
    L"\r\n"
    L"Для дальнейших инструкций по настройке читайте User's Guide.";

static std::string Uninstaller() { return WindowsFolder() + "\\" + UninstallerFile; }

// Files compared whole, without printing their bytes.
static ::testing::AssertionResult SameFile(const std::string& path, const std::string& original)
{
    std::string got = ReadBytes(path), want = ReadBytes(original);
    if (want.empty())
        return ::testing::AssertionFailure() << original << " is missing or empty";
    if (got != want)
        return ::testing::AssertionFailure()
               << path << " has " << got.size() << " bytes unlike " << original << " ("
               << want.size() << ")";
    return ::testing::AssertionSuccess();
}

class Install : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ClearSystemRegistry();
        RemoveTree(StartMenuFolder());
        DeleteFileA(Uninstaller().c_str());
        RemoveTree("C:\\orvtest");
    }

    // Everything that does not depend on the install folder being there.
    static void ExpectRecorded(const std::string& folder)
    {
        RawValue path = ReadValue(OptionsKeyPath, InstallPathValue);
        EXPECT_EQ(path.type, DWORD(REG_SZ));
        EXPECT_EQ(path.bytes, folder + '\0');
        EXPECT_EQ(ValueCount(OptionsKeyPath), 1u) << "the installer writes InstallPath alone";

        EXPECT_TRUE(SameFile(Uninstaller(), BinDir() + UninstallerFile));
        EXPECT_EQ(ReadValue(UninstallKeyPath, "DisplayName").bytes, std::string("Orvanta") + '\0');
        EXPECT_EQ(ReadValue(UninstallKeyPath, "UninstallString").bytes,
                  "\"" + Uninstaller() + "\"" + '\0');

        const struct {
            const char* link;
            std::string target;
        } links[] = {
            { "UnInstall Orv.lnk", Uninstaller() },
            { "Orv Configuration.lnk", folder + ConfigFile },
            { "Orvanta.lnk", folder + EngineFile },
            { "User's Guide.lnk", folder + GuideFile },
        };
        for (const auto& l : links) {
            SCOPED_TRACE(l.link);
            LinkInfo info = ReadLink(StartMenuFolder() + "\\" + l.link);
            ASSERT_TRUE(info.read);
            EXPECT_STRCASEEQ(info.target.c_str(), l.target.c_str());
            EXPECT_STRCASEEQ(info.icon.c_str(), l.target.c_str());
            EXPECT_EQ(info.iconIndex, 0);
        }
    }
};

TEST_F(Install, GoIsOfferedWhilePathHoldsText)
{
    Installer setup;
    ASSERT_TRUE(setup.Open());
    EXPECT_EQ(setup.PathText(), "");
    EXPECT_FALSE(setup.Enabled(IDC_GO));
    EXPECT_TRUE(WaitUntil([&] { return setup.Focus() == setup.Item(IDC_PATH); }, 3000))
        << "the folder can be typed at once";
    EXPECT_EQ(SendMessageA(setup.Item(IDC_PROGRESS), PBM_GETRANGE, FALSE, 0), 6);
    const struct {
        const char* text;
        bool offered;
    } cases[] = { { "C:\\Apps", true }, { "", false }, { " ", true }, { "", false } };
    for (const auto& c : cases)
        EXPECT_EQ((setup.Type(c.text), setup.Enabled(IDC_GO)), c.offered) << "'" << c.text << "'";

    // Closed before Go!, it ends without installing anything.
    PostMessageA(setup.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(setup.process.Wait(10000), 0);
    EXPECT_FALSE(KeyExists(OptionsKeyPath));
    EXPECT_FALSE(KeyExists(UninstallKeyPath));
    EXPECT_FALSE(FileExists(Uninstaller()));
}

TEST_F(Install, InstallsIntoATypedFolder)
{
    std::string typed = FreshFolder("typed") + "Orvanta";  // parent there, folder not
    std::string folder = typed + "\\";
    Installer setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.InstallInto(typed));

    EXPECT_EQ(setup.PathText(), folder);
    EXPECT_EQ(setup.Progress(), 6);
    EXPECT_FALSE(setup.Enabled(IDC_PATH));
    EXPECT_FALSE(setup.Enabled(IDC_BROWSE));
    EXPECT_FALSE(setup.Enabled(IDC_GO));
    EXPECT_FALSE(IsWindowEnabled(setup.main)) << "the welcome window is modal";
    EXPECT_EQ(setup.MemoText(), WelcomeText);
    EXPECT_EQ(SendMessageA(setup.WelcomeItem(IDC_VIEWUG), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(WaitUntil([&] { return setup.Focus() == setup.WelcomeItem(IDC_VIEWUG); }, 3000));

    for (const char* file : { EngineFile, ConfigFile, GuideFile })
        EXPECT_TRUE(SameFile(folder + file, BinDir() + file));
    ExpectRecorded(folder);

    EXPECT_EQ(setup.CloseDoingNothing(), 0);
}

TEST_F(Install, FolderWhoseParentIsMissingLeavesOnlyItsPayloadsOut)
{
    std::string folder = FreshFolder("parent") + "missing\\Orvanta\\";
    Installer setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.InstallInto(folder));

    EXPECT_EQ(setup.PathText(), folder) << "a final backslash is not doubled";
    EXPECT_EQ(setup.Progress(), 6);
    EXPECT_FALSE(FolderExists(folder));
    ExpectRecorded(folder);

    // The close box ends the welcome window and the program the same way.
    PostMessageA(setup.welcome, WM_CLOSE, 0, 0);
    EXPECT_EQ(setup.process.Wait(10000), 0);
}

TEST_F(Install, OverAnInstallationReplacesAllButAFileInUse)
{
    std::string folder = FreshFolder("again");
    for (const char* file : { EngineFile, ConfigFile, GuideFile })
        WriteBytes(folder + file, "old");
    HANDLE running = CreateFileA((folder + EngineFile).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);

    Installer setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.InstallInto(folder));
    EXPECT_EQ(setup.Progress(), 6);
    EXPECT_EQ(ReadBytes(folder + EngineFile), "old");
    EXPECT_TRUE(SameFile(folder + ConfigFile, BinDir() + ConfigFile));
    EXPECT_TRUE(SameFile(folder + GuideFile, BinDir() + GuideFile));
    ExpectRecorded(folder);
    CloseHandle(running);
    EXPECT_EQ(setup.CloseDoingNothing(), 0);
}

// The uninstaller that the installation registered, started the way the system
// starts it, takes away everything the installation made.
TEST_F(Install, RegisteredUninstallerRemovesTheInstallation)
{
    std::string folder = FreshFolder("roundtrip") + "Orvanta\\";
    Installer setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.InstallInto(folder));
    EXPECT_EQ(setup.CloseDoingNothing(), 0);

    EXPECT_EQ(UninstallThroughEntry(), 0);

    EXPECT_FALSE(FolderExists(folder));
    EXPECT_FALSE(FolderExists(StartMenuFolder()));
    EXPECT_FALSE(KeyExists(ProductKeyPath));
    EXPECT_FALSE(KeyExists(UninstallKeyPath));
    EXPECT_TRUE(FileExists(Uninstaller())) << "it cannot remove itself";
}

// Folders that cannot hold files still give a whole run: the other steps, the
// full progress bar, the welcome window and a normal end.
TEST_F(Install, AnUnusableFolderStillRunsToTheEnd)
{
    const std::string folders[] = {
        "C:\\orvtest\\" + std::string(300, 'x'),
        "C:\\orvtest\\a|b<c>",
    };
    for (const std::string& typed : folders) {
        SCOPED_TRACE(typed);
        Installer setup;
        ASSERT_TRUE(setup.Open());
        ASSERT_TRUE(setup.InstallInto(typed));
        EXPECT_EQ(setup.Progress(), 6);
        EXPECT_EQ(ReadValue(OptionsKeyPath, InstallPathValue).bytes, typed + "\\" + '\0');
        EXPECT_TRUE(SameFile(Uninstaller(), BinDir() + UninstallerFile));
        EXPECT_EQ(setup.CloseDoingNothing(), 0);
    }
}

// A document handler of our own records what the shell was asked to open.
// It is registered where the shell looks for handlers, HKEY_CLASSES_ROOT.
class InstallWithDocumentHandler : public Install {
protected:
    std::string record = "C:\\orvtest-opened.txt";

    static bool SetClassText(const char* path, const std::string& text)
    {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       DWORD(text.size() + 1));
        RegCloseKey(key);
        return true;
    }

    void SetUp() override
    {
        Install::SetUp();
        HKEY existing;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".doc", 0, KEY_READ, &existing) == ERROR_SUCCESS) {
            RegCloseKey(existing);
            GTEST_SKIP() << "documents already have a handler here";
        }
        ASSERT_TRUE(SetClassText(".doc", "OrvTest.Document"));
        ASSERT_TRUE(SetClassText("OrvTest.Document\\shell\\open\\command",
                                 "C:\\windows\\system32\\cmd.exe /c echo %1> " + record));
        DeleteFileA(record.c_str());
    }
    void TearDown() override
    {
        for (const char* key : { "OrvTest.Document\\shell\\open\\command",
                                 "OrvTest.Document\\shell\\open", "OrvTest.Document\\shell",
                                 "OrvTest.Document", ".doc" })
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
        DeleteFileA(record.c_str());
        Install::TearDown();
    }
};

TEST_F(InstallWithDocumentHandler, ViewUserGuideOpensTheInstalledGuide)
{
    std::string typed = FreshFolder("guide") + "Orvanta";
    Installer setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.InstallInto(typed));
    PostMessageA(setup.WelcomeItem(IDC_CLOSEBTN), BM_CLICK, 0, 0);
    EXPECT_EQ(setup.process.Wait(10000), 0);

    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(record).size() > 0; }, 10000));
    std::string opened = ReadBytes(record);
    EXPECT_NE(opened.find(typed + "\\" + GuideFile), std::string::npos) << opened;
}

TEST_F(InstallWithDocumentHandler, DoNothingOpensNothing)
{
    Installer setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.InstallInto(FreshFolder("nothing")));
    EXPECT_EQ(setup.CloseDoingNothing(), 0);
    Sleep(2000);
    EXPECT_FALSE(FileExists(record));
}

// Without the registry's Programs value the shortcuts go to the shell's own
// Programs folder.
struct ProgramsValueRemoved {
    RawValue saved = ReadValue(ShellFoldersKeyPath, ProgramsValue);
    ProgramsValueRemoved() { SetOrDelete(false); }
    ~ProgramsValueRemoved() { SetOrDelete(saved.found); }
    void SetOrDelete(bool set)
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, ShellFoldersKeyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return;
        if (set)
            RegSetValueExA(key, ProgramsValue, 0, saved.type,
                           reinterpret_cast<const BYTE*>(saved.bytes.data()), DWORD(saved.bytes.size()));
        else
            RegDeleteValueA(key, ProgramsValue);
        RegCloseKey(key);
    }
};

TEST_F(Install, WithoutProgramsValueUsesTheShellsProgramsFolder)
{
    ProgramsValueRemoved removed;
    ASSERT_FALSE(ReadValue(ShellFoldersKeyPath, ProgramsValue).found);
    std::string folder = FreshFolder("noprograms");
    Installer setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.InstallInto(folder));
    EXPECT_EQ(setup.CloseDoingNothing(), 0);

    char programs[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE);
    std::string menu = std::string(programs) + "\\Orvanta\\";
    EXPECT_STRCASEEQ(ReadLink(menu + "Orvanta.lnk").target.c_str(), (folder + EngineFile).c_str());
    EXPECT_TRUE(FileExists(menu + "UnInstall Orv.lnk"));
    RemoveTree(menu);
}

TEST(InstallerProgram, CarriesItsVersionAndIcon)
{
    const std::string program = BinDir() + "Orv Install.exe";
    ExpectVersionAndIcon(program, {
        { "FILEVERSION", "3.7.14.65" },
        { "FileDescription", "Orv Installation Program" },
        { "FileVersion", "3.7.14.65" },
        { "ProductVersion", "3.7.14" },
        { "ProductName", "Orvanta" },
        { "InternalName", "Orv Install" },
        { "OriginalFilename", "Orv Install.exe" },
    });
}

// The folder picker that Browse shows, owned by the main window.
struct PickerSearch {
    HWND owner, found;
};

static BOOL CALLBACK FindPicker(HWND w, LPARAM p)
{
    auto s = reinterpret_cast<PickerSearch*>(p);
    char cls[32] = "";
    GetClassNameA(w, cls, sizeof(cls));
    if (GetWindow(w, GW_OWNER) == s->owner && IsWindowVisible(w) && std::string(cls) == "#32770")
        s->found = w;
    return s->found == nullptr;
}

static HWND WaitForPicker(HWND owner)
{
    PickerSearch search{ owner, nullptr };
    WaitUntil([&] {
        EnumWindows(FindPicker, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, 10000);
    return search.found;
}

struct TextSearch {
    const std::string& text;
    bool found;
};

static BOOL CALLBACK FindText(HWND w, LPARAM p)
{
    auto s = reinterpret_cast<TextSearch*>(p);
    char t[256] = "";
    GetWindowTextA(w, t, sizeof(t));
    s->found = s->found || s->text == t;
    return TRUE;
}

static bool HasText(HWND dialog, const std::string& text)
{
    TextSearch search{ text, false };
    EnumChildWindows(dialog, FindText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(Install, BrowseFillsPathOnlyWhenAFolderIsChosen)
{
    Installer setup;
    ASSERT_TRUE(setup.Open());
    setup.Type("C:\\kept");

    PostMessageA(setup.Item(IDC_BROWSE), BM_CLICK, 0, 0);
    HWND picker = WaitForPicker(setup.main);
    ASSERT_TRUE(picker);
    EXPECT_TRUE(HasText(picker, "Select folder where you want to install Orvanta."));
    PressButton(picker, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 5000));
    EXPECT_EQ(setup.PathText(), "C:\\kept");
    EXPECT_TRUE(setup.Enabled(IDC_GO));

    // Accepting the picker's first choice puts that folder into Path as it is named.
    setup.Type("");
    PostMessageA(setup.Item(IDC_BROWSE), BM_CLICK, 0, 0);
    picker = WaitForPicker(setup.main);
    ASSERT_TRUE(picker);
    PressButton(picker, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 5000));
    std::string chosen = setup.PathText();
    EXPECT_TRUE(FolderExists(chosen)) << chosen;
    EXPECT_TRUE(chosen.size() == 3 || chosen.back() != '\\') << chosen;
    EXPECT_TRUE(setup.Enabled(IDC_GO));

    PostMessageA(setup.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(setup.process.Wait(10000), 0);
}
