// Helpers for the installer and uninstaller tests: the folders an installation
// uses, files and links on disk, registry text values, and message boxes.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

// The Start-menu Programs folder as the programs find it: the Shell Folders value,
// else the shell's own answer.
std::string ProgramsFolder();
// Programs folder + "\Orvanta".
std::string StartMenuFolder();
// The Windows folder, without a final backslash.
std::string WindowsFolder();

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// The whole content of a file; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
// Deletes a folder with everything in it; no trace of it is left.
void RemoveTree(const std::string& folder);
// A new empty folder C:\orvtest\<name>\ (with the final backslash).
std::string FreshFolder(const std::string& name);

// A shell link to target with its own icon, as the installer makes them.
bool MakeLink(const std::string& target, const std::string& link);
// The target and icon location of a link, read back through IShellLinkA.
struct LinkInfo {
    bool read = false;
    std::string target;
    std::string icon;
    int iconIndex = -1;
};
LinkInfo ReadLink(const std::string& link);

bool KeyExists(const char* path);
// A value of a key under HKEY_CURRENT_USER with its type and raw bytes.
struct RawValue {
    bool found = false;
    DWORD type = 0;
    std::string bytes;
};
RawValue ReadValue(const char* keyPath, const char* name);
// Text stored the system's way: REG_SZ with its zero counted.
void SetText(const char* keyPath, const char* name, const std::string& text);
void SetDword(const char* keyPath, const char* name, DWORD value);
DWORD ValueCount(const char* keyPath);

// The top-level dialog (a message box) with this caption, once it shows.
HWND WaitForDialog(const char* caption, DWORD milliseconds);
// The text of a message box.
std::string MessageBoxText(HWND box);
// Presses one of a dialog's buttons by its identifier (IDYES, IDNO...).
void PressButton(HWND dialog, int id);

// Starts the uninstaller as the system's list of programs would, through the
// uninstall entry's UninstallString, and answers Yes. Its exit code, or -1
// when there is no entry, no question or no end.
int UninstallThroughEntry();

// A string of a program's version block (English, Windows Latin 1), or "" when
// missing; "FILEVERSION" gives the fixed file version as a.b.c.d.
std::string VersionText(const std::string& program, const char* field);
// Width, height and colour count of the only image of the icon MAINICON;
// zeros when the program has no such icon or it holds several images.
struct IconShape {
    int width = 0, height = 0, colours = 0;
};
IconShape MainIconShape(const std::string& program);

struct VersionField {
    const char* field;
    const char* text;
};
// Checks the program's version block and that its "MAINICON" is 32 x 32 in 16 colours.
void ExpectVersionAndIcon(const std::string& program, std::initializer_list<VersionField> fields);
