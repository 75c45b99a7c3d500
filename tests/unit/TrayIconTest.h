// The fixture of the tray icon tests (TrayIconTest.cpp, TrayIconMouseTest.cpp):
// icons against the fake notification area, clock and icon files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "fakes/Fakes.h"
#include "fakes/Poll.h"
#include "platform/Controls.h"
#include "platform/Messages.h"
#include "platform/TrayIcon.h"
#include "support/Watchdog.h"

namespace traytest {

using platform::kWmLButtonDblClk, platform::kWmLButtonDown, platform::kWmLButtonUp;
using platform::kWmMButtonDblClk, platform::kWmMButtonDown, platform::kWmMButtonUp;
using platform::kWmMouseMove, platform::kWmRButtonDblClk, platform::kWmRButtonDown,
    platform::kWmRButtonUp;
using platform::TIcon;
using platform::TMouseButton;
using platform::TTrayIcon;

inline constexpr std::uint32_t kCallback = TTrayIcon::kCallbackMessage;

using fakes::Eventually;

class TrayIconTest : public ::testing::Test {
 protected:
  fakes::TFakeSystem System;
  platform::TApplication App;
  platform::TComponent Owner{nullptr};

  TrayIconTest() {
    for (const char* f : {"d.ico", "dvd.ico", "acd.ico", "RW.ico", "disc.ico"})
      System.Icons.Readable.insert(f);
  }

  TIcon Load(const char* file) {
    TIcon icon;
    icon.LoadFromFile(file);
    return icon;
  }

  TTrayIcon* Make() { return platform::TComponent::Create<TTrayIcon>(&Owner, "Tray"); }

  // An icon the way the drives get theirs: letter, then the kinds.
  TTrayIcon* MakeAnimated(std::initializer_list<const char*> files) {
    TTrayIcon* icon = Make();
    icon->SetActive(false);
    for (const char* f : files) icon->AddIcon(Load(f));
    icon->SetAnimated(true);
    icon->SetInterval(7500);
    return icon;
  }

  std::vector<std::string> Requests(const TTrayIcon* icon) {
    return System.NotifyArea.Requests(icon->Id());
  }
  std::string FileShown(const TTrayIcon* icon) {
    return System.Icons.FileOf(System.NotifyArea.Shown(icon->Id()).Icon);
  }
  void Mouse(const TTrayIcon* icon, std::uint32_t message) {
    System.NotifyArea.Send(icon->Handle(), kCallback, icon->Id(), message);
  }

  // Moves the clock once the animation thread waits with its deadline set.
  void Tick(unsigned ms) {
    ASSERT_TRUE(Eventually([&] { return System.Clock.Waiting() == 1; }));
    System.Clock.Advance(ms);
  }
  // One full interval, and the step it brings.
  void Step(TTrayIcon* icon) {
    const std::size_t before = System.NotifyArea.CallCount();
    Tick(icon->Interval());
    ASSERT_TRUE(Eventually([&] { return System.NotifyArea.CallCount() > before; }));
  }
};

}  // namespace traytest
