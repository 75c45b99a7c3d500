// The icon a disc names in its Autorun.inf ("icon=setup.exe,1"): which file,
// which icon in it, and how the file gives its image. Pure work on text and
// bytes (only the lower case is the system's), so it can be fed anything a
// disc may hold.
#pragma once

#include <cstdint>
#include <string>

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

}  // namespace drives
