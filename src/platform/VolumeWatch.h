// Drives and discs that come and go: what the system tells every top-level
// window in its volume messages (WM_DEVICECHANGE with DBT_DEVICEARRIVAL or
// DBT_DEVICEREMOVECOMPLETE and a DEV_BROADCAST_VOLUME).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

struct TVolumeChange {
  bool Arrived = false;     // DBT_DEVICEARRIVAL; otherwise DBT_DEVICEREMOVECOMPLETE
  std::uint32_t Units = 0;  // the drive letters, bit 0 is A
  bool Media = false;       // DBTF_MEDIA: a disc came or went, not a drive
};

using TVolumeHandler = std::function<void(const TVolumeChange& change)>;

// Hears the volume messages while it lives.
class TVolumeWatch {
 public:
  virtual ~TVolumeWatch() = default;
};

class TVolumeWatchService {
 public:
  virtual ~TVolumeWatchService() = default;
  // Runs `handler` for every volume message from now on, inside the
  // system's send: it must only take note. nullptr when nothing can listen.
  virtual std::unique_ptr<TVolumeWatch> Watch(TVolumeHandler handler) = 0;
};

}  // namespace platform
