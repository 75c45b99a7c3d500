// Fetching a file from the network, for the update check.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Threads.h"

namespace platform {

inline constexpr long kSOk = 0;                                 // S_OK
inline constexpr long kEAbort = static_cast<long>(0x80004004);  // E_ABORT

// How far one download may go before it is given up.
struct TDownloadLimits {
  std::uint32_t DeadlineMs;
  std::uint64_t MaxBytes;
  unsigned MaxRedirects;
};

// What a download tells of its progress.
enum class TDownloadStep { Other, Request, Redirect };

// The watch over one download. The download asks it at every step whether
// to go on; the thread that waits for the download may stop it at any time.
class TDownloadWatch {
 public:
  explicit TDownloadWatch(const TDownloadLimits& limits) : FLimits(limits), FStart(TickCount()) {}
  TDownloadWatch(const TDownloadWatch&) = delete;
  TDownloadWatch& operator=(const TDownloadWatch&) = delete;

  // Asked by the download only, with the bytes it has and the total it
  // expects (0: unknown). False, from then on, once it was stopped, its
  // deadline has passed, or it went over its size or its redirects.
  bool Continue(TDownloadStep step, std::uint64_t bytes = 0, std::uint64_t total = 0);
  bool Expired() const { return TickCount() - FStart >= FLimits.DeadlineMs; }
  // Stops the download from any thread: Continue answers false and the
  // download's abort, when it has one, runs at once.
  void Stop();
  bool Stopped() const { return FStopped; }
  // The download's way to be stopped while it waits for the network, set
  // while it runs and cleared (an empty function) before it ends. A Stop
  // under way may still run it once after that, so it owns what it uses.
  void SetAbort(std::function<void()> abort);

 private:
  const TDownloadLimits FLimits;
  const std::uint32_t FStart;
  std::atomic<bool> FStopped{false};
  unsigned FRequests = 0, FRedirects = 0;
  TCriticalSection FAbortLock;
  std::function<void()> FAbort;
};

class TDownloadService {
 public:
  virtual ~TDownloadService() = default;
  // URLDownloadToFileA with a progress callback that asks `watch` at each
  // step and aborts when it says no or is stopped. Returns when the transfer
  // has ended: kSOk on success, the failure code otherwise.
  virtual long DownloadToFile(const std::string& url, const std::string& file,
                              TDownloadWatch& watch) = 0;
  // DeleteFileA: the downloaded file, once it has been read.
  virtual void RemoveFile(const std::string& file) = 0;
  // GetTempPathA: the user's folder for temporary files, with its trailing
  // backslash; empty when the system cannot tell.
  virtual std::string TempFolder() = 0;
};

}  // namespace platform
