// The speech stand-in for Wine tests: register it for the current user and
// speak phrases to whatever listens, as a person would with the say tool.
#pragma once
#include <windows.h>

#include <string>

// regsvr32 /s on the stand-in DLL in BinDir(); true when regsvr32 succeeded.
bool RegisterSpeech();
bool UnregisterSpeech();

// Runs say.exe with these arguments (already quoted) and returns its exit
// code: 0 heard, 1 not heard, 2 bad usage, -1 if it did not run or finish.
// Pumps this thread's messages while waiting, so a listener on this thread
// hears it. output, if given, receives what say printed on stdout.
int RunSay(const std::wstring& arguments, std::string* output = nullptr);
// say "phrase" confidence
int Say(const std::wstring& phrase, int confidence = 100, std::string* output = nullptr);
