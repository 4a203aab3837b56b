#include "command.h"

#include "../forms/strtoint.h"

#include <cstring>

namespace {

// The words of a line: the fields between single spaces. A line ends at a
// zero character, as it does in the memo.
std::vector<std::string_view> SplitWords(const std::string& line)
{
    std::string_view rest(line.c_str());
    std::vector<std::string_view> fields;
    for (size_t space; (space = rest.find(' ')) != std::string_view::npos;) {
        fields.push_back(rest.substr(0, space));
        rest.remove_prefix(space + 1);
    }
    fields.push_back(rest);
    return fields;
}

std::string_view Word(const std::vector<std::string_view>& words, size_t n)
{
    return n < words.size() ? words[n] : std::string_view();
}

// A statement under construction; large enough for the longest one.
struct Bytes {
    uint8_t data[2 + MaxKeyListSize];
    size_t size = 0;
    void Add(uint8_t b) { data[size++] = b; }
};

// The message names the line by its number and its text, cut short when long
// so that the error box stays readable.
[[noreturn]] void Refuse(size_t lineIndex, const std::string& line, const std::string& why)
{
    std::string shown(line.c_str());
    if (shown.size() > 60)
        shown = shown.substr(0, 57) + "...";
    throw ECompileError("Line " + std::to_string(lineIndex + 1) + " \"" + shown + "\": " + why);
}

}  // namespace

TCommand::TCommand(const std::vector<std::string>& lines, const Locale& locale)
    : Lines(lines), Code{}, locale_(locale)
{
}

TCommand::TCommand(const uint8_t* code, size_t length, const Locale& locale)
    : Code{}, locale_(locale)
{
    Regenerate(code, length);
}

// The opcode whose keyword word 0 is, or 0 when it is none.
uint8_t TCommand::OpcodeOf(std::string_view word) const
{
    for (uint8_t op = OpSleep; op <= OpActivate; op++)
        if (locale_.SameText(word, KeywordOf(op)))
            return op;
    return 0;
}

// A single character is a raw key of the current layout (Shift and the other
// modifier bits dropped); anything else must be a key name. Returns the bytes
// of the key item, or 0 when the word is neither.
size_t TCommand::KeyItemOf(std::string_view word, uint8_t* item) const
{
    if (word.size() == 1) {
        item[0] = EscapeByte;
        item[1] = uint8_t(locale_.KeyScan(word[0]) & 0xFF);
        return 2;
    }
    for (size_t i = 0; i < KeyNameCount; i++) {
        if (locale_.SameText(word, KeyNameTable[i].name)) {
            item[0] = uint8_t(i);
            return 1;
        }
    }
    return 0;
}

size_t TCommand::Compile()
{
    size_t length = 0;
    for (size_t i = 0; i < Lines.size(); i++) {
        std::vector<std::string_view> words = SplitWords(Lines[i]);
        uint8_t op = OpcodeOf(words[0]);
        if (op == 0)
            continue;  // comments, blank lines, misspelt keywords
        Bytes st;
        st.Add(op);
        switch (op) {
        case OpSleep:
            st.Add(uint8_t(StrToInt(std::string(Word(words, 1))) & 0xFF));
            break;
        case OpPress:
        case OpRelease: {
            std::string_view key = Word(words, 1);
            size_t used = KeyItemOf(key, st.data + st.size);
            if (used == 0)
                Refuse(i, Lines[i], key.empty()
                           ? "a key name or a single character must follow \"" +
                                 std::string(KeywordOf(op)) + "\"."
                           : "\"" + std::string(key) + "\" is not a key name.");
            st.size += used;
            break;
        }
        case OpKey: {
            st.Add(0);  // the count, known once the keys are in
            uint8_t item[2];
            for (size_t k = 1; !Word(words, k).empty(); k++) {
                size_t used = KeyItemOf(Word(words, k), item);
                if (st.size - 2 + used > MaxKeyListSize)
                    Refuse(i, Lines[i], "too many keys in one chord.");
                for (size_t b = 0; b < used; b++)
                    st.Add(item[b]);
            }
            st.data[1] = uint8_t(st.size - 2);
            break;
        }
        case OpOpen:
        case OpPrint:
        case OpText: {
            std::string text(Word(words, 1));
            for (size_t k = 2; !Word(words, k).empty(); k++)
                text.append(" ").append(Word(words, k));
            if (text.size() > MaxTextLength)
                Refuse(i, Lines[i], "the text is longer than " + std::to_string(MaxTextLength) +
                                        " characters.");
            st.Add(uint8_t(text.size() + 1));
            std::memcpy(st.data + st.size, text.data(), text.size());
            st.size += text.size();
            st.Add(0);
            break;
        }
        default:  // the keywords without operands
            break;
        }
        if (length + st.size > MaxCodeSize)
            Refuse(i, Lines[i], "the script is too long to be stored; split it into several "
                                "commands.");
        std::memcpy(Code + length, st.data, st.size);
        length += st.size;
    }
    return length;
}

// The character of a raw key without modifiers, or nothing for a key that has none.
std::string TCommand::KeyText(KeyItem key) const
{
    if (!key.escaped)
        return KeyNameTable[key.value].name;
    char ch = char(locale_.MapKey(key.value, MapVkToChar) & 0xFF);
    return ch ? std::string(1, ch) : std::string();
}

void TCommand::Regenerate(const uint8_t* code, size_t length)
{
    Statement st;
    for (size_t pos = 0; ReadStatement(code, length, pos, st); pos += st.size) {
        const char* keyword = KeywordOf(st.opcode);
        if (!keyword)
            continue;
        std::string line = keyword;
        switch (st.opcode) {
        case OpSleep: line += " " + std::to_string(st.seconds); break;
        case OpKey:
            for (size_t k = 0; k < st.keyCount; k++)
                line += " " + KeyText(st.keys[k]);
            break;
        case OpPress:
        case OpRelease: line += " " + KeyText(st.keys[0]); break;
        case OpOpen:
        case OpPrint:
        case OpText: line += " "; line += st.text; break;
        default: break;
        }
        Lines.push_back(line);
    }
}

std::string WordOf(const std::string& line, size_t n)
{
    return std::string(Word(SplitWords(line), n));
}
