#include "platform/win32/Win32Services.h"

#include "platform/Services.h"
#include "platform/win32/Win32AppHost.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Instance.h"
#include "platform/win32/Win32Media.h"
#include "platform/win32/Win32NotifyArea.h"
#include "platform/win32/Win32PeerFactory.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"

namespace platform::win32 {

struct TWin32Services::TImpl {
  TWin32Drives Drives;
  TWin32Media Media;
  TWin32Instance Instance;
  TWin32Dialogs Dialogs;
  TWin32AppHost AppHost;
  TWin32PeerFactory Peers;
  TWin32Registry Registry;
  TWin32Shell Shell;
  TWin32NotifyArea NotifyArea;
  TWin32IconService Icons;
  TScopedServices Scope{TServices{&Drives, &Media, &Instance, &Dialogs, &AppHost, &Peers, &Registry,
                                  &Shell, &NotifyArea, &Icons}};
};

TWin32Services::TWin32Services() : FImpl(std::make_unique<TImpl>()) {}
TWin32Services::~TWin32Services() = default;

}  // namespace platform::win32
