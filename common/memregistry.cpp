#include "memregistry.h"

#include <cctype>
#include <cstring>

static std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

RegKey MemRegistry::OpenKey(const std::string& path)
{
    std::string p = Lower(path);
    if (!keys_.count(p))
        return 0;
    handles_[nextHandle_] = p;
    return nextHandle_++;
}

RegKey MemRegistry::CreateKey(const std::string& path)
{
    std::string p = Lower(path);
    for (size_t at = p.find('\\'); at != std::string::npos; at = p.find('\\', at + 1))
        keys_[p.substr(0, at)];
    keys_[p];
    return OpenKey(p);
}

void MemRegistry::CloseKey(RegKey key)
{
    handles_.erase(key);
}

bool MemRegistry::DeleteKey(const std::string& path)
{
    std::string p = Lower(path);
    auto it = keys_.find(p);
    if (it == keys_.end())
        return false;
    auto next = std::next(it);
    if (next != keys_.end() && next->first.compare(0, p.size() + 1, p + "\\") == 0)
        return false;
    keys_.erase(it);
    return true;
}

std::map<std::string, RegValue>* MemRegistry::KeyOf(RegKey key)
{
    auto h = handles_.find(key);
    if (h == handles_.end())
        return nullptr;
    auto k = keys_.find(h->second);
    return k == keys_.end() ? nullptr : &k->second;
}

bool MemRegistry::QueryValue(RegKey key, const std::string& name, RegValue& value)
{
    auto* values = KeyOf(key);
    if (!values)
        return false;
    auto v = values->find(Lower(name));
    if (v == values->end())
        return false;
    value = v->second;
    return true;
}

bool MemRegistry::SetValue(RegKey key, const std::string& name, uint32_t type, const void* data,
                           uint32_t size)
{
    auto* values = KeyOf(key);
    if (!values)
        return false;
    RegValue& v = (*values)[Lower(name)];
    v.type = type;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    v.data.assign(bytes, bytes + size);
    return true;
}

bool MemRegistry::DeleteValue(RegKey key, const std::string& name)
{
    auto* values = KeyOf(key);
    return values && values->erase(Lower(name)) > 0;
}

uint32_t MemRegistry::ValueCount(RegKey key)
{
    auto* values = KeyOf(key);
    return values ? uint32_t(values->size()) : 0;
}

bool MemRegistry::KeyExists(const std::string& path) const
{
    return keys_.count(Lower(path)) > 0;
}

std::map<std::string, RegValue> MemRegistry::Values(const std::string& path) const
{
    auto k = keys_.find(Lower(path));
    return k == keys_.end() ? std::map<std::string, RegValue>{} : k->second;
}
