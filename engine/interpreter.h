// Runs one command's byte code, statement by statement, through a host that
// performs each action. The engine's host does it with Win32; tests record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    virtual void KeyDown(uint8_t vk) = 0;
    virtual void KeyUp(uint8_t vk) = 0;
    virtual int16_t KeyScan(char ch) = 0;  // as VkKeyScanA
    virtual void Sleep(uint32_t milliseconds) = 0;
    virtual void ExitSystem(uint32_t flags) = 0;  // EWX_LOGOFF 0, SHUTDOWN 1, REBOOT 2, POWEROFF 8
    // ShellExecuteA with the verb "open"; hasParameters false means no parameters at all.
    virtual void ShellOpen(const std::string& file, const std::string& parameters,
                           bool hasParameters) = 0;
    virtual void ShellPrint(const std::string& file) = 0;
    virtual void SetRecognitionActive(bool active) = 0;
    virtual void CloseEngine() = 0;
};

void RunScript(const uint8_t* code, size_t length, ScriptHost& host);
