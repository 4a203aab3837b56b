#include <cwctype>

#include "speech/utterance.h"

std::wstring PhraseKey(const wchar_t* text, size_t length)
{
    std::wstring key;
    bool space = false;
    for (size_t i = 0; i < length && text[i]; i++) {
        if (iswspace(text[i])) {
            space = !key.empty();
            continue;
        }
        if (space)
            key += L' ';
        space = false;
        key += text[i];
    }
    if (!key.empty())
        CharLowerBuffW(&key[0], DWORD(key.size()));
    return key;
}
