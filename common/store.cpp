#include "store.h"

#include "layout.h"

#include <algorithm>
#include <cstring>

namespace {

// What Count and Active say, bounded by what the key can really hold.
struct StoreHeader {
    uint32_t count = 0;   // names the numbered values
    uint32_t visit = 0;   // indices worth reading
    std::vector<uint8_t> active;
};

StoreHeader ReadHeader(Registry& reg, RegKey key)
{
    StoreHeader h;
    if (!ReadDword(reg, key, CountValue, h.count))
        return h;
    h.visit = std::min(h.count, reg.ValueCount(key));
    RegValue active;
    if (reg.QueryValue(key, ActiveValue, active))
        h.active = std::move(active.data);
    h.active.resize(h.visit, 0);
    return h;
}

std::string Name(uint64_t n) { return std::to_string(n); }

std::u16string PhraseText(const std::vector<uint8_t>& data)
{
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        char16_t c = char16_t(data[i] | (data[i + 1] << 8));
        if (c == 0)
            break;
        text += c;
    }
    return text;
}

}  // namespace

bool StoreExists(Registry& reg)
{
    KeyHolder key(reg, reg.OpenKey(CommandsKeyPath));
    return bool(key);
}

std::vector<EngineCommand> LoadEngineCommands(Registry& reg)
{
    KeyHolder key(reg, reg.OpenKey(CommandsKeyPath));
    if (!key)
        return {};
    StoreHeader h = ReadHeader(reg, key.get());
    std::vector<EngineCommand> table(h.visit);
    for (uint32_t i = 0; i < h.visit; i++) {
        if (!h.active[i])
            continue;
        EngineCommand& c = table[i];
        c.enabled = true;
        RegValue v;
        if (reg.QueryValue(key.get(), Name(i), v)) {
            c.hasPhrase = true;
            c.phrase = PhraseText(v.data);
        }
        if (reg.QueryValue(key.get(), Name(uint64_t(h.count) + i), v))
            c.code = std::move(v.data);
    }
    return table;
}

std::vector<StoredCommand> LoadStoredCommands(Registry& reg, const Locale& locale)
{
    KeyHolder key(reg, reg.OpenKey(CommandsKeyPath));
    if (!key)
        return {};
    StoreHeader h = ReadHeader(reg, key.get());
    std::vector<StoredCommand> commands(h.visit);
    for (uint32_t i = 0; i < h.visit; i++) {
        StoredCommand& c = commands[i];
        c.enabled = h.active[i] != 0;
        ReadText(reg, key.get(), Name(2 * uint64_t(h.count) + i), c.description);
        RegValue v;
        if (reg.QueryValue(key.get(), Name(i), v))
            c.phrase = locale.WideToAnsi(PhraseText(v.data));
        if (reg.QueryValue(key.get(), Name(uint64_t(h.count) + i), v))
            c.code = std::move(v.data);
    }
    return commands;
}

std::vector<uint8_t> PhraseValue(const std::string& phrase, const Locale& locale)
{
    std::u16string wide = locale.AnsiToWide(phrase);
    wide.resize(phrase.size() + 1, u'\0');  // shorter with a multi-byte code page
    std::vector<uint8_t> bytes;
    for (char16_t c : wide) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
    return bytes;
}

void WriteStore(Registry& reg, const Locale& locale, const std::vector<StoredCommand>& commands)
{
    reg.DeleteKey(CommandsKeyPath);
    KeyHolder key(reg, reg.CreateKey(CommandsKeyPath));
    if (!key)
        return;
    uint32_t n = uint32_t(commands.size());
    std::vector<uint8_t> active(n);
    for (uint32_t i = 0; i < n; i++) {
        const StoredCommand& c = commands[i];
        active[i] = c.enabled ? 1 : 0;
        std::vector<uint8_t> phrase = PhraseValue(c.phrase, locale);
        reg.SetValue(key.get(), Name(i), RegBinary, phrase.data(), uint32_t(phrase.size()));
        reg.SetValue(key.get(), Name(n + i), RegBinary, c.code.data(), uint32_t(c.code.size()));
        WriteText(reg, key.get(), Name(2 * n + i), c.description);
    }
    reg.SetValue(key.get(), ActiveValue, RegBinary, active.data(), n);
    WriteDword(reg, key.get(), CountValue, n);
}
