// The icon a disc names in its Autorun.inf ("icon=setup.exe,1"): which file,
// which icon in it, and how the file gives its image. Pure work on text and
// bytes (only the lower case is the system's), so it can be fed anything a
// disc may hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace drives {

enum class TIconKind {
  None,      // no file name, or an extension that gives no icon
  IconFile,  // ".ico": the file is the image; the index is not used
  Program,   // ".exe" or ".dll": the icon at the index inside the file
};

struct TIconEntry {
  std::string FileName;  // lower case, relative to the disc's root
  std::int32_t Index = 0;
  TIconKind Kind = TIconKind::None;
};

// Lower-cases the entry the system's way for its code page, takes the file name before the first
// "," and the icon index after it (0 without a ","), and tells the kind by the file name's
// extension (from its last "."). An index that is no integer raises EConvertError "'<text>' is not
// a valid integer value", also when the file name is empty.
TIconEntry ParseIconEntry(const std::string& entry);

// True for an icon file that the system's loader can take without trusting
// its sizes: the directory fits the file, and every image lies inside the
// file and is at most 256 pixels a side. A bitmap image (an uncompressed
// BITMAPINFOHEADER) counts its colour and its mask rows in its height, has
// at most 256 palette colours (at most 2^bits up to 8 bits per pixel) and
// holds all its colour rows, with its mask inside the file at least; a PNG
// image has a header chunk with such sizes.
bool IsSoundIconFile(std::string_view file);

}  // namespace drives
