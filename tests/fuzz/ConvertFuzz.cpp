// The integer conversion on any text: it accepts exactly what a reference
// reading accepts, with the same value; StrToInt raises exactly where
// TryStrToInt refuses; every value reads back from its decimal and its
// hexadecimal writing.
#include <charconv>
#include <cinttypes>
#include <cstring>
#include <optional>

#include "Fuzz.h"
#include "platform/Convert.h"
#include "platform/Types.h"

namespace {

// Blanks, a sign, a hexadecimal prefix, then digits that std::from_chars
// must take whole.
std::optional<std::int32_t> Reference(const std::string& text) {
  std::string_view s = text;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"})
    if (s.substr(0, prefix.size()) == prefix) {
      base = 16;
      s.remove_prefix(prefix.size());
      break;
    }
  // from_chars takes neither a sign nor a prefix of its own.
  if (s.empty() || s.front() == '-' || s.front() == '+' ||
      (base == 16 && (s.front() == 'x' || s.front() == 'X')))
    return std::nullopt;
  std::uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  if (magnitude > limit) return std::nullopt;
  const auto bits = static_cast<std::uint32_t>(magnitude);
  return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzz::Text(data, size);
  std::int32_t value = 0;
  const bool accepted = platform::TryStrToInt(text, value);
  const std::optional<std::int32_t> expected = Reference(text);
  FUZZ_CHECK(accepted == expected.has_value());
  if (accepted) FUZZ_CHECK(value == *expected);
  try {
    FUZZ_CHECK(platform::StrToInt(text) == value && accepted);
  } catch (const platform::EConvertError& e) {
    // Compared as the C text a message box shows, which ends at a NUL.
    const std::string message = "'" + text + "' is not a valid integer value";
    FUZZ_CHECK(!accepted && std::strcmp(e.what(), message.c_str()) == 0);
  }

  // The first four bytes as a number of their own.
  std::int32_t number = 0;
  std::memcpy(&number, data, std::min(size, sizeof number));
  char hex[16];
  std::snprintf(hex, sizeof hex, "$%" PRIX32, static_cast<std::uint32_t>(number));
  FUZZ_CHECK(platform::StrToInt(std::to_string(number)) == number);
  FUZZ_CHECK(platform::StrToInt(hex) == number);
  return 0;
}
