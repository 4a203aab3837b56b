// The per-user registry as the programs see it: keys under HKEY_CURRENT_USER
// named by their path, values with their type and exact bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum RegType : uint32_t { RegSz = 1, RegBinary = 3, RegDword = 4 };

using RegKey = uintptr_t;  // 0: no key

struct RegValue {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

class Registry {
public:
    virtual ~Registry() = default;
    virtual RegKey OpenKey(const std::string& path) = 0;    // 0 when it does not exist
    virtual RegKey CreateKey(const std::string& path) = 0;  // creates missing parents too
    virtual void CloseKey(RegKey key) = 0;
    virtual bool DeleteKey(const std::string& path) = 0;    // only a key without subkeys
    virtual bool QueryValue(RegKey key, const std::string& name, RegValue& value) = 0;
    virtual bool SetValue(RegKey key, const std::string& name, uint32_t type,
                          const void* data, uint32_t size) = 0;
    virtual bool DeleteValue(RegKey key, const std::string& name) = 0;
    virtual uint32_t ValueCount(RegKey key) = 0;
};

// A DWORD is read only from a value of exactly four bytes; the type is not checked.
bool ReadDword(Registry& reg, RegKey key, const std::string& name, uint32_t& out);
// Text up to the first zero byte, or the whole value when none comes.
bool ReadText(Registry& reg, RegKey key, const std::string& name, std::string& out);
void WriteDword(Registry& reg, RegKey key, const std::string& name, uint32_t value);
void WriteText(Registry& reg, RegKey key, const std::string& name, const std::string& text);

// RAII for an open key; closing an absent key does nothing.
class KeyHolder {
public:
    KeyHolder(Registry& reg, RegKey key) : reg_(reg), key_(key) {}
    ~KeyHolder() { if (key_) reg_.CloseKey(key_); }
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;
    RegKey get() const { return key_; }
    explicit operator bool() const { return key_ != 0; }
private:
    Registry& reg_;
    RegKey key_;
};
