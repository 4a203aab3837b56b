// The regenerator on arbitrary bytes, and the compiler on what it makes: after
// one reload the script is settled, so a second reload gives the same bytes.
#include "config/command.h"
#include "forms/strtoint.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<uint8_t[]> code(new uint8_t[size]);
    std::copy(data, data + size, code.get());
    TCommand loaded(code.get(), size, UsEnglishLocale());
    size_t length;
    try {
        length = loaded.Compile();
    } catch (const ECompileError&) {
        return 0;  // an empty key, or text that no longer fits
    }
    TCommand reloaded(loaded.Code, length, UsEnglishLocale());
    if (reloaded.Compile() != length || !std::equal(loaded.Code, loaded.Code + length, reloaded.Code))
        std::abort();
    return 0;
}
