// How the say tool hands an utterance to the stand-in's listener windows.
#pragma once
#include <windows.h>

#include <string>

// Class of the message-only window that each voice-command object listens on.
constexpr wchar_t ListenerClass[] = L"OrvSpeechListener";

// WM_COPYDATA with dwData = UtteranceTag carries an UtteranceHeader followed by
// the phrase as UTF-16 text, not necessarily zero-ended. The reply is the
// number of commands that fired.
constexpr ULONG_PTR UtteranceTag = 0x5574724F;  // "OrtU"
constexpr DWORD MaxConfidence = 100;

struct UtteranceHeader {
    DWORD confidence;  // 0 to MaxConfidence
};

// A phrase as the recognizer compares it: runs of white space folded into one
// space, none at either end, lower case. Stops at a zero character.
std::wstring PhraseKey(const wchar_t* text, size_t length);
