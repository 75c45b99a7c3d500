// The tray icon's mouse messages: its events, its menu and its default item.
#include "TrayIconTest.h"

namespace traytest {
namespace {

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

// Enter and the menu key on a focused icon do what the left and the right
// button do; the requests a shell adds after a click change nothing.
TEST_F(TrayMouseTest, TheKeyboardWorksTheIconAsTheMouseDoes) {
  using platform::kWmContextMenu, platform::kNinKeySelect, platform::kNinSelect;
  Icon->PopupMenu = Menu;
  const std::vector<std::string> left{"Down L 100,200", "Click L", "Up L"},
      menu{"Down R 100,200", "Menu", "Up R"};
  const struct {
    std::vector<std::uint32_t> messages;
    std::vector<std::string> events;
  } cases[] = {
      {{kNinKeySelect}, left},
      {{kWmContextMenu}, menu},
      {{kWmRButtonDown, kWmRButtonUp, kWmContextMenu}, menu},
      {{kWmLButtonDown, kWmLButtonUp, kNinSelect}, left},
  };
  for (const auto& c : cases) {
    Events.clear();
    for (std::uint32_t m : c.messages) Mouse(Icon, m);
    EXPECT_EQ(Events, c.events) << c.messages.back();
  }
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
  EXPECT_EQ(System.NotifyArea.Shown(Icon->Id()).Tip, "D: busy");
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
    // The icon's number comes with the first show, which may be the request's.
    unsigned id = icon->Id();
    Menu->OnPopup = [&](platform::TObject*) { delete icon; };
    auto click = [&] {
      id = icon->Id();
      System.NotifyArea.Send(System.NotifyArea.kListeningWindow, kCallback, id, kWmRButtonDown);
      System.NotifyArea.Send(System.NotifyArea.kListeningWindow, kCallback, id, kWmRButtonUp);
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
    EXPECT_FALSE(System.NotifyArea.Registered(id));
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

}  // namespace
}  // namespace traytest
