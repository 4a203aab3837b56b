// The byte-code walk on arbitrary bytes: every statement it returns lies
// within the bytes, and every named key within the table.
#include "common/bytecode.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that the sanitizer sees any read past the end.
    std::unique_ptr<uint8_t[]> code(new uint8_t[size]);
    std::copy(data, data + size, code.get());
    Statement st;
    size_t pos = 0;
    for (; ReadStatement(code.get(), size, pos, st); pos += st.size) {
        if (st.size == 0 || st.size > size - pos)
            std::abort();
        for (size_t i = 0; i < st.keyCount; i++)
            if (!st.keys[i].escaped && st.keys[i].value >= KeyNameCount)
                std::abort();
        const uint8_t* text = reinterpret_cast<const uint8_t*>(st.text.data());
        if (!st.text.empty() && (text < code.get() + pos || text + st.text.size() > code.get() + pos + st.size))
            std::abort();
    }
    if (pos > size)
        std::abort();
    return 0;
}
