#include "locale.h"

#include <cstring>

namespace {

// The keys of the US English layout that carry characters, unshifted and shifted.
struct CharKey {
    uint8_t vk;
    char plain;
    char shifted;
};

const CharKey UsKeys[] = {
    {0x30, '0', ')'}, {0x31, '1', '!'}, {0x32, '2', '@'}, {0x33, '3', '#'}, {0x34, '4', '$'},
    {0x35, '5', '%'}, {0x36, '6', '^'}, {0x37, '7', '&'}, {0x38, '8', '*'}, {0x39, '9', '('},
    {0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '_'}, {0xBE, '.', '>'},
    {0xBF, '/', '?'}, {0xC0, '`', '~'}, {0xDB, '[', '{'}, {0xDC, '\\', '|'}, {0xDD, ']', '}'},
    {0xDE, '\'', '"'}, {0x20, ' ', 0},   {0x09, '\t', 0},  {0x0D, '\r', 0},  {0x08, '\b', 0},
    {0x1B, '\x1b', 0},
};

class UsEnglish : public Locale {
public:
    int16_t KeyScan(char ch) const override
    {
        if (ch >= 'a' && ch <= 'z')
            return int16_t(ch - 'a' + 'A');
        if (ch >= 'A' && ch <= 'Z')
            return int16_t(0x100 | ch);
        for (const CharKey& k : UsKeys) {
            if (k.plain == ch)
                return k.vk;
            if (k.shifted && k.shifted == ch)
                return int16_t(0x100 | k.vk);
        }
        return -1;
    }

    uint32_t MapKey(uint32_t code, uint32_t mapType) const override
    {
        if (mapType != MapVkToChar)
            return 0;
        if (code >= 'A' && code <= 'Z')
            return code;
        if (code >= 0x60 && code <= 0x69)  // numeric keypad digits
            return '0' + (code - 0x60);
        for (const CharKey& k : UsKeys)
            if (k.vk == code)
                return static_cast<unsigned char>(k.plain);
        return 0;
    }

    bool SameText(std::string_view a, std::string_view b) const override
    {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); i++)
            if (Fold(a[i]) != Fold(b[i]))
                return false;
        return true;
    }

    std::u16string AnsiToWide(std::string_view text) const override
    {
        std::u16string out;
        for (char c : text)
            out += char16_t(static_cast<unsigned char>(c));
        return out;
    }

    std::string WideToAnsi(std::u16string_view text) const override
    {
        std::string out;
        for (char16_t c : text)
            out += c < 256 ? char(c) : '?';
        return out;
    }

private:
    static char Fold(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
};

}  // namespace

const Locale& UsEnglishLocale()
{
    static const UsEnglish locale;
    return locale;
}
