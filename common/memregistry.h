// An in-memory registry for tests: keeps types and sizes exactly, and names
// without regard to case, as Windows does.
#pragma once
#include "registry.h"

#include <map>

class MemRegistry : public Registry {
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

    bool KeyExists(const std::string& path) const;
    // Values of a key, by lower-case name; empty when the key is missing.
    std::map<std::string, RegValue> Values(const std::string& path) const;
    size_t OpenKeys() const { return handles_.size(); }

private:
    std::map<std::string, std::map<std::string, RegValue>> keys_;  // lower-case paths and names
    std::map<RegKey, std::string> handles_;
    RegKey nextHandle_ = 1;
    std::map<std::string, RegValue>* KeyOf(RegKey key);
};
