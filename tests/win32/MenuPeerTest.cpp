// The pop-up menu's peer against real menus under Wine: the native menu must
// show the model's items, and a choice made with the keyboard must come back
// as the item's index.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestResources.h"
#include "platform/Controls.h"
#include "platform/win32/Win32MenuPeer.h"
#include "platform/win32/Win32PeerFactory.h"

using namespace platform;
using namespace platform::win32;

namespace {

constexpr const char* kOwnerClass = "MorvelMenuTestOwner";
constexpr UINT_PTR kGiveUp = 1;

// What the owner window does while a menu is open: it types the keys once
// the menu waits for input, and notes each item the menu highlights.
struct TMenuScript {
  std::vector<WPARAM> Keys;
  std::vector<UINT> Highlighted;
  bool Typed = false;
};
TMenuScript* Script = nullptr;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ENTERIDLE:
      if (wParam == MSGF_MENU && Script && !Script->Typed) {
        Script->Typed = true;
        HWND menu = lParam ? reinterpret_cast<HWND>(lParam) : FindWindowA("#32768", nullptr);
        for (WPARAM key : Script->Keys) PostMessageA(menu, WM_KEYDOWN, key, 0);
      }
      return 0;
    case WM_MENUSELECT:
      // A closing menu reports 0xFFFF and no menu.
      if (Script && lParam && HIWORD(wParam) != 0xFFFF)
        Script->Highlighted.push_back(LOWORD(wParam));
      return 0;
    case WM_TIMER:
      // A script the menu ignored must not hang the tests.
      if (wParam == kGiveUp) {
        KillTimer(window, kGiveUp);
        EndMenu();
      }
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void Drain() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

class Win32MenuPeer : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = OwnerProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = kOwnerClass;
      return RegisterClassExA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    Owner = CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(Owner, nullptr);
    testres::WriteIconFile(testres::ProgramDir() + kPicture, 16);

    TMenuItem* open = Menu.Add("Open1", "&Open");
    open->Default = true;
    open->Picture = kPicture;  // beside the program, not in the current folder
    Menu.AddSeparator("N1");
    TMenuItem* eject = Menu.Add("Eject1", "&Eject");
    eject->Enabled = false;
    eject->Picture = "morvel-no-such-picture.ico";
    Menu.Add("Close1", "&Close")->Picture = kPicture;
    Menu.Add("Exit1", "E&xit")->Default = true;  // a second default: a menu has one only
  }
  void TearDown() override {
    Script = nullptr;
    if (Owner) DestroyWindow(Owner);
    DeleteFileA((testres::ProgramDir() + kPicture).c_str());
    Drain();
  }

  std::unique_ptr<TWin32MenuPeer> MakePeer() {
    std::unique_ptr<TPeer> peer = Factory.Create(Menu);
    auto* menuPeer = dynamic_cast<TWin32MenuPeer*>(peer.get());
    if (!menuPeer) return nullptr;
    (void)peer.release();
    return std::unique_ptr<TWin32MenuPeer>(menuPeer);
  }

  // Opens the menu, types `keys` into it and returns what Track answered.
  int Choose(std::vector<WPARAM> keys) {
    auto peer = MakePeer();
    if (!peer) return -2;
    Typing = TMenuScript();
    Typing.Keys = std::move(keys);
    Script = &Typing;
    SetTimer(Owner, kGiveUp, 5000, nullptr);
    const int chosen = peer->Track(40, 40, reinterpret_cast<THandle>(Owner));
    KillTimer(Owner, kGiveUp);
    Script = nullptr;
    Drain();  // keys the closed menu left unread
    return chosen;
  }

  static HMENU M(const TWin32MenuPeer& peer) { return reinterpret_cast<HMENU>(peer.Handle()); }

  static HBITMAP PictureOf(HMENU menu, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return nullptr;
    return info.hbmpUnchecked;
  }

  static constexpr const char* kPicture = "morvel-menu-test.ico";
  TWin32PeerFactory Factory;
  TPopupMenu Menu{nullptr};
  HWND Owner = nullptr;
  TMenuScript Typing;
};

TEST_F(Win32MenuPeer, TheNativeMenuShowsTheModelsItems) {
  auto peer = MakePeer();
  ASSERT_NE(peer, nullptr);
  HMENU menu = M(*peer);
  ASSERT_TRUE(IsMenu(menu));
  ASSERT_EQ(GetMenuItemCount(menu), 5);

  const char* captions[] = {"&Open", "", "&Eject", "&Close", "E&xit"};
  for (UINT i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    char text[32] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, captions[i]);
    const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
    EXPECT_EQ((state & MF_SEPARATOR) != 0, i == 1);
    if (i != 1) {
      EXPECT_EQ((state & MF_GRAYED) != 0, i == 2);
    }
  }
  // Command ids start at 1: TrackPopupMenu answers 0 for "nothing".
  EXPECT_EQ(GetMenuItemID(menu, 0), 1u);
  EXPECT_EQ(GetMenuItemID(menu, 4), 5u);
  EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 0u);  // the first marked one is shown bold

  // Pictures only where the file is there.
  EXPECT_NE(PictureOf(menu, 0), nullptr);
  EXPECT_EQ(PictureOf(menu, 2), nullptr);
  EXPECT_NE(PictureOf(menu, 3), nullptr);
  EXPECT_EQ(PictureOf(menu, 4), nullptr);
  EXPECT_NE(PictureOf(menu, 0), PictureOf(menu, 3));
}

TEST_F(Win32MenuPeer, APictureIsTheIconOnTheMenuColourAtCheckMarkSize) {
  auto peer = MakePeer();
  ASSERT_NE(peer, nullptr);
  HBITMAP picture = PictureOf(M(*peer), 0);
  ASSERT_NE(picture, nullptr);
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(picture, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, GetSystemMetrics(SM_CXMENUCHECK));
  EXPECT_EQ(info.bmHeight, GetSystemMetrics(SM_CYMENUCHECK));

  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, picture);
  const COLORREF corner = GetPixel(dc, 0, 0);
  const COLORREF middle = GetPixel(dc, info.bmWidth / 2, info.bmHeight / 2);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_EQ(corner, GetSysColor(COLOR_MENU));  // where the icon lets the background through
  EXPECT_EQ(middle, testres::kInside);
}

TEST_F(Win32MenuPeer, TrackAnswersTheIndexOfTheChosenItem) {
  EXPECT_EQ(Choose({VK_DOWN, VK_RETURN}), 0);
  EXPECT_EQ(Choose({VK_UP, VK_RETURN}), 4);
  EXPECT_EQ(Choose({VK_UP, VK_UP, VK_RETURN}), 3);
  EXPECT_EQ(Choose({VK_ESCAPE}), -1);

  // The keyboard passes over the separator; the grayed item it reaches
  // cannot be chosen.
  EXPECT_EQ(Choose({VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}), -1);
  EXPECT_EQ(Typing.Highlighted, (std::vector<UINT>{1, 3}));
}

TEST_F(Win32MenuPeer, ThePeerLetsGoOfItsMenuAndPictures) {
  auto peer = MakePeer();
  ASSERT_NE(peer, nullptr);
  HMENU menu = M(*peer);
  HBITMAP first = PictureOf(menu, 0), second = PictureOf(menu, 3);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  peer.reset();
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_EQ(GetObjectType(first), 0u);
  EXPECT_EQ(GetObjectType(second), 0u);

  // The icons the pictures are drawn from go as well: a menu opens again and
  // again in a long session.
  testres::TResourceMeter meter;
  for (int i = 0; i < 20; ++i) MakePeer();
  const std::size_t before = meter.Now();
  for (int i = 0; i < 500; ++i) ASSERT_NE(MakePeer(), nullptr);
  EXPECT_LE(meter.Now(), before + meter.Slack()) << meter.Unit();
}

}  // namespace
