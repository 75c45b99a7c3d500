#pragma once

#include "platform/Download.h"
#include "platform/win32/Handles.h"

namespace platform::win32 {

// URLDownloadToFileA comes from urlmon, which the systems before Internet
// Explorer 3 lack: it is looked up when first needed, and its absence is a
// failed download.
class TWin32Download : public TDownloadService {
 public:
  long DownloadToFile(const std::string& url, const std::string& file,
                      TDownloadWatch& watch) override;
  void RemoveFile(const std::string& file) override;
  std::string TempFolder() override;

 private:
  TModuleHandle FUrlmon;
};

}  // namespace platform::win32
