// The engine's program-wide state and the operations its windows share.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/store.h"

// The indicator window's size: a 16 x 16 icon inside a one-pixel border.
constexpr int IndicatorSize = 18;

struct EngineGlobals {
    HINSTANCE instance;
    int screenWidth, screenHeight;
    int infoX, infoY;                // top-left corner of the indicator window
    DWORD threshold;
    bool hasConfigUtility;           // false when no install folder is recorded
    std::string configUtilityPath;
    UINT closeRequestMessage;        // the registered form of the close request
    int recognitionActive;
    HMENU menuResource, popupMenu;
    HICON currentIcon;
    HWND indicator;
    int dragging;
    int anchorX, anchorY;            // press point in client coordinates
};

extern EngineGlobals Globals;

// One entry per store index; made once before recognition starts, then only
// read, and never freed, so a command still running at exit reads valid code.
extern const std::vector<EngineCommand>* CommandTable;

// main.cpp
int InitializeEngine();
void ShutdownEngine();

// indicator.cpp
INT_PTR CALLBACK IndicatorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Repaints the indicator with the current icon.
void ShowCurrentIcon();

// binding.cpp
void StartSpeech();
void CreateVoiceMenu();
void LoadCommands();
void ActivateVoiceMenu();
void SetThreshold(DWORD threshold);
void SetRecognitionActive(int active);
void ShowRecognitionParameters(HWND owner);
void ShowTraining(HWND owner);
void ReleaseSpeech();
// The body of the worker thread that runs one recognised command.
DWORD WINAPI RunCommand(LPVOID index);
