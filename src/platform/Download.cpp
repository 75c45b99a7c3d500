#include "platform/Download.h"

namespace platform {

bool TDownloadWatch::Continue(TDownloadStep step, std::uint64_t bytes, std::uint64_t total) {
  // The first request is not a redirect. Systems that report the redirects
  // themselves send a new request for each as well; counting both keeps
  // the limit for those that report only one of them.
  if (step == TDownloadStep::Request) ++FRequests;
  if (step == TDownloadStep::Redirect) ++FRedirects;
  const bool over = FRedirects > FLimits.MaxRedirects || FRequests > FLimits.MaxRedirects + 1 ||
                    bytes > FLimits.MaxBytes || total > FLimits.MaxBytes;
  if (over || Expired()) FStopped = true;
  return !FStopped;
}

void TDownloadWatch::Stop() {
  // Set before the abort is looked at: a download that sets its abort just
  // now finds itself stopped when it next asks.
  FStopped = true;
  // Run outside the lock: the abort may wait for the download's thread,
  // which takes the lock to clear it. The copy keeps what it needs alive.
  std::function<void()> abort;
  {
    TLock lock(FAbortLock);
    abort = FAbort;
  }
  if (abort) abort();
}

void TDownloadWatch::SetAbort(std::function<void()> abort) {
  TLock lock(FAbortLock);
  FAbort = std::move(abort);
}

}  // namespace platform
