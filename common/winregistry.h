// The real registry under HKEY_CURRENT_USER.
#pragma once
#include "registry.h"

class WinRegistry : public Registry {
public:
    RegKey OpenKey(const std::string& path) override;
    RegKey CreateKey(const std::string& path) override;
    void CloseKey(RegKey key) override;
    bool DeleteKey(const std::string& path) override;
    bool QueryValue(RegKey key, const std::string& name, RegValue& value) override;
    bool SetValue(RegKey key, const std::string& name, uint32_t type, const void* data,
                  uint32_t size) override;
    bool DeleteValue(RegKey key, const std::string& name) override;
    uint32_t ValueCount(RegKey key) override;
};
