// A command of the configuration window: its script lines, and the byte code
// that Compile makes of them when the store is saved.
#pragma once
#include "../common/bytecode.h"
#include "../common/locale.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A script the compiler refuses; the message names the line.
class ECompileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TCommand {
public:
    std::vector<std::string> Lines;
    uint8_t Code[MaxCodeSize];

    // From the lines of the Program memo.
    TCommand(const std::vector<std::string>& lines, const Locale& locale);
    // From stored byte code, regenerated into Lines.
    TCommand(const uint8_t* code, size_t length, const Locale& locale);

    // Fills Code and returns its length. Throws EConvertError for a "sleep"
    // operand that is not an integer, ECompileError for what cannot be stored.
    size_t Compile();
    // Appends one line per statement of the byte code to Lines.
    void Regenerate(const uint8_t* code, size_t length);

private:
    uint8_t OpcodeOf(std::string_view word) const;
    size_t KeyItemOf(std::string_view word, uint8_t* item) const;
    std::string KeyText(KeyItem key) const;

    const Locale& locale_;
};

// Word n of a line: fields cut at every single space, empty past the last.
std::string WordOf(const std::string& line, size_t n);
