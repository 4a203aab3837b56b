// The class library's string-to-integer conversion: optional sign, decimal
// digits, or hexadecimal after "$", "x" or "0x".
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws EConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);
bool TryStrToInt(const std::string& text, int32_t& value);
