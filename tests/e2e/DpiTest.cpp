// Scenario "dpi": the program at 96 DPI, then again once the scenario script
// has set the prefix's LogPixels to 144 (MORVEL_E2E_DPI tells the pass). The
// first pass writes down where every window of the main window and of the
// about box lies, and how large the tray menu is, into MORVEL_E2E_LAYOUT;
// the second finds each of them one and a half times as large and as far
// in, every control still inside its parent and no two controls meeting
// that were apart: nothing cut, nothing overlapping; at 288 each title bar is on the work area.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "MorvelProcess.h"

namespace e2e {
namespace {

// A window's place and its client area's, in its top window's client
// coordinates, and the index of its parent's box (the top window's own is 0).
struct TBox {
  std::string Class;
  RECT Outer{}, Inner{};
  int Parent = -1;
};
using TLayout = std::vector<TBox>;

RECT InTop(HWND Wnd, HWND Top, bool Client) {
  RECT R{};
  if (Client) {
    GetClientRect(Wnd, &R);
    MapWindowPoints(Wnd, Top, reinterpret_cast<POINT*>(&R), 2);
  } else {
    GetWindowRect(Wnd, &R);
    MapWindowPoints(HWND_DESKTOP, Top, reinterpret_cast<POINT*>(&R), 2);
  }
  return R;
}

TLayout LayoutOf(HWND Top) {
  TLayout Boxes{{ClassOf(Top), InTop(Top, Top, true), InTop(Top, Top, true), -1}};
  std::vector<HWND> Windows{Top};
  for (HWND Child : DescendantsOf(Top)) {
    const auto Parent = std::find(Windows.begin(), Windows.end(), GetParent(Child));
    Boxes.push_back({ClassOf(Child), InTop(Child, Top, false), InTop(Child, Top, true),
                     static_cast<int>(Parent - Windows.begin())});
    Windows.push_back(Child);
  }
  return Boxes;
}

bool Inside(const RECT& A, const RECT& B) {
  return A.left >= B.left && A.top >= B.top && A.right <= B.right && A.bottom <= B.bottom;
}
bool Meet(const RECT& A, const RECT& B) {
  RECT Overlap;
  return IntersectRect(&Overlap, &A, &B) != FALSE;
}

// The layouts by name, as "name class left top right bottom left top right
// bottom parent" lines.
std::map<std::string, TLayout> ReadLayouts(const std::string& Path) {
  std::map<std::string, TLayout> Layouts;
  std::ifstream In(Path);
  for (std::string Line; std::getline(In, Line);) {
    std::istringstream Fields(Line);
    std::string Name;
    TBox B;
    Fields >> Name >> B.Class >> B.Outer.left >> B.Outer.top >> B.Outer.right >> B.Outer.bottom >>
        B.Inner.left >> B.Inner.top >> B.Inner.right >> B.Inner.bottom >> B.Parent;
    if (Fields) Layouts[Name].push_back(B);
  }
  return Layouts;
}

void WriteLayout(const std::string& Path, const std::string& Name, const TLayout& Boxes) {
  std::ofstream Out(Path, std::ios::app);
  for (const TBox& B : Boxes)
    Out << Name << ' ' << B.Class << ' ' << B.Outer.left << ' ' << B.Outer.top << ' '
        << B.Outer.right << ' ' << B.Outer.bottom << ' ' << B.Inner.left << ' ' << B.Inner.top
        << ' ' << B.Inner.right << ' ' << B.Inner.bottom << ' ' << B.Parent << '\n';
}

// An edge at 144 DPI: the designed one times 1.5, give or take what the
// rounding of two edges and a text's own width can add.
::testing::AssertionResult Scaled(const char* What, int Designed, int Actual, int Slack) {
  const int Expected = static_cast<int>(std::lround(Designed * 1.5));
  if (std::abs(Actual - Expected) <= Slack) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << What << " is " << Actual << ", not about " << Expected << " (" << Designed << " at 96)";
}

// The second layout is the first one scaled by 1.5 and keeps its relations.
void ExpectScaled(const std::string& Name, const TLayout& At96, const TLayout& At144) {
  ASSERT_EQ(At96.size(), At144.size()) << Name << ": another set of windows";
  // The client area exactly, as the program scales it; windows sized by
  // their font or text (combo boxes, labels, the status bar, the tabs) to
  // within a few pixels.
  EXPECT_TRUE(Scaled("client width", At96[0].Inner.right, At144[0].Inner.right, 1)) << Name;
  EXPECT_TRUE(Scaled("client height", At96[0].Inner.bottom, At144[0].Inner.bottom, 1)) << Name;
  for (std::size_t I = 1; I < At96.size(); ++I) {
    const TBox &A = At96[I], &B = At144[I];
    const TBox &PA = At96[static_cast<std::size_t>(A.Parent)],
               &PB = At144[static_cast<std::size_t>(B.Parent)];
    const std::string Which = Name + " #" + std::to_string(I) + " " + A.Class;
    // Places count from the parent's client area, as designed. The system
    // places some windows itself, by their font: a page below its tabs, a
    // combo box's field, the status bar at the bottom.
    const bool OwnPlace =
        PA.Class != "SysTabControl32" && PA.Class != "ComboBox" && A.Class != "msctls_statusbar32";
    if (OwnPlace) {
      EXPECT_TRUE(Scaled("left", A.Outer.left - PA.Inner.left, B.Outer.left - PB.Inner.left, 1))
          << Which;
      EXPECT_TRUE(Scaled("top", A.Outer.top - PA.Inner.top, B.Outer.top - PB.Inner.top, 1))
          << Which;
      EXPECT_TRUE(Scaled("width", A.Outer.right - A.Outer.left, B.Outer.right - B.Outer.left, 6))
          << Which;
      EXPECT_TRUE(Scaled("height", A.Outer.bottom - A.Outer.top, B.Outer.bottom - B.Outer.top, 6))
          << Which;
    }
    if (Inside(A.Outer, PA.Inner)) {
      EXPECT_TRUE(Inside(B.Outer, PB.Inner)) << Which << " reaches out of its parent";
    }
    for (std::size_t J = 1; J < I; ++J) {
      if (At96[J].Parent == A.Parent && !Meet(A.Outer, At96[J].Outer)) {
        EXPECT_FALSE(Meet(B.Outer, At144[J].Outer))
            << Which << " overlaps #" << J << " " << At96[J].Class;
      }
    }
  }
}

class Dpi : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
    WriteSetting("Tray", "Nej");
  }

  // Every page of the main window in turn, from the first.
  void ShootPages(HWND Main, const std::string& Prefix) {
    HWND Tabs = FindWindowExA(Main, nullptr, "SysTabControl32", nullptr);
    const int Count = Tabs ? static_cast<int>(SendMessageA(Tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    for (int Page = Count - 1; Page >= 0; --Page) {
      SendMessageA(Tabs, TCM_SETCURFOCUS, Page, 0);
      WaitUntil([&] { return SendMessageA(Tabs, TCM_GETCURSEL, 0, 0) == Page; }, 2s);
      Sleep(300);  // painted
      Screenshot(Prefix + "-page" + std::to_string(Page + 1));
    }
  }

  TMorvelProcess Morvel;
};

TEST_F(Dpi, TheWindowsAndTheTrayMenuGrowWithTheDisplayScale) {
  const std::string Pass = Env("MORVEL_E2E_DPI"), File = Env("MORVEL_E2E_LAYOUT");
  ASSERT_TRUE(Pass == "96" || Pass == "144" || Pass == "288") << "MORVEL_E2E_DPI: " << Pass;
  ASSERT_FALSE(File.empty()) << "MORVEL_E2E_LAYOUT is not set";
  const std::string Shot = "dpi" + Pass;
  const bool Designed = Pass == "96";
  if (Designed) DeleteFileA(File.c_str());

  // In the notification area first, for the menu; its first item brings the
  // window back.
  ASSERT_TRUE(WriteSetting("Tray", "Ja"));
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  ASSERT_NE(Morvel.WaitForMainWindowMade(), nullptr) << Morvel.Describe();
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; })) << Morvel.Describe();
  Screenshot(Shot + "-tray");
  ASSERT_TRUE(PostToTrayIcon(0, KRightClick));
  HWND Menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (Menu = FindMenuOf(Morvel.Id())) != nullptr; }))
      << Morvel.Describe();
  Sleep(300);  // painted
  Screenshot(Shot + "-menu");
  RECT MenuRect{};
  GetWindowRect(Menu, &MenuRect);
  const TLayout MenuBox{
      {"menu", {0, 0, MenuRect.right - MenuRect.left, MenuRect.bottom - MenuRect.top}, {}, -1}};
  ChooseMenuItem(Menu, 0);
  HWND Main = Morvel.WaitForMainWindow();
  ASSERT_NE(Main, nullptr) << Morvel.Describe();
  Sleep(300);
  const TLayout MainBoxes = LayoutOf(Main);
  ShootPages(Main, Shot + "-main");

  PostMessageA(FindChild(Main, "Button", "About"), BM_CLICK, 0, 0);
  HWND Box = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND W : TopWindowsOf(Morvel.Id()))
      if (TextOf(W) == "About" && IsWindowVisible(W)) Box = W;
    return Box != nullptr;
  })) << Morvel.Describe();
  Sleep(500);  // the pictures painted
  Screenshot(Shot + "-about");
  const TLayout AboutBoxes = LayoutOf(Box);
  RECT A{}, R{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &A, 0);
  for (HWND W : {Main, Box})  // the title bar on the work area, however large the window
    EXPECT_TRUE(GetWindowRect(W, &R) && R.left >= A.left && R.top >= A.top && R.left < A.right &&
                R.top < A.bottom)
        << TextOf(W) << " at " << R.left << "," << R.top;
  PostMessageA(FindChild(Box, "Button", "OK"), BM_CLICK, 0, 0);
  if (Pass == "288") return;

  if (Designed) {
    WriteLayout(File, "menu", MenuBox);
    WriteLayout(File, "main", MainBoxes);
    WriteLayout(File, "about", AboutBoxes);
    return;
  }
  auto At96 = ReadLayouts(File);
  ASSERT_EQ(At96.size(), 3u) << "no layout from the pass at 96 DPI in " << File;
  // The menu's items are as high as its font and as wide as its longest
  // caption: each grows with the font, within a few pixels of the scale.
  const SIZE Was{At96["menu"][0].Outer.right, At96["menu"][0].Outer.bottom};
  EXPECT_TRUE(Scaled("menu width", Was.cx, MenuBox[0].Outer.right, Was.cx / 10)) << Shot;
  EXPECT_TRUE(Scaled("menu height", Was.cy, MenuBox[0].Outer.bottom, Was.cy / 10)) << Shot;
  ExpectScaled("main", At96["main"], MainBoxes);
  ExpectScaled("about", At96["about"], AboutBoxes);
}

}  // namespace
}  // namespace e2e
