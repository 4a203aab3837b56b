#include "registry.h"

#include <cstring>

bool ReadDword(Registry& reg, RegKey key, const std::string& name, uint32_t& out)
{
    RegValue v;
    if (!key || !reg.QueryValue(key, name, v) || v.data.size() != 4)
        return false;
    std::memcpy(&out, v.data.data(), 4);
    return true;
}

bool ReadText(Registry& reg, RegKey key, const std::string& name, std::string& out)
{
    RegValue v;
    if (!key || !reg.QueryValue(key, name, v))
        return false;
    std::string text(v.data.begin(), v.data.end());
    out = text.substr(0, text.find('\0'));
    return true;
}

void WriteDword(Registry& reg, RegKey key, const std::string& name, uint32_t value)
{
    reg.SetValue(key, name, RegDword, &value, 4);
}

void WriteText(Registry& reg, RegKey key, const std::string& name, const std::string& text)
{
    reg.SetValue(key, name, RegSz, text.c_str(), uint32_t(text.size() + 1));
}
