#include "locale.h"

#include <windows.h>

namespace {

class SystemRules : public Locale {
public:
    int16_t KeyScan(char ch) const override { return ::VkKeyScanA(ch); }

    uint32_t MapKey(uint32_t code, uint32_t mapType) const override
    {
        return ::MapVirtualKeyA(code, mapType);
    }

    bool SameText(std::string_view a, std::string_view b) const override
    {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()),
                              b.data(), int(b.size())) == CSTR_EQUAL;
    }

    std::u16string AnsiToWide(std::string_view text) const override
    {
        if (text.empty())
            return {};
        int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
        std::u16string out(n, u'\0');
        MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()),
                            reinterpret_cast<wchar_t*>(&out[0]), n);
        return out;
    }

    std::string WideToAnsi(std::u16string_view text) const override
    {
        if (text.empty())
            return {};
        const wchar_t* w = reinterpret_cast<const wchar_t*>(text.data());
        int n = WideCharToMultiByte(CP_ACP, 0, w, int(text.size()), nullptr, 0, nullptr, nullptr);
        std::string out(n, '\0');
        WideCharToMultiByte(CP_ACP, 0, w, int(text.size()), &out[0], n, nullptr, nullptr);
        return out;
    }
};

}  // namespace

const Locale& SystemLocale()
{
    static const SystemRules locale;
    return locale;
}
