#include "platform/Icon.h"

#include "platform/NotifyArea.h"
#include "platform/Services.h"

namespace platform {

namespace {
TIconService* Icons() { return Services().Icons; }
}  // namespace

TIcon::TIcon(const TIcon& other) {
  if (other.FHandle && Icons()) FHandle = Icons()->CopyIcon(other.FHandle);
}

TIcon& TIcon::operator=(const TIcon& other) {
  if (this != &other) {
    TIcon copy(other);
    *this = std::move(copy);
  }
  return *this;
}

TIcon& TIcon::operator=(TIcon&& other) noexcept {
  if (this != &other) {
    Clear();
    FHandle = other.FHandle;
    other.FHandle = 0;
  }
  return *this;
}

void TIcon::LoadFromFile(const std::string& path) {
  TIcon loaded(Icons() ? Icons()->LoadIconFile(path) : 0);
  *this = std::move(loaded);
}

void TIcon::Clear() {
  if (FHandle && Icons()) Icons()->DestroyIcon(FHandle);
  FHandle = 0;
}

}  // namespace platform
