// The command store's readers on arbitrary Commands keys: Count, Active and
// numbered values of any type and size, present or missing.
#include "common/layout.h"
#include "common/memregistry.h"
#include "common/store.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemRegistry reg;
    RegKey key = reg.CreateKey(CommandsKeyPath);
    // Each value: a name byte (0xF0 Count, 0xF1 Active, else the number), a
    // type byte, a length byte, then that many bytes of data.
    size_t pos = 0;
    while (pos + 3 <= size) {
        uint8_t nameByte = data[pos], type = data[pos + 1], length = data[pos + 2];
        pos += 3;
        size_t take = length < size - pos ? length : size - pos;
        std::string name = nameByte == 0xF0 ? "Count"
                         : nameByte == 0xF1 ? "Active"
                                            : std::to_string(nameByte);
        reg.SetValue(key, name, type, data + pos, uint32_t(take));
        pos += take;
    }
    reg.CloseKey(key);

    auto table = LoadEngineCommands(reg);
    if (table.size() > reg.Values(CommandsKeyPath).size())
        std::abort();  // more indices than the key could describe
    for (const EngineCommand& c : table)
        if (!c.enabled && (c.hasPhrase || !c.code.empty()))
            std::abort();  // a disabled command carries nothing
    auto commands = LoadStoredCommands(reg, UsEnglishLocale());
    if (commands.size() != table.size())
        std::abort();
    return 0;
}
