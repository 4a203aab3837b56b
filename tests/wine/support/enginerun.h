// Helpers for tests of the engine: a command store made of byte code, the
// engine started from the build, its indicator window and its settings.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/store.h"
#include "winetest.h"

// Byte code of single statements, to be joined into a command.
using Code = std::vector<uint8_t>;
Code operator+(Code a, const Code& b);
Code SleepCode(uint8_t seconds);
Code TextCode(const std::string& text);
Code PressCode(uint8_t vk);    // an escaped key, by its virtual-key code
Code ReleaseCode(uint8_t vk);
Code TapCode(uint8_t vk);      // press then release
const Code DeactivateCode = {6};
const Code CloseCode = {7};
const Code ActivateCode = {14};

StoredCommand MakeCommand(const std::string& phrase, const Code& code, bool enabled = true);
// Replaces the command store, as the configuration utility saves it.
void WriteCommands(const std::vector<StoredCommand>& commands);

void WriteOption(const char* name, DWORD value);
void WriteOptionText(const char* name, const std::string& text);
// False when the value is missing or not four bytes.
bool ReadOption(const char* name, DWORD& value);
bool OptionsKeyExists();

Process StartEngine();
// Starts a console program with its output thrown away.
Process StartQuiet(const std::string& commandLine);
// The indicator window once the engine has started, or null.
HWND WaitForIndicator(DWORD milliseconds = 15000);
// The close request as another process sends it.
void SendCloseRequest(HWND indicator, LPARAM lParam = 256);
RECT WindowRect(HWND hwnd);
