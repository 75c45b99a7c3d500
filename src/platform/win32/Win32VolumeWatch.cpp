// The system sends its volume messages to top-level windows only: a
// message-only window hears none, and the main window is hidden in tray
// mode. So the watch listens on the program's listening window.
#include "platform/win32/Win32VolumeWatch.h"

#include <windows.h>
#include <dbt.h>

#include "platform/Types.h"
#include "platform/win32/ListeningWindow.h"

namespace platform::win32 {

namespace {

class TVolumeListener final : public TVolumeWatch {
 public:
  explicit TVolumeListener(TVolumeHandler handler) : FHandler(std::move(handler)) {
    FListener = StartListening(
        [this](std::uint32_t message, TWParam wParam, TLParam lParam, TLResult& result) {
          if (message != WM_DEVICECHANGE) return false;
          Heard(wParam, lParam);
          // Nothing is refused: a query to remove a device is granted.
          result = TRUE;
          return true;
        });
    if (!FListener) throw Exception("Error creating window");
  }
  ~TVolumeListener() override { StopListening(FListener); }

 private:
  void Heard(TWParam wParam, TLParam lParam) {
    if ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && lParam != 0) {
      // Anyone may broadcast this message: a record too short for a volume
      // is no volume.
      const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
      if (header->dbch_size >= sizeof(DEV_BROADCAST_VOLUME) &&
          header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
        const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam);
        TVolumeChange change;
        change.Arrived = wParam == DBT_DEVICEARRIVAL;
        change.Units = volume->dbcv_unitmask & 0x03FFFFFFu;
        change.Media = (volume->dbcv_flags & DBTF_MEDIA) != 0;
        if (FHandler) FHandler(change);
      }
    }
  }

  TVolumeHandler FHandler;
  unsigned FListener = 0;
};

}  // namespace

std::unique_ptr<TVolumeWatch> TWin32VolumeWatchService::Watch(TVolumeHandler handler) {
  return std::make_unique<TVolumeListener>(std::move(handler));
}

}  // namespace platform::win32
