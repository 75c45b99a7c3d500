// Fetching a file from the network, for the update check.
#pragma once

#include <string>

namespace platform {

inline constexpr long kSOk = 0;  // S_OK

class TDownloadService {
 public:
  virtual ~TDownloadService() = default;
  // URLDownloadToFileA without a caller object or progress callback: returns
  // once the transfer has ended; kSOk on success, the failure code otherwise.
  virtual long DownloadToFile(const std::string& url, const std::string& file) = 0;
  // GetTempPathA: the user's folder for temporary files, with its trailing
  // backslash; empty when the system cannot tell.
  virtual std::string TempFolder() = 0;
};

}  // namespace platform
