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

using platform::kWmLButtonDblClk, platform::kWmLButtonDown, platform::kWmLButtonUp;
using platform::kWmMButtonDblClk, platform::kWmMButtonDown, platform::kWmMButtonUp;
using platform::kWmMouseMove, platform::kWmRButtonDblClk, platform::kWmRButtonDown,
    platform::kWmRButtonUp;
using platform::TIcon;
using platform::TMouseButton;
using platform::TTrayIcon;

namespace {

constexpr std::uint32_t kCallback = TTrayIcon::kCallbackMessage;

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
    return System.NotifyArea.Requests(icon->Handle());
  }
  std::string FileShown(const TTrayIcon* icon) {
    return System.Icons.FileOf(System.NotifyArea.Shown(icon->Handle()).Icon);
  }
  void Mouse(const TTrayIcon* icon, std::uint32_t message) {
    System.NotifyArea.Send(icon->Handle(), kCallback, 0, message);
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
  const platform::TNotifyIconData record = System.NotifyArea.Shown(icon->Handle());
  EXPECT_EQ(record.Id, 0u);
  EXPECT_EQ(record.Flags, 7u);
  EXPECT_EQ(record.CallbackMessage, kCallback);
  EXPECT_EQ(FileShown(icon), "d.ico");

  // The same hint is no change; another one is.
  System.NotifyArea.ClearCalls();
  icon->SetHint("");
  EXPECT_TRUE(Requests(icon).empty());
  icon->SetHint("E: DVD writer");
  EXPECT_EQ(Requests(icon), (std::vector<std::string>{"Modify"}));
  EXPECT_EQ(System.NotifyArea.Shown(icon->Handle()).Tip, "E: DVD writer");

  // Taking the image away hides the icon but it stays wanted.
  System.NotifyArea.ClearCalls();
  icon->SetIcon(TIcon());
  EXPECT_EQ(Requests(icon), (std::vector<std::string>{"Delete"}));
  EXPECT_FALSE(icon->Shown());
  EXPECT_TRUE(icon->Active());

  icon->SetIcon(Load("d.ico"));
  EXPECT_TRUE(icon->Shown());
  icon->SetActive(false);
  EXPECT_FALSE(System.NotifyArea.Registered(icon->Handle()));
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
  EXPECT_EQ(System.NotifyArea.Shown(icon->Handle()).Tip, std::string(63, 'x'));
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
  EXPECT_EQ(System.NotifyArea.Shown(icon->Handle()).Tip, "E: DVD writer");
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
  EXPECT_EQ(System.NotifyArea.Shown(icon->Handle()).Tip, "E: DVD writer");
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

class TrayMouseTest : public TrayIconTest {
 protected:
  TTrayIcon* Icon = nullptr;
  platform::TPopupMenu* Menu = nullptr;
  std::vector<std::string> Events;

  void SetUp() override {
    Icon = Make();
    Icon->SetIcon(Load("d.ico"));
    Icon->SetActive(true);
    auto name = [](TMouseButton b) {
      return b == TMouseButton::Left ? "L" : b == TMouseButton::Right ? "R" : "M";
    };
    Icon->OnMouseDown = [=, this](platform::TObject*, TMouseButton b, unsigned shift, int x,
                                  int y) {
      Events.push_back(std::string("Down ") + name(b) +
                       (shift & platform::ssDouble ? " double" : "") + " " + std::to_string(x) +
                       "," + std::to_string(y));
    };
    Icon->OnMouseUp = [=, this](platform::TObject*, TMouseButton b, unsigned, int, int) {
      Events.push_back(std::string("Up ") + name(b));
    };
    Icon->OnClick = [=, this](platform::TObject*, TMouseButton b, unsigned, int, int) {
      Events.push_back(std::string("Click ") + name(b));
    };
    Icon->OnMouseMove = [this](platform::TObject*, unsigned, int, int) {
      Events.push_back("Move");
    };
    Icon->OnDblClick = [this](platform::TObject*) { Events.push_back("DblClick"); };
    Menu = platform::TComponent::Create<platform::TPopupMenu>(&Owner, "Menu");
    Menu->Add("Item1", "Item");
    Menu->OnPopup = [this](platform::TObject*) { Events.push_back("Menu"); };
  }
};

TEST_F(TrayMouseTest, EveryMouseMessageFiresItsEvents) {
  System.NotifyArea.CursorX = 640;
  System.NotifyArea.CursorY = 470;
  for (std::uint32_t m : {kWmMouseMove, kWmLButtonDown, kWmLButtonUp, kWmMButtonDown, kWmMButtonUp,
                          kWmMButtonDblClk, kWmRButtonDblClk})
    Mouse(Icon, m);
  EXPECT_EQ(Events,
            (std::vector<std::string>{"Move", "Down L 640,470", "Click L", "Up L", "Down M 640,470",
                                      "Up M", "Down M double 640,470", "Down R double 640,470"}));
  // A release without a press on the icon is no click.
  Events.clear();
  Mouse(Icon, kWmLButtonUp);
  Mouse(Icon, kWmRButtonUp);
  EXPECT_EQ(Events, (std::vector<std::string>{"Up L", "Up R"}));
}

TEST_F(TrayMouseTest, ARightClickOpensTheMenuInsteadOfClicking) {
  Icon->PopupMenu = Menu;
  Mouse(Icon, kWmRButtonDown);
  Mouse(Icon, kWmRButtonUp);
  EXPECT_EQ(Events, (std::vector<std::string>{"Down R 100,200", "Menu", "Up R"}));
  EXPECT_EQ(Menu->PopupComponent, Icon);
  const std::string window = std::to_string(Icon->Handle());
  EXPECT_EQ(System.NotifyArea.Steps(),
            (std::vector<std::string>{"CancelMouseCapture", "Foreground " + window,
                                      "ProcessMessages", "Foreground " + window}));

  // No menu: an inactive icon, a menu that does not open by itself, or none.
  for (int variant = 0; variant < 3; ++variant) {
    SCOPED_TRACE(variant);
    Events.clear();
    Icon->PopupMenu = variant == 2 ? nullptr : Menu;
    Menu->AutoPopup = variant != 1;
    Icon->SetActive(variant != 0);
    Mouse(Icon, kWmRButtonDown);
    Mouse(Icon, kWmRButtonUp);
    EXPECT_EQ(Events, (std::vector<std::string>{"Down R 100,200", "Click R", "Up R"}));
  }
}

// The user right-clicks the icon while the program restores its image: the
// shell hands the click to the icon inside that request. The menu opens,
// and what the handlers changed (a tooltip, a new taskbar) follows the
// request to the notification area.
TEST_F(TrayMouseTest, AClickHandledInsideTheIconsOwnRequestOpensTheMenu) {
  Icon->PopupMenu = Menu;
  Menu->OnPopup = [this](platform::TObject*) {
    Events.push_back("Menu");
    Icon->SetHint("D: busy");
  };
  System.NotifyArea.ClearCalls();
  System.NotifyArea.RunDuringNextRequest([this] {
    Mouse(Icon, kWmRButtonDown);
    Mouse(Icon, kWmRButtonUp);
    System.NotifyArea.BroadcastTaskbarCreated();
  });
  {
    support::TWatchdog watchdog("a click inside the icon's request");
    Icon->SetIcon(Load("dvd.ico"));
  }
  EXPECT_EQ(Events, (std::vector<std::string>{"Down R 100,200", "Menu", "Up R"}));
  EXPECT_EQ(Requests(Icon), (std::vector<std::string>{"Modify", "Delete", "Add"}));
  EXPECT_EQ(FileShown(Icon), "dvd.ico");
  EXPECT_EQ(System.NotifyArea.Shown(Icon->Handle()).Tip, "D: busy");
}

TEST_F(TrayMouseTest, ADoubleClickChoosesTheDefaultItemOrFiresDblClick) {
  Icon->PopupMenu = Menu;
  Mouse(Icon, kWmLButtonDblClk);
  EXPECT_EQ(Events, (std::vector<std::string>{"DblClick", "Down L double 100,200"}));

  Events.clear();
  Menu->Items()[0]->Default = true;
  Menu->Items()[0]->OnClick = [this](platform::TObject*) { Events.push_back("Item"); };
  Mouse(Icon, kWmLButtonDblClk);
  EXPECT_EQ(Events, (std::vector<std::string>{"Item", "Down L double 100,200"}));

  // A disabled default item counts as none.
  Events.clear();
  Menu->Items()[0]->Enabled = false;
  Mouse(Icon, kWmLButtonDblClk);
  EXPECT_EQ(Events, (std::vector<std::string>{"DblClick", "Down L double 100,200"}));
}

TEST_F(TrayMouseTest, AMenuCommandMayEndTheIconWhoseMenuItWas) {
  // Clicked as usual, or inside the icon's own registration, which reaches
  // the shell after the icon's deletion.
  for (bool insideRequest : {false, true}) {
    SCOPED_TRACE(insideRequest ? "inside a request" : "a click");
    // An icon of its own, not owned, so that the command can end it.
    auto* icon = platform::TComponent::Create<TTrayIcon>(nullptr, "Alone");
    icon->SetIcon(Load("d.ico"));
    icon->SetActive(!insideRequest);
    icon->PopupMenu = Menu;
    bool upAfterwards = false;
    icon->OnMouseUp = [&](platform::TObject*, TMouseButton, unsigned, int, int) {
      upAfterwards = true;
    };
    // The window comes with the first show, which may be the request's.
    platform::THandle window = icon->Handle();
    Menu->OnPopup = [&](platform::TObject*) { delete icon; };
    auto click = [&] {
      window = icon->Handle();
      System.NotifyArea.Send(window, kCallback, 0, kWmRButtonDown);
      System.NotifyArea.Send(window, kCallback, 0, kWmRButtonUp);
    };
    if (insideRequest) {
      // Registering is a deletion, then the addition the click comes in.
      System.NotifyArea.RunDuringNextRequest(
          [&] { System.NotifyArea.RunDuringNextRequest(click); });
      icon->SetActive(true);
    } else {
      click();
    }
    EXPECT_FALSE(upAfterwards);
    EXPECT_FALSE(System.NotifyArea.Registered(window));
  }
}

TEST_F(TrayMouseTest, ADisabledIconIgnoresTheMouseAndAFailingHandlerIsReported) {
  Icon->Enabled = false;
  for (std::uint32_t m = kWmMouseMove; m <= kWmMButtonDblClk; ++m) Mouse(Icon, m);
  EXPECT_TRUE(Events.empty());

  Icon->Enabled = true;
  Icon->OnMouseDown = [](platform::TObject*, TMouseButton, unsigned, int, int) {
    throw platform::EConvertError("'x' is not a valid integer value");
  };
  Mouse(Icon, kWmLButtonDown);
  Mouse(Icon, kWmLButtonUp);
  ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
  EXPECT_EQ(System.Dialogs.Asked[0].Text, "'x' is not a valid integer value");
  EXPECT_EQ(Events, (std::vector<std::string>{"Click L", "Up L"}));
}

TEST_F(TrayIconTest, DestroyingRemovesTheIconAndGivesEveryImageBack) {
  {
    platform::TComponent owner(nullptr);
    auto* icon = platform::TComponent::Create<TTrayIcon>(&owner, "Tray");
    for (const char* f : {"d.ico", "dvd.ico", "RW.ico"}) icon->AddIcon(Load(f));
    icon->SetIcon(Load("RW.ico"));
    icon->SetAnimated(true);
    icon->SetActive(true);
    ASSERT_TRUE(System.NotifyArea.Registered(icon->Handle()));
    ASSERT_EQ(System.NotifyArea.WindowCount(), 1u);
    // Ten thousand changes hold no more images than one.
    const std::size_t live = System.Icons.LiveCount();
    for (int i = 0; i < 10000; ++i) icon->SetIcon(Load(i % 2 ? "d.ico" : "disc.ico"));
    EXPECT_EQ(System.Icons.LiveCount(), live);
  }
  EXPECT_EQ(System.NotifyArea.WindowCount(), 0u);
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
