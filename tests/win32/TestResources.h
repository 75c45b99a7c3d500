// What the Win32 tests share: icon files on disk, a measure of what the
// process holds, and a dialog service that records instead of asking.
#pragma once

#include <windows.h>
// The memory counters from kernel32, where every Windows since 7 and Wine
// keep them.
#ifndef PSAPI_VERSION
#define PSAPI_VERSION 2
#endif
#include <psapi.h>
// The dialog service's method shares its name with the system's macro.
#undef MessageBox

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace testres {

class TRecordingDialogs : public platform::TDialogService {
 public:
  std::vector<std::string> Texts;
  int MessageBox(platform::THandle, const std::string& text, const std::string&,
                 unsigned) override {
    Texts.push_back(text);
    return platform::kIdOk;
  }
};

inline constexpr std::uint32_t kInside = 0x2060C0;  // as COLORREF: red 0xC0, green 0x60, blue 0x20

// A square 32-bit icon of `size` pixels: a transparent frame a quarter of
// the size wide around an opaque square of kInside.
inline void WriteIconFile(const std::string& path, int size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  auto put16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  auto put32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  const std::uint32_t n = static_cast<std::uint32_t>(size);
  const std::uint32_t maskStride = (n + 31) / 32 * 4;
  const std::uint32_t pixels = n * n * 4, mask = maskStride * n;
  const std::uint32_t frame = n / 4;
  auto inside = [&](std::uint32_t x, std::uint32_t y) {
    return x >= frame && y >= frame && x < n - frame && y < n - frame;
  };
  // Directory with one entry.
  put16(0), put16(1), put16(1);
  out.put(static_cast<char>(n)), out.put(static_cast<char>(n)), out.put(0), out.put(0);
  put16(1), put16(32), put32(40 + pixels + mask), put32(6 + 16);
  // The bitmap: its height counts the colour rows and the mask rows.
  put32(40), put32(n), put32(2 * n), put16(1), put16(32), put32(0), put32(pixels + mask);
  put32(0), put32(0), put32(0), put32(0);
  // Pixels as BGRA, with the colour above; COLORREF has red in its low byte.
  const std::uint32_t bgra =
      0xFF000000u | ((kInside & 0xFF) << 16) | (kInside & 0xFF00) | ((kInside >> 16) & 0xFF);
  for (std::uint32_t y = 0; y < n; ++y)
    for (std::uint32_t x = 0; x < n; ++x) put32(inside(x, y) ? bgra : 0);
  // The mask: a set bit lets the background through.
  for (std::uint32_t y = 0; y < n; ++y)
    for (std::uint32_t byte = 0; byte < maskStride; ++byte) {
      unsigned char bits = 0;
      for (std::uint32_t bit = 0; bit < 8; ++bit) {
        const std::uint32_t x = byte * 8 + bit;
        if (x >= n || !inside(x, y)) bits |= static_cast<unsigned char>(0x80 >> bit);
      }
      out.put(static_cast<char>(bits));
    }
}

// A file name in the temporary folder.
inline std::string TempPath(const std::string& name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

// The program's folder, with its trailing backslash.
inline std::string ProgramDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path);
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

// What the process holds: the system's count of user and GDI objects where
// it keeps one; otherwise (Wine) its private memory, which a leaked icon
// grows by some kilobytes.
struct TResourceMeter {
  bool Counts = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) != 0;
  std::size_t Now() const {
    if (Counts)
      return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) +
             GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
  }
  // Far less than a leak of the icons made would cost.
  std::size_t Slack() const { return Counts ? 4 : 2 * 1024 * 1024; }
  const char* Unit() const { return Counts ? "objects" : "bytes"; }
};

}  // namespace testres
