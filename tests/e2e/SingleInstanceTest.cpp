// Scenario "single instance": a second start while a copy runs hands over to
// the running copy and ends by itself.
#include <gtest/gtest.h>

#include "MorvelProcess.h"

namespace e2e {
namespace {

TEST(SingleInstance, SecondCopyEndsByItselfAndTheFirstStaysAlone) {
  TMorvelProcess First;
  ASSERT_TRUE(First.Start()) << First.LastError();
  HWND Main = First.WaitForMainWindow();
  ASSERT_NE(Main, nullptr) << First.Describe();

  TMorvelProcess Second;
  ASSERT_TRUE(Second.Start()) << Second.LastError();
  ASSERT_TRUE(Second.WaitForExit(20s)) << "the second copy still runs: " << Second.Describe();
  EXPECT_EQ(Second.ExitCode(), 0u);

  EXPECT_TRUE(First.Running());
  const auto Titled = TopWindowsTitled(KMainTitle);
  ASSERT_EQ(Titled.size(), 1u);
  EXPECT_EQ(Titled.front(), Main);
  EXPECT_TRUE(IsWindowVisible(Main));
  EXPECT_EQ(FindDialogOf(First.Id()), nullptr) << First.Describe();
}

}  // namespace
}  // namespace e2e
