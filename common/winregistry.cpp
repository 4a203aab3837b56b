#include "winregistry.h"

#include <windows.h>

static HKEY Handle(RegKey key) { return reinterpret_cast<HKEY>(key); }

RegKey WinRegistry::OpenKey(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    return reinterpret_cast<RegKey>(key);
}

RegKey WinRegistry::CreateKey(const std::string& path)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 0;
    return reinterpret_cast<RegKey>(key);
}

void WinRegistry::CloseKey(RegKey key)
{
    RegCloseKey(Handle(key));
}

bool WinRegistry::DeleteKey(const std::string& path)
{
    return RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

// Size first, then the value; a value that changes size in between counts as absent.
bool WinRegistry::QueryValue(RegKey key, const std::string& name, RegValue& value)
{
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(Handle(key), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    value.data.assign(size, 0);
    DWORD got = size;
    if (RegQueryValueExA(Handle(key), name.c_str(), nullptr, &type,
                         size ? value.data.data() : nullptr, &got) != ERROR_SUCCESS)
        return false;
    value.data.resize(got);
    value.type = type;
    return true;
}

bool WinRegistry::SetValue(RegKey key, const std::string& name, uint32_t type, const void* data,
                           uint32_t size)
{
    return RegSetValueExA(Handle(key), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                          size) == ERROR_SUCCESS;
}

bool WinRegistry::DeleteValue(RegKey key, const std::string& name)
{
    return RegDeleteValueA(Handle(key), name.c_str()) == ERROR_SUCCESS;
}

uint32_t WinRegistry::ValueCount(RegKey key)
{
    DWORD count = 0;
    if (RegQueryInfoKeyA(Handle(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return count;
}
