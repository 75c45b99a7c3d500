// The framework's text-to-integer conversion, as the language files and the
// program's own settings use it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Leading blanks, an optional sign, then decimal digits, or hexadecimal
// digits after "$", "x", "X", "0x" or "0X". Raises EConvertError with
// "'<text>' is not a valid integer value" for anything else: trailing
// characters, no digits, or a value outside the signed 32-bit range.
// Hexadecimal digits may give any 32-bit pattern ("$FFFFFFFF" is -1).
std::int32_t StrToInt(const std::string& text);

// The same without the error: false when `text` is not a valid integer.
bool TryStrToInt(const std::string& text, std::int32_t& value);

}  // namespace platform
