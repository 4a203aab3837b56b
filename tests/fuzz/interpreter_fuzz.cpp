// The interpreter on arbitrary bytes with a host that only checks what it is asked.
#include "common/locale.h"
#include "engine/interpreter.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

class CheckingHost : public ScriptHost {
public:
    int held[256] = {};

    void KeyDown(uint8_t vk) override { held[vk]++; }
    void KeyUp(uint8_t vk) override { held[vk]--; }
    int16_t KeyScan(char ch) override { return UsEnglishLocale().KeyScan(ch); }
    void Sleep(uint32_t ms) override
    {
        if (ms > 255000 || ms % 1000)
            std::abort();
    }
    void ExitSystem(uint32_t flags) override
    {
        if (flags != 0 && flags != 1 && flags != 2 && flags != 8)
            std::abort();
    }
    void ShellOpen(const std::string& file, const std::string& parameters, bool hasParameters) override
    {
        // A split leaves the program with both of its quotes.
        if (hasParameters && (file.empty() || file.back() != '"'))
            std::abort();
        if (!hasParameters && !parameters.empty())
            std::abort();
    }
    void ShellPrint(const std::string& file) override {}
    void SetRecognitionActive(bool active) override {}
    void CloseEngine() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<uint8_t[]> code(new uint8_t[size]);
    std::copy(data, data + size, code.get());
    CheckingHost host;
    RunScript(code.get(), size, host);
    return 0;
}
