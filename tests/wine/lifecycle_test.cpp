// The whole life of the system on one machine: install, define a command,
// speak it, see another program receive its keys, uninstall, and find
// nothing left but the uninstaller itself and the empty maker key.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/layout.h"
#include "installation.h"
#include "installerrun.h"
#include "journey.h"
#include "speech.h"
#include "winetest.h"

namespace {

std::string Uninstaller() { return WindowsFolder() + "\\" + UninstallerFile; }

void Clean()
{
    ClearSystemRegistry();
    DeleteTree(MakerKeyPath);
    RemoveTree(StartMenuFolder());
    DeleteFileA(Uninstaller().c_str());
    RemoveTree("C:\\orvtest");
}

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        ASSERT_TRUE(RegisterSpeech());
    }
    void TearDown() override
    {
        UnregisterSpeech();
        Clean();
    }
};

TEST_F(Lifecycle, InstallUseAndUninstall)
{
    const std::string folder = FreshFolder("life") + "Orvanta Voice\\";

    Installer setup;
    ASSERT_TRUE(setup.Open());
    ASSERT_TRUE(setup.InstallInto(folder.substr(0, folder.size() - 1)));
    ASSERT_EQ(setup.CloseDoingNothing(), 0);

    ASSERT_TRUE(DefineCommandAndSave(folder, "write greeting", "Types a greeting",
                                     "text Hello from Orvanta"));
    {
        Process engine = Start("\"" + folder + EngineFile + "\"");
        HWND indicator = WaitForWindow("Orvanta", 15000, "#32770");
        ASSERT_TRUE(indicator);
        Notepad notepad;
        ASSERT_TRUE(notepad.Open());
        EXPECT_EQ(Say(L"write greeting"), 0);
        EXPECT_EQ(notepad.WaitForText("Hello from Orvanta", 10000), "Hello from Orvanta");
        SendMessageTimeoutA(indicator, RegisterWindowMessageA("OrvantaCloseRequest"), 256, 256,
                            SMTO_NORMAL, 5000, nullptr);
        EXPECT_EQ(engine.Wait(10000), 1);
    }

    EXPECT_EQ(UninstallThroughEntry(), 0);

    EXPECT_FALSE(FolderExists(folder));
    EXPECT_FALSE(FolderExists(StartMenuFolder()));
    EXPECT_FALSE(KeyExists(ProductKeyPath));
    EXPECT_FALSE(KeyExists(UninstallKeyPath));
    EXPECT_FALSE(ReadValue(RunKeyPath, RunValue).found);
    EXPECT_TRUE(FileExists(Uninstaller()));
    EXPECT_TRUE(KeyExists(MakerKeyPath));
    HKEY maker;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, MakerKeyPath, 0, KEY_READ, &maker), ERROR_SUCCESS);
    DWORD subkeys = 1, values = 1;
    RegQueryInfoKeyA(maker, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(maker);
    EXPECT_EQ(subkeys, 0u);
    EXPECT_EQ(values, 0u);
}

}  // namespace
