// An icon image that owns its handle: copying makes a new image, moving
// hands the handle on, and the image is destroyed with its owner.
#pragma once

#include <string>

#include "platform/Types.h"

namespace platform {

class TIcon {
 public:
  TIcon() = default;
  explicit TIcon(THandle adopted) : FHandle(adopted) {}
  ~TIcon() { Clear(); }
  TIcon(const TIcon& other);
  TIcon& operator=(const TIcon& other);
  TIcon(TIcon&& other) noexcept : FHandle(other.FHandle) { other.FHandle = 0; }
  TIcon& operator=(TIcon&& other) noexcept;

  bool Empty() const { return FHandle == 0; }
  THandle Handle() const { return FHandle; }
  // Replaces the image with the file's; a file that cannot be read leaves
  // the image empty.
  void LoadFromFile(const std::string& path);
  void Clear();

 private:
  THandle FHandle = 0;
};

}  // namespace platform
