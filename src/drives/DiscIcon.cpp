#include "drives/DiscIcon.h"

#include <algorithm>
#include <iterator>

#include "platform/Convert.h"
#include "platform/Services.h"
#include "platform/TextFields.h"

namespace drives {

namespace {

// Lower case as the system makes it for its own code page: a table of one
// code page would rewrite the trail bytes of a Japanese, Chinese or Korean
// name, and the file would not be found.
std::string Lower(const std::string& text) {
  platform::TSystemService* system = platform::Services().System;
  return system ? system->LowerCase(text) : text;
}

TIconKind KindOf(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return TIconKind::None;
  const std::string extension = fileName.substr(dot);
  if (extension == ".ico") return TIconKind::IconFile;
  if (extension == ".exe" || extension == ".dll") return TIconKind::Program;
  return TIconKind::None;
}

// The unsigned number of `width` bytes at `at`, least significant first
// (big-endian, as PNG stores it, when `bigEndian`); the caller has checked
// that the bytes are there.
std::uint32_t Number(std::string_view bytes, std::size_t at, int width, bool bigEndian = false) {
  std::uint32_t value = 0;
  for (int i = 0; i < width; ++i) {
    const std::size_t from = bigEndian ? at + i : at + width - 1 - i;
    value = value << 8 | static_cast<unsigned char>(bytes[from]);
  }
  return value;
}

constexpr std::uint32_t kMaxSide = 256;

// The image of an entry, `size` bytes at `offset`, both inside the file.
bool IsSoundImage(std::string_view file, std::size_t offset, std::size_t size) {
  const std::string_view image = file.substr(offset, size);
  if (image.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
    // The signature, then the header chunk: 13 bytes of data, the width and
    // the height first. Its pixels are compressed, so only these tell how
    // much memory the image takes.
    if (image.size() < 33 || image.substr(8, 8) != std::string_view("\0\0\0\rIHDR", 8))
      return false;
    const std::uint32_t width = Number(image, 16, 4, true);
    const std::uint32_t height = Number(image, 20, 4, true);
    return width >= 1 && width <= kMaxSide && height >= 1 && height <= kMaxSide;
  }
  if (image.size() < 40) return false;
  const std::uint32_t headerSize = Number(image, 0, 4);
  const auto width = static_cast<std::int32_t>(Number(image, 4, 4));
  const auto height = static_cast<std::int32_t>(Number(image, 8, 4));
  const std::uint32_t bits = Number(image, 14, 2);
  const std::uint32_t compression = Number(image, 16, 4);
  const std::uint32_t colours = Number(image, 32, 4);
  static constexpr std::uint32_t kDepths[] = {1, 4, 8, 16, 24, 32};
  // The height counts the colour rows and the mask rows: twice the image's.
  constexpr auto kMax = static_cast<std::int32_t>(kMaxSide);
  if (headerSize < 40 || width < 1 || width > kMax || height < 2 || height > 2 * kMax ||
      height % 2 != 0 || compression != 0 ||
      std::find(std::begin(kDepths), std::end(kDepths), bits) == std::end(kDepths) ||
      colours > 256 || (bits <= 8 && colours > (1u << bits)))
    return false;
  const std::uint64_t palette = colours != 0 ? colours : bits <= 8 ? 1u << bits : 0;
  // Rows are padded to four bytes. The colour rows lie inside the image;
  // some writers leave out the mask of a 32-bit image, and reading it then
  // stays inside the file all the same.
  const std::uint64_t side = static_cast<std::uint64_t>(width);
  const std::uint64_t rows = static_cast<std::uint64_t>(height) / 2;
  const std::uint64_t colourEnd = headerSize + palette * 4 + (side * bits + 31) / 32 * 4 * rows;
  const std::uint64_t maskEnd = colourEnd + (side + 31) / 32 * 4 * rows;
  return colourEnd <= image.size() && offset + maskEnd <= file.size();
}

}  // namespace

TIconEntry ParseIconEntry(const std::string& entry) {
  const std::string lower = Lower(entry);
  TIconEntry result;
  result.FileName = platform::GetNthField(',', lower, 1);
  // The index is read before the file name is looked at: ",x" is an error
  // too, where ",3" is only no icon.
  if (lower.size() > result.FileName.size())
    result.Index = platform::StrToInt(lower.substr(result.FileName.size() + 1));
  if (!result.FileName.empty()) result.Kind = KindOf(result.FileName);
  return result;
}

bool IsSoundIconFile(std::string_view file) {
  if (file.size() < 6 || Number(file, 0, 2) != 0 || Number(file, 2, 2) != 1) return false;
  const std::uint64_t count = Number(file, 4, 2);
  if (count == 0 || 6 + 16 * count > file.size()) return false;
  for (std::size_t entry = 6; entry < 6 + 16 * count; entry += 16) {
    const std::uint64_t size = Number(file, entry + 8, 4);
    const std::uint64_t offset = Number(file, entry + 12, 4);
    if (offset + size > file.size() ||
        !IsSoundImage(file, static_cast<std::size_t>(offset), static_cast<std::size_t>(size)))
      return false;
  }
  return true;
}

}  // namespace drives
