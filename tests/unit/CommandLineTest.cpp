#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

using app::TCommandKind;

TEST(CommandLine, ParsesSwitchesAndDrives) {
  const struct {
    const char* Arguments;
    TCommandKind Kind;
    char Drive;
  } kCases[] = {
      {"", TCommandKind::None, 0},
      {"  \t ", TCommandKind::None, 0},
      {"/open", TCommandKind::Open, 0},
      {"-CLOSE e:", TCommandKind::Close, 'E'},
      {"/Run \"D:\\\"", TCommandKind::Run, 'D'},
      {"  -explore   f:  ", TCommandKind::Explore, 'F'},
      {"/show", TCommandKind::Show, 0},
      {"-Exit", TCommandKind::Exit, 0},
      {"/?", TCommandKind::Usage, 0},
      {"/opened", TCommandKind::Wrong, 0},
      {"open", TCommandKind::Wrong, 0},
      {"/", TCommandKind::Wrong, 0},
      {"/open D", TCommandKind::Wrong, 0},
      {"/open DD:", TCommandKind::Wrong, 0},
      {"/open 1:", TCommandKind::Wrong, 0},
      {"/open D:x", TCommandKind::Wrong, 0},
      {"/open D: E:", TCommandKind::Wrong, 0},
      {"/show D:", TCommandKind::Wrong, 0},
      {"/? D:", TCommandKind::Wrong, 0},
  };
  for (const auto& c : kCases) {
    const app::TCommandLine parsed = app::ParseCommandLine(c.Arguments);
    EXPECT_EQ(parsed.Kind, c.Kind) << c.Arguments;
    EXPECT_EQ(parsed.Drive, c.Drive) << c.Arguments;
    // What a running copy is sent comes back the same; nothing else is taken.
    app::TCommandLine received;
    const bool sendable = c.Kind != TCommandKind::None && c.Kind != TCommandKind::Usage &&
                          c.Kind != TCommandKind::Wrong;
    EXPECT_EQ(app::DecodeCommand(app::EncodeCommand(parsed), received), sendable) << c.Arguments;
    if (sendable) {
      EXPECT_EQ(received.Drive, c.Drive) << c.Arguments;
    }
  }
}

}  // namespace
