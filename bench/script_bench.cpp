// Compile, regenerate and walk a script whose byte code nearly fills the buffer.
#include "common/bytecode.h"
#include "config/command.h"
#include "engine/interpreter.h"

#include <benchmark/benchmark.h>

namespace {

// 998 bytes of byte code from 85 lines of every kind.
std::vector<std::string> LongScript()
{
    const std::vector<std::string> block = {
        "open \"C:\\Program Files\\Mail\\mail.exe\" /compose",
        "sleep 2",
        "text Dear team, the report is attached.",
        "key ctrl shift escape",
        "press shift",
        "text hello",
        "release shift",
        "key ctrl alt delete",
        "print C:\\Reports\\weekly.txt",
        "; a comment the compiler drops",
        "key alt f4",
        "deactivate",
    };
    std::vector<std::string> script;
    for (int i = 0; i < 7; i++)
        script.insert(script.end(), block.begin(), block.end());
    script.push_back("text " + std::string(57, 'x'));
    return script;
}

class NullHost : public ScriptHost {
public:
    void KeyDown(uint8_t vk) override { benchmark::DoNotOptimize(vk); }
    void KeyUp(uint8_t vk) override { benchmark::DoNotOptimize(vk); }
    int16_t KeyScan(char ch) override { return UsEnglishLocale().KeyScan(ch); }
    void Sleep(uint32_t) override {}
    void ExitSystem(uint32_t) override {}
    void ShellOpen(const std::string&, const std::string&, bool) override {}
    void ShellPrint(const std::string&) override {}
    void SetRecognitionActive(bool) override {}
    void CloseEngine() override {}
};

void BM_Compile(benchmark::State& state)
{
    TCommand command(LongScript(), UsEnglishLocale());
    size_t length = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(length = command.Compile());
    state.counters["bytes"] = double(length);
}
BENCHMARK(BM_Compile);

void BM_Regenerate(benchmark::State& state)
{
    TCommand command(LongScript(), UsEnglishLocale());
    size_t length = command.Compile();
    for (auto _ : state) {
        TCommand loaded(command.Code, length, UsEnglishLocale());
        benchmark::DoNotOptimize(loaded.Lines.data());
    }
    state.counters["bytes"] = double(length);
}
BENCHMARK(BM_Regenerate);

void BM_Walk(benchmark::State& state)
{
    TCommand command(LongScript(), UsEnglishLocale());
    size_t length = command.Compile();
    for (auto _ : state) {
        Statement st;
        size_t count = 0;
        for (size_t pos = 0; ReadStatement(command.Code, length, pos, st); pos += st.size)
            count++;
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_Walk);

void BM_Run(benchmark::State& state)
{
    TCommand command(LongScript(), UsEnglishLocale());
    size_t length = command.Compile();
    NullHost host;
    for (auto _ : state)
        RunScript(command.Code, length, host);
}
BENCHMARK(BM_Run);

}  // namespace
