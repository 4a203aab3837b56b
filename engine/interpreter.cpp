#include "interpreter.h"

#include "../common/bytecode.h"

namespace {

constexpr uint8_t VkShift = 0x10;

void TypeText(std::string_view text, ScriptHost& host)
{
    for (char ch : text) {
        int16_t scan = host.KeyScan(ch);
        uint8_t vk = uint8_t(scan & 0xFF);
        bool shift = (scan & 0x100) != 0;  // Ctrl and Alt bits are not honoured
        if (shift)
            host.KeyDown(VkShift);
        host.KeyDown(vk);
        host.KeyUp(vk);
        if (shift)
            host.KeyUp(VkShift);
    }
}

// "open": a quoted program path keeps its quotes; what follows the closing
// quote and one separator character is the parameters. A single quote with
// no partner opens the whole text, as if there were no quotes.
void Open(std::string_view text, ScriptHost& host)
{
    size_t q1 = text.find('"');
    size_t q2 = q1 == std::string_view::npos ? q1 : text.find('"', q1 + 1);
    if (q2 == std::string_view::npos) {
        host.ShellOpen(std::string(text), std::string(), false);
        return;
    }
    std::string file(text.substr(0, q2 + 1));
    std::string parameters(q2 + 2 < text.size() ? text.substr(q2 + 2) : std::string_view());
    host.ShellOpen(file, parameters, true);
}

void Perform(const Statement& st, ScriptHost& host)
{
    switch (st.opcode) {
    case OpSleep: host.Sleep(st.seconds * 1000u); break;
    case OpShutdown: host.ExitSystem(1); break;
    case OpLogoff: host.ExitSystem(0); break;
    case OpReboot: host.ExitSystem(2); break;
    case OpPoweroff: host.ExitSystem(8); break;
    case OpDeactivate: host.SetRecognitionActive(false); break;
    case OpActivate: host.SetRecognitionActive(true); break;
    case OpClose: host.CloseEngine(); break;
    case OpKey:
        for (size_t i = 0; i < st.keyCount; i++)
            host.KeyDown(VirtualKeyOf(st.keys[i]));
        for (size_t i = st.keyCount; i-- > 0;)
            host.KeyUp(VirtualKeyOf(st.keys[i]));
        break;
    case OpOpen: Open(st.text, host); break;
    case OpPrint: host.ShellPrint(std::string(st.text)); break;
    case OpText: TypeText(st.text, host); break;
    case OpPress: host.KeyDown(VirtualKeyOf(st.keys[0])); break;
    case OpRelease: host.KeyUp(VirtualKeyOf(st.keys[0])); break;
    default: break;  // unassigned opcodes do nothing
    }
}

}  // namespace

void RunScript(const uint8_t* code, size_t length, ScriptHost& host)
{
    Statement st;
    for (size_t pos = 0; ReadStatement(code, length, pos, st); pos += st.size)
        Perform(st, host);
}
