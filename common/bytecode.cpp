#include "bytecode.h"

const KeyName KeyNameTable[KeyNameCount] = {
    {"alt", 0x12},       {"ctrl", 0x11},     {"shift", 0x10},     {"f1", 0x70},
    {"f2", 0x71},        {"f3", 0x72},       {"f4", 0x73},        {"f5", 0x74},
    {"f6", 0x75},        {"f7", 0x76},       {"f8", 0x77},        {"f9", 0x78},
    {"f10", 0x79},       {"f11", 0x7A},      {"f12", 0x7B},       {"enter", 0x0D},
    {"escape", 0x1B},    {"left", 0x25},     {"right", 0x27},     {"up", 0x26},
    {"down", 0x28},      {"home", 0x24},     {"end", 0x23},       {"backspace", 0x08},
    {"capslock", 0x14},  {"numlock", 0x90},  {"scrolllock", 0x91}, {"tab", 0x09},
    {"insert", 0x2D},    {"delete", 0x2E},   {"space", 0x20},     {"rwin", 0x5C},
    {"lwin", 0x5B},      {"apps", 0x5D},
};

const char* KeywordOf(uint8_t opcode)
{
    static const char* const keywords[] = {
        nullptr,  "sleep",  "shutdown", "logoff", "reboot", "poweroff", "deactivate", "close",
        "key",    "open",   "print",    "text",   "press",  "release",  "activate",
    };
    return opcode < sizeof(keywords) / sizeof(keywords[0]) ? keywords[opcode] : nullptr;
}

uint8_t VirtualKeyOf(KeyItem key)
{
    return key.escaped ? key.value : KeyNameTable[key.value].code;
}

// Reads one key item from [p, end); returns its size, or 0 when it does not fit.
static size_t ReadKeyItem(const uint8_t* p, const uint8_t* end, KeyItem& key)
{
    if (p >= end)
        return 0;
    if (*p == EscapeByte) {
        if (end - p < 2)
            return 0;
        key = {true, p[1]};
        return 2;
    }
    if (*p >= KeyNameCount)
        return 0;
    key = {false, *p};
    return 1;
}

bool ReadStatement(const uint8_t* code, size_t length, size_t pos, Statement& st)
{
    if (pos >= length)
        return false;
    const uint8_t* p = code + pos;
    const uint8_t* end = code + length;
    size_t left = length - pos;
    st.opcode = *p;
    st.size = 1;
    st.keyCount = 0;
    st.text = {};
    switch (st.opcode) {
    case OpSleep:
        if (left < 2)
            return false;
        st.seconds = p[1];
        st.size = 2;
        return true;
    case OpKey: {
        if (left < 2 || left - 2 < p[1])
            return false;
        const uint8_t* item = p + 2;
        const uint8_t* listEnd = item + p[1];
        while (item < listEnd) {
            size_t used = ReadKeyItem(item, listEnd, st.keys[st.keyCount]);
            if (used == 0)
                return false;
            item += used;
            st.keyCount++;
        }
        st.size = 2 + p[1];
        return true;
    }
    case OpOpen:
    case OpPrint:
    case OpText: {
        if (left < 2 || left - 2 < p[1])
            return false;
        std::string_view operand(reinterpret_cast<const char*>(p + 2), p[1]);
        st.text = operand.substr(0, operand.find('\0'));
        st.size = 2 + p[1];
        return true;
    }
    case OpPress:
    case OpRelease: {
        size_t used = ReadKeyItem(p + 1, end, st.keys[0]);
        if (used == 0)
            return false;
        st.keyCount = 1;
        st.size = 1 + used;
        return true;
    }
    default:  // one-byte statements, and unassigned opcodes that are skipped
        return true;
    }
}
