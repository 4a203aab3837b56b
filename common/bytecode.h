// The compiled form of a script: a flat run of statements, each an opcode
// byte followed by its operands. One writer (the compiler) and two readers
// (the interpreter and the regenerator) share this file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

enum Opcode : uint8_t {
    OpSleep = 1,
    OpShutdown = 2,
    OpLogoff = 3,
    OpReboot = 4,
    OpPoweroff = 5,
    OpDeactivate = 6,
    OpClose = 7,
    OpKey = 8,
    OpOpen = 9,
    OpPrint = 10,
    OpText = 11,
    OpPress = 12,
    OpRelease = 13,
    OpActivate = 14,
};

constexpr size_t MaxCodeSize = 1000;   // the compiler's buffer, and so the longest byte code
constexpr uint8_t EscapeByte = 255;    // a key item starting with it carries a raw virtual-key code
constexpr size_t MaxTextLength = 254;  // text bytes of an operand; its length byte counts one more
constexpr size_t MaxKeyListSize = 255; // bytes of a key list after its count byte

struct KeyName {
    const char* name;  // lower case, as stored and regenerated
    uint8_t code;      // Windows virtual-key code
};

constexpr size_t KeyNameCount = 34;
extern const KeyName KeyNameTable[KeyNameCount];

// The keyword of each opcode, or nullptr for an unassigned one.
const char* KeywordOf(uint8_t opcode);

// One key of a "key", "press" or "release" statement.
struct KeyItem {
    bool escaped;   // true: value is a virtual-key code; false: a KeyNameTable index
    uint8_t value;
};

uint8_t VirtualKeyOf(KeyItem key);

// One decoded statement. Pointers point into the byte code it was read from.
struct Statement {
    uint8_t opcode;         // the byte at the statement's start; unassigned ones do nothing
    size_t size;            // bytes from this statement to the next
    uint8_t seconds;        // "sleep"
    KeyItem keys[MaxKeyListSize];  // "key" (keyCount items), "press"/"release" (one item)
    size_t keyCount;
    std::string_view text;  // "open", "print", "text": up to the zero byte, never past the operand
};

// Reads the statement at pos. Returns false at the end of the byte code and at
// the first statement that does not fit (cut off by the end, a key index past
// the table, an escape without its code byte): every reader stops there, so
// none ever looks outside the byte code or the table.
bool ReadStatement(const uint8_t* code, size_t length, size_t pos, Statement& st);
