// What every fuzz target shares: a check that stops the run with the failed
// condition, and the lines of an input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// libFuzzer keeps the input that made the process abort; NDEBUG never turns
// this off.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

namespace fuzz {

inline std::string Text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// The input cut at CR and LF, as the INI reader cuts it; at most `limit`
// lines, so that a long input stays quick.
inline std::vector<std::string> Lines(std::string_view text, std::size_t limit) {
  std::vector<std::string> lines;
  while (!text.empty() && lines.size() < limit) {
    const std::size_t end = text.find_first_of("\r\n");
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace fuzz
