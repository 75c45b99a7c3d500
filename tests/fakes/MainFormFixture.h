// The main form started against the fakes, as the program starts it: an
// application without a window of its own, the stored settings, then the
// form.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/Main.h"
#include "app/Settings.h"
#include "fakes/Fakes.h"

namespace fakes {

class TMainFormFixture : public ::testing::Test {
 protected:
  TFakeSystem System;
  // Optional, so that a test can end the application and see what it leaves.
  std::optional<platform::TApplication> App{std::in_place};

  TMainFormFixture();

  // One of the program's settings, straight into the fake registry: seeding
  // through the program's own routines would record their calls.
  void Store(const std::string& name, const std::string& value);
  // The stored text, or "<absent>".
  std::string Stored(const std::string& name) const;

  // Stores the three settings and creates the form. The defaults are those
  // of a program that has run before, in window mode.
  app::TForm1* StartMainForm(const std::string& language = "English",
                             const std::string& tray = app::kNo,
                             const std::string& icons = app::kNo);
  // Creates the form with whatever the registry holds.
  app::TForm1* CreateMainForm();
};

}  // namespace fakes
