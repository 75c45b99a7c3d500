#include "platform/win32/Win32Services.h"

#include "platform/Services.h"
#include "platform/win32/Win32Accessibility.h"
#include "platform/win32/Win32AppHost.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Download.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32HotKeys.h"
#include "platform/win32/Win32Instance.h"
#include "platform/win32/Win32Media.h"
#include "platform/win32/Win32NotifyArea.h"
#include "platform/win32/Win32PeerFactory.h"
#include "platform/win32/Win32ProgramInfo.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Scsi.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32VolumeWatch.h"

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
  TWin32Scsi Scsi;
  TWin32System System;
  TWin32Download Download;
  TWin32ProgramInfo ProgramInfo;
  TWin32VolumeWatchService Volumes;
  TWin32HotKeyService HotKeys;
  TWin32Accessibility Accessibility;
  TScopedServices Scope{TServices{.Drives = &Drives,
                                  .Media = &Media,
                                  .Instance = &Instance,
                                  .Dialogs = &Dialogs,
                                  .AppHost = &AppHost,
                                  .Peers = &Peers,
                                  .Registry = &Registry,
                                  .Shell = &Shell,
                                  .NotifyArea = &NotifyArea,
                                  .Icons = &Icons,
                                  .Scsi = &Scsi,
                                  .System = &System,
                                  .Download = &Download,
                                  .ProgramInfo = &ProgramInfo,
                                  .Volumes = &Volumes,
                                  .HotKeys = &HotKeys,
                                  .Accessibility = &Accessibility}};
};

TWin32Services::TWin32Services() {
  // Before any service can load a library.
  RemoveCurrentDirectoryFromLibrarySearch();
  FImpl = std::make_unique<TImpl>();
}
TWin32Services::~TWin32Services() = default;

}  // namespace platform::win32
