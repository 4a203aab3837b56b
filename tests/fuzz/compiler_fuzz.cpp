// The compiler on arbitrary lines: it either refuses the script or writes byte
// code that the walk reads to its exact end, and that survives a reload.
#include "config/command.h"
#include "forms/strtoint.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; i++) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += char(data[i]);
    }
    TCommand command(lines, UsEnglishLocale());
    size_t length;
    try {
        length = command.Compile();
    } catch (const ECompileError&) {
        return 0;
    } catch (const EConvertError&) {
        return 0;
    }
    if (length > MaxCodeSize)
        std::abort();
    bool keyWithoutCharacter = false;
    Statement st;
    size_t pos = 0;
    for (; ReadStatement(command.Code, length, pos, st); pos += st.size) {
        if (!KeywordOf(st.opcode))
            std::abort();
        for (size_t i = 0; i < st.keyCount; i++)
            keyWithoutCharacter |= st.keys[i].escaped && st.keys[i].value == 255;
    }
    if (pos != length)
        std::abort();
    // A key the layout cannot type has no character to come back as.
    if (keyWithoutCharacter)
        return 0;
    TCommand reloaded(command.Code, length, UsEnglishLocale());
    if (reloaded.Compile() != length || !std::equal(command.Code, command.Code + length, reloaded.Code))
        std::abort();
    return 0;
}
