#include "TrayIconTest.h"

namespace traytest {
namespace {

TEST_F(TrayIconTest, ShowingHidingAndChangesSendTheRightRequests) {
  // An icon never shown has no window and has nothing to delete.
  TTrayIcon* icon = Make();
  icon->SetActive(false);
  EXPECT_EQ(icon->Handle(), 0u);
  EXPECT_EQ(System.NotifyArea.CallCount(), 0u);

  // Nothing to show: the old registration goes, no new one comes.
  icon->SetActive(true);
  EXPECT_NE(icon->Handle(), 0u);
  EXPECT_EQ(Requests(icon), (std::vector<std::string>{"Delete"}));
  EXPECT_FALSE(icon->Shown());

  // An image for an active icon registers it.
  System.NotifyArea.ClearCalls();
  icon->SetIcon(Load("d.ico"));
  EXPECT_EQ(Requests(icon), (std::vector<std::string>{"Delete", "Add"}));
  EXPECT_TRUE(icon->Shown());
  const platform::TNotifyIconData record = System.NotifyArea.Shown(icon->Id());
  EXPECT_EQ(record.Window, System.NotifyArea.kListeningWindow);
  EXPECT_EQ(record.Id, icon->Id());
  EXPECT_EQ(record.Flags, 7u);
  EXPECT_EQ(record.CallbackMessage, kCallback);
  EXPECT_EQ(FileShown(icon), "d.ico");

  // The same hint is no change; another one is.
  System.NotifyArea.ClearCalls();
  icon->SetHint("");
  EXPECT_TRUE(Requests(icon).empty());
  icon->SetHint("E: DVD writer");
  EXPECT_EQ(Requests(icon), (std::vector<std::string>{"Modify"}));
  EXPECT_EQ(System.NotifyArea.Shown(icon->Id()).Tip, "E: DVD writer");

  // Taking the image away hides the icon but it stays wanted.
  System.NotifyArea.ClearCalls();
  icon->SetIcon(TIcon());
  EXPECT_EQ(Requests(icon), (std::vector<std::string>{"Delete"}));
  EXPECT_FALSE(icon->Shown());
  EXPECT_TRUE(icon->Active());

  icon->SetIcon(Load("d.ico"));
  EXPECT_TRUE(icon->Shown());
  icon->SetActive(false);
  EXPECT_FALSE(System.NotifyArea.Registered(icon->Id()));
  EXPECT_FALSE(icon->Shown());
}

TEST_F(TrayIconTest, ARefusedRegistrationIsTriedAgainOnTheNextChange) {
  TTrayIcon* icon = Make();
  icon->SetIcon(Load("d.ico"));
  System.NotifyArea.RefuseAdd = true;
  icon->SetActive(true);
  EXPECT_FALSE(icon->Shown());

  System.NotifyArea.RefuseAdd = false;
  System.NotifyArea.ClearCalls();
  icon->SetHint("D: CD-ROM");
  EXPECT_EQ(Requests(icon), (std::vector<std::string>{"Delete", "Add"}));
  EXPECT_TRUE(icon->Shown());
}

TEST_F(TrayIconTest, TheTooltipIsTheHintBeforeABarCutTo63Characters) {
  TTrayIcon* icon = Make();
  icon->SetIcon(Load("d.ico"));
  icon->SetActive(true);
  const std::string longHint(100, 'x');
  icon->SetHint(longHint);
  EXPECT_EQ(System.NotifyArea.Shown(icon->Id()).Tip, std::string(63, 'x'));
  EXPECT_EQ(icon->Hint(), longHint);  // the hint itself keeps everything
  icon->SetHint("Drive E|The drive's long description");
  EXPECT_EQ(icon->Tip(), "Drive E");
  icon->SetHint(std::string(63, 'y') + "|z");
  EXPECT_EQ(icon->Tip(), std::string(63, 'y'));
}

TEST_F(TrayIconTest, AnimationStartsOnlyWithImagesAndShowsTheListNotTheBase) {
  TTrayIcon* icon = Make();
  EXPECT_EQ(icon->Interval(), 150);
  icon->SetAnimated(true);
  EXPECT_FALSE(icon->Animated());  // nothing to animate

  icon->SetIcon(Load("disc.ico"));
  icon->AddIcon(Load("d.ico"));
  icon->AddIcon(Load("dvd.ico"));
  icon->SetActive(true);
  EXPECT_EQ(FileShown(icon), "disc.ico");
  icon->SetAnimated(true);
  EXPECT_TRUE(icon->Animated());
  EXPECT_EQ(FileShown(icon), "d.ico");

  // Ending the animation shows the base image at once, steadily.
  icon->SetAnimated(false);
  EXPECT_EQ(FileShown(icon), "disc.ico");
  EXPECT_EQ(icon->AnimationPosition(), 0);

  // An emptied list ends the animation.
  icon->SetAnimated(true);
  icon->ClearIcons();
  EXPECT_FALSE(icon->Animated());
  EXPECT_EQ(FileShown(icon), "disc.ico");
}

TEST_F(TrayIconTest, AnimationStepsThroughTheListEveryIntervalAndWraps) {
  TTrayIcon* icon = MakeAnimated({"d.ico", "dvd.ico", "RW.ico"});
  icon->SetActive(true);
  EXPECT_EQ(FileShown(icon), "d.ico");

  Tick(7499);  // not yet
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(FileShown(icon), "d.ico");
  System.Clock.Advance(1);
  ASSERT_TRUE(Eventually([&] { return FileShown(icon) == "dvd.ico"; }));

  Step(icon);
  EXPECT_EQ(FileShown(icon), "RW.ico");
  Step(icon);
  EXPECT_EQ(FileShown(icon), "d.ico");
  EXPECT_EQ(icon->AnimationPosition(), 0);
  const auto requests = Requests(icon);
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "Add"), 1) << "a step re-registered";
}

TEST_F(TrayIconTest, AHiddenIconsAnimationWaitsAndResumesWhereItStopped) {
  TTrayIcon* icon = MakeAnimated({"d.ico", "dvd.ico", "RW.ico"});
  // Created hidden: time passes, nothing steps.
  System.Clock.Advance(30000);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(icon->AnimationPosition(), 0);

  icon->SetActive(true);
  Step(icon);
  EXPECT_EQ(FileShown(icon), "dvd.ico");

  icon->SetActive(false);
  const std::size_t calls = System.NotifyArea.CallCount();
  Tick(7500 * 3);
  ASSERT_TRUE(Eventually([&] { return System.Clock.Waiting() == 0; }));
  EXPECT_EQ(System.NotifyArea.CallCount(), calls);
  EXPECT_EQ(icon->AnimationPosition(), 1);

  System.NotifyArea.ClearCalls();
  icon->SetActive(true);
  EXPECT_EQ(Requests(icon), (std::vector<std::string>{"Delete", "Add"}));
  EXPECT_EQ(FileShown(icon), "dvd.ico");
  Step(icon);
  EXPECT_EQ(FileShown(icon), "RW.ico");
}

// The step's request is still under way when the program changes the icon:
// the notification area ends with the program's change, not the step's.
TEST_F(TrayIconTest, TheProgramsChangeOutlastsAStepUnderWay) {
  TTrayIcon* icon = MakeAnimated({"d.ico", "dvd.ico"});
  icon->SetActive(true);
  platform::TCriticalSection section;
  platform::TCondition changed;
  bool stepping = false, hinted = false;
  System.NotifyArea.RunDuringNextRequest([&] {
    platform::TLock lock(section);
    stepping = true;
    changed.NotifyAll();
    changed.WaitFor(lock, 200, [&] { return hinted; });
  });
  Tick(7500);
  {
    platform::TLock lock(section);
    changed.Wait(lock, [&] { return stepping; });
  }
  icon->SetHint("E: DVD writer");
  {
    platform::TLock lock(section);
    hinted = true;
    changed.NotifyAll();
  }
  EXPECT_EQ(System.NotifyArea.Shown(icon->Id()).Tip, "E: DVD writer");
  EXPECT_EQ(FileShown(icon), "dvd.ico");
}

// A slow shell: the animation steps during every request the program makes.
// The program's call still ends once its own change is out, and the step
// it leaves behind reaches the notification area from the animation thread.
TEST_F(TrayIconTest, TheProgramsCallEndsThoughTheAnimationStepsDuringEachRequest) {
  TTrayIcon* icon = MakeAnimated({"d.ico", "dvd.ico"});
  icon->SetActive(true);
  const auto program = std::this_thread::get_id();
  int programRequests = 0;
  System.NotifyArea.RunDuringEveryRequest([&] {
    // Bounded, so that a program that keeps sending fails instead of
    // running for ever.
    if (std::this_thread::get_id() != program || ++programRequests > 20) return;
    const int at = icon->AnimationPosition();
    Tick(7500);
    ASSERT_TRUE(Eventually([&] { return icon->AnimationPosition() != at; }));
  });
  icon->SetHint("E: DVD writer");
  System.NotifyArea.RunDuringEveryRequest(nullptr);
  EXPECT_EQ(programRequests, 1);
  EXPECT_EQ(System.NotifyArea.Shown(icon->Id()).Tip, "E: DVD writer");
  const std::string stepped = icon->AnimationPosition() == 1 ? "dvd.ico" : "d.ico";
  EXPECT_TRUE(Eventually([&] { return FileShown(icon) == stepped; })) << FileShown(icon);
}

TEST_F(TrayIconTest, TaskbarCreatedRegistersEveryActiveIconAgain) {
  TTrayIcon* shown = Make();
  TTrayIcon* hidden = platform::TComponent::Create<TTrayIcon>(&Owner, "Other");
  shown->SetIcon(Load("d.ico"));
  hidden->SetIcon(Load("dvd.ico"));
  shown->SetActive(true);
  hidden->SetActive(false);
  System.NotifyArea.ClearCalls();

  System.NotifyArea.BroadcastTaskbarCreated();
  EXPECT_EQ(Requests(shown), (std::vector<std::string>{"Delete", "Add"}));
  EXPECT_TRUE(Requests(hidden).empty());
  EXPECT_TRUE(shown->Shown());
  EXPECT_EQ(FileShown(shown), "d.ico");
}

TEST_F(TrayIconTest, DestroyingRemovesTheIconAndGivesEveryImageBack) {
  {
    platform::TComponent owner(nullptr);
    auto* icon = platform::TComponent::Create<TTrayIcon>(&owner, "Tray");
    for (const char* f : {"d.ico", "dvd.ico", "RW.ico"}) icon->AddIcon(Load(f));
    icon->SetIcon(Load("RW.ico"));
    icon->SetAnimated(true);
    icon->SetActive(true);
    ASSERT_TRUE(System.NotifyArea.Registered(icon->Id()));
    ASSERT_EQ(System.NotifyArea.ListenerCount(), 1u);
    // Ten thousand changes hold no more images than one.
    const std::size_t live = System.Icons.LiveCount();
    for (int i = 0; i < 10000; ++i) icon->SetIcon(Load(i % 2 ? "d.ico" : "disc.ico"));
    EXPECT_EQ(System.Icons.LiveCount(), live);
  }
  EXPECT_EQ(System.NotifyArea.ListenerCount(), 0u);
  const auto calls = System.NotifyArea.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().Message, platform::kNimDelete);
  EXPECT_EQ(System.Icons.LiveCount(), 0u);
  EXPECT_EQ(System.Icons.DestroyedUnknown(), 0);
}

// The animation thread and the user-interface thread at full speed on the
// same icon, with the steady clock: run under ThreadSanitizer, a race on the
// record or the list is reported; without it, this still catches a deadlock
// or an image that outlives its list.
TEST(TrayIconThreads, TheAnimationAndTheProgramNeverInterleaveOnOneIcon) {
  fakes::TFakeSystem system;
  platform::TApplication app;
  platform::TServices services = platform::Services();
  services.Clock = nullptr;  // real time
  platform::TScopedServices scope(services);
  for (const char* f : {"d.ico", "dvd.ico", "RW.ico"}) system.Icons.Readable.insert(f);
  {
    platform::TComponent owner(nullptr);
    auto* icon = platform::TComponent::Create<TTrayIcon>(&owner, "Tray");
    auto load = [](const char* f) {
      TIcon i;
      i.LoadFromFile(f);
      return i;
    };
    for (const char* f : {"d.ico", "dvd.ico", "RW.ico"}) icon->AddIcon(load(f));
    icon->SetAnimated(true);
    icon->SetInterval(1);
    icon->SetActive(true);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    int round = 0;
    while (std::chrono::steady_clock::now() < until) {
      ++round;
      icon->SetHint("Drive " + std::to_string(round));
      icon->SetIcon(load(round % 2 ? "dvd.ico" : "RW.ico"));
      if (round % 7 == 0) icon->SetActive(round % 14 != 0);
      if (round % 50 == 0) {
        icon->ClearIcons();
        icon->AddIcon(load("d.ico"));
        icon->AddIcon(load("RW.ico"));
        icon->SetAnimated(true);
      }
      if (round % 97 == 0) system.NotifyArea.BroadcastTaskbarCreated();
      (void)icon->ImageShown();
    }
    EXPECT_GT(round, 10);
  }
  EXPECT_EQ(system.Icons.LiveCount(), 0u);
  EXPECT_EQ(system.Icons.DestroyedUnknown(), 0);
}

}  // namespace
}  // namespace traytest
