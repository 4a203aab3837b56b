// Where the system keeps its data in the per-user registry.
#pragma once

#define ORV_PRODUCT_KEY "Software\\Quillmoor\\Orvanta"

constexpr const char* MakerKeyPath = "Software\\Quillmoor";
constexpr const char* ProductKeyPath = ORV_PRODUCT_KEY;
constexpr const char* OptionsKeyPath = ORV_PRODUCT_KEY "\\Options";
constexpr const char* CommandsKeyPath = ORV_PRODUCT_KEY "\\Commands";
constexpr const char* RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* UninstallKeyPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanta";
constexpr const char* ShellFoldersKeyPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Options
constexpr const char* InstallPathValue = "InstallPath";
constexpr const char* AutoLoadValue = "AutoLoad";
constexpr const char* ThresholdValue = "Threshold";
constexpr const char* InfoXValue = "InfoX";
constexpr const char* InfoYValue = "InfoY";
// Commands
constexpr const char* CountValue = "Count";
constexpr const char* ActiveValue = "Active";
// Elsewhere
constexpr const char* RunValue = "Orvanta";          // the log-on entry
constexpr const char* ProgramsValue = "Programs";    // under Shell Folders

// File names appended to InstallPath, which ends in a backslash.
constexpr const char* EngineFile = "Orvanta.exe";
constexpr const char* ConfigFile = "Orv Configuration.exe";
constexpr const char* GuideFile = "User's Guide.doc";
constexpr const char* UninstallerFile = "Orv UnInstall.exe";
