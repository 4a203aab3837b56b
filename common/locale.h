// What the portable core asks of the user's keyboard layout and code page.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class Locale {
public:
    virtual ~Locale() = default;
    // VkKeyScanA: low byte the virtual-key code, 0x100 Shift, 0x200 Ctrl, 0x400 Alt; -1 none.
    virtual int16_t KeyScan(char ch) const = 0;
    // MapVirtualKeyA.
    virtual uint32_t MapKey(uint32_t code, uint32_t mapType) const = 0;
    // Equal without regard to case, by the rules of the user's default locale.
    virtual bool SameText(std::string_view a, std::string_view b) const = 0;
    // The system's ANSI code page to and from UTF-16.
    virtual std::u16string AnsiToWide(std::string_view text) const = 0;
    virtual std::string WideToAnsi(std::u16string_view text) const = 0;
};

constexpr uint32_t MapVkToChar = 2;

// A US English keyboard and the Latin-1 code page: what the tests assume.
const Locale& UsEnglishLocale();
// The running Windows system's own (Windows builds only).
const Locale& SystemLocale();
