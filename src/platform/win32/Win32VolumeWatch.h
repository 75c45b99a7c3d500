// The volume messages, heard on the program's listening window.
#pragma once

#include "platform/VolumeWatch.h"

namespace platform::win32 {

class TWin32VolumeWatchService final : public TVolumeWatchService {
 public:
  std::unique_ptr<TVolumeWatch> Watch(TVolumeHandler handler) override;
};

}  // namespace platform::win32
