#include <gtest/gtest.h>

#include "app/SingleInstance.h"
#include "fakes/Fakes.h"
#include "platform/Messages.h"

using app::TSingleInstance;

namespace {

constexpr platform::THandle kMainWindow = 0;  // forms have no window natively
constexpr platform::THandle kOtherAppWindow = 0xBEEF;

class SingleInstanceTest : public ::testing::Test {
 protected:
  fakes::TFakeSystem System;
  platform::TApplication App;
  std::uint32_t Msg() const { return System.Instance.MessageId; }
  platform::TLResult Send(platform::TWParam w, platform::TLParam l) {
    return System.Instance.Hook(fakes::TFakeAppHost::kAppWindow, Msg(), w, l);
  }
};

TEST_F(SingleInstanceTest, FirstCopyCreatesTheMutexAndBroadcastsNothing) {
  {
    TSingleInstance guard;
    EXPECT_FALSE(guard.SecondCopy());
    EXPECT_TRUE(App.ShowMainForm);
    EXPECT_TRUE(System.Instance.Broadcasts.empty());
    ASSERT_EQ(System.Instance.OpenHandles.size(), 1u);
    EXPECT_EQ(System.Instance.Calls[0], "RegisterMessage DDG.Tandrel_er_bare_god");
    EXPECT_EQ(System.Instance.Calls[2], "OpenMutex 2031617 0 DDG.Tandrel_er_bare_god");
    EXPECT_EQ(System.Instance.Calls[3], "CreateMutex DDG.Tandrel_er_bare_god");
  }
  // Tear-down: the old procedure is back and no handle stays open.
  EXPECT_TRUE(System.Instance.OpenHandles.empty());
  EXPECT_EQ(System.Instance.Hook, nullptr);
}

TEST_F(SingleInstanceTest, SecondCopyQueriesTheRunningCopyByPostedBroadcast) {
  System.Instance.MutexExists = true;
  TSingleInstance guard;
  EXPECT_TRUE(guard.SecondCopy());
  EXPECT_FALSE(App.ShowMainForm);
  ASSERT_EQ(System.Instance.Broadcasts.size(), 1u);
  EXPECT_EQ(System.Instance.Calls.back(), "Broadcast 18 8");
  const fakes::TPosted& query = System.Instance.Broadcasts[0];
  EXPECT_EQ(query.Message, Msg());
  EXPECT_EQ(query.WParam, 1u);
  EXPECT_EQ(query.LParam, static_cast<platform::TLParam>(fakes::TFakeAppHost::kAppWindow));
  // The opened handle is the one closed at the end; no mutex is created.
  EXPECT_EQ(std::count(System.Instance.Calls.begin(), System.Instance.Calls.end(),
                       "CreateMutex DDG.Tandrel_er_bare_god"),
            0);
}

TEST_F(SingleInstanceTest, RunningCopyAnswersAQueryWithItsMainWindow) {
  TSingleInstance guard;
  EXPECT_EQ(Send(app::kQuery, kOtherAppWindow), 0);
  ASSERT_EQ(System.Instance.Posts.size(), 1u);
  const fakes::TPosted& answer = System.Instance.Posts[0];
  EXPECT_EQ(answer.Window, kOtherAppWindow);
  EXPECT_EQ(answer.Message, Msg());
  EXPECT_EQ(answer.WParam, 2u);
  EXPECT_EQ(answer.LParam, static_cast<platform::TLParam>(kMainWindow));
  EXPECT_EQ(System.AppHost.Restores, 0);  // not minimised: nothing to restore
  EXPECT_FALSE(App.Terminated());
  EXPECT_TRUE(System.Instance.PassedOn.empty());
}

TEST_F(SingleInstanceTest, AQueryRestoresAMinimisedRunningCopyFirst) {
  TSingleInstance guard;
  auto* form = App.CreateForm<platform::TForm>("Form1");
  form->UserMinimized(true);
  System.Instance.Iconic = true;
  Send(app::kQuery, kOtherAppWindow);
  EXPECT_EQ(System.AppHost.Restores, 1);
  EXPECT_EQ(form->WindowState(), platform::TWindowState::Normal);
  EXPECT_EQ(System.Instance.Posts.size(), 1u);
}

TEST_F(SingleInstanceTest, TheAnswerBringsTheOtherWindowForwardAndEndsThisCopy) {
  System.Instance.MutexExists = true;
  TSingleInstance guard;
  EXPECT_EQ(Send(app::kAnswer, 0x777), 0);
  EXPECT_EQ(System.Instance.Foreground, std::vector<platform::THandle>{0x777});
  EXPECT_TRUE(App.Terminated());
  EXPECT_EQ(System.AppHost.QuitRequests, 1);
}

TEST_F(SingleInstanceTest, OtherStepsAndOtherMessagesChangeNothing) {
  TSingleInstance guard;
  for (platform::TWParam w : {0u, 3u, 0xFFFFu}) EXPECT_EQ(Send(w, kOtherAppWindow), 0);
  EXPECT_TRUE(System.Instance.Posts.empty());
  EXPECT_TRUE(System.Instance.Foreground.empty());
  EXPECT_FALSE(App.Terminated());
  EXPECT_TRUE(System.Instance.PassedOn.empty());  // the instance message never goes on

  // Any other message is the old procedure's, with its result.
  EXPECT_EQ(System.Instance.Hook(fakes::TFakeAppHost::kAppWindow, platform::kWmClose, 5, 6), 42);
  ASSERT_EQ(System.Instance.PassedOn.size(), 1u);
  EXPECT_EQ(System.Instance.PassedOn[0].Message, platform::kWmClose);
  EXPECT_EQ(System.Instance.PassedOn[0].WParam, 5u);
}

TEST_F(SingleInstanceTest, AFailedReplacementIsNotUndoneAtTheEnd) {
  System.Instance.ReplaceFails = true;
  { TSingleInstance guard; }
  for (const std::string& call : System.Instance.Calls)
    EXPECT_EQ(call.rfind("RestoreWindowProc", 0), std::string::npos);
  EXPECT_TRUE(System.Instance.OpenHandles.empty());
}

}  // namespace
