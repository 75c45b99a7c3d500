// Scenario "update": the about box of the real program against a web server
// on 127.0.0.1 (update-server.py, started by scenario.sh), which the
// program's "UpdateURL" setting points at. One start of the program: the
// about box's "Updates?" button is pressed once for each answer the server
// gives in turn. The web browser is e2e_probe.exe, which notes the address
// it was given.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

#include "MorvelProcess.h"
#include "platform/Threads.h"

namespace e2e {
namespace {

std::string ServerDir() { return Env("MORVEL_E2E_UPDATE_DIR"); }

std::string ReadAll(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::ostringstream Text;
  Text << In.rdbuf();
  return Text.str();
}

void SetCase(const std::string& Case) { std::ofstream(ServerDir() + "\\case.txt") << Case; }

int RequestCount() {
  const std::string Log = ReadAll(ServerDir() + "\\requests.log");
  return static_cast<int>(std::count(Log.begin(), Log.end(), '\n'));
}

// What the probe browser was given, or "" when it did not run.
std::string Opened() {
  const std::string Ran = ReadAll(ServerDir() + "\\probe-ran.txt");
  const std::size_t Line = Ran.find("\r\n");
  return Line == std::string::npos ? ""
                                   : Ran.substr(Line + 2, Ran.find("\r\n", Line + 2) - Line - 2);
}

class Update : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_FALSE(ServerDir().empty()) << "MORVEL_E2E_UPDATE_DIR is not set";
    Port = ReadAll(ServerDir() + "\\port");
    ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
    Main = Morvel.WaitForMainWindow();
    ASSERT_NE(Main, nullptr) << Morvel.Describe();
  }
  static void TearDownTestSuite() { Morvel.Stop(); }

  // The about button sits alone at the top of the right column.
  static HWND OpenAbout() {
    PostMessageA(FindChildAt(Main, "Button", {382, 23}), BM_CLICK, 0, 0);
    HWND Box = nullptr;
    WaitUntil([&] {
      for (HWND W : TopWindowsOf(Morvel.Id()))
        if (TextOf(W) == "About" && IsWindowVisible(W)) Box = W;
      return Box != nullptr;
    });
    return Box;
  }

  // Presses a button from another thread and answers every dialog the
  // handler shows with the next answer (OK when none is left); the texts of
  // the dialogs, as "Caption: Text". The box must answer all the while.
  static std::vector<std::string> PressAndAnswer(HWND Button, std::vector<int> Answers,
                                                 const std::string& Shot = {}) {
    std::vector<std::string> Seen;
    std::atomic<bool> Done{false};
    const auto Hung = [Box = GetAncestor(Button, GA_ROOT)] {
      DWORD_PTR Ignored = 0;
      return !SendMessageTimeoutA(Box, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &Ignored);
    };
    platform::TThread Sender([&] {
      DWORD_PTR Ignored = 0;
      SendMessageTimeoutA(Button, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &Ignored);
      Done = true;
    });
    while (!Done) {
      HWND Dialog = nullptr;
      if (!WaitUntil([&] { return Done || (Dialog = FindDialogOf(Morvel.Id())) || Hung(); }, 40s))
        break;
      if (!Dialog) break;
      Seen.push_back(TextOf(Dialog) + ": " + DialogText(Dialog));
      if (!Shot.empty()) Screenshot(Shot + "-" + std::to_string(Seen.size()));
      const int Answer = Answers.empty() ? IDOK : Answers.front();
      if (!Answers.empty()) Answers.erase(Answers.begin());
      PressDialogButton(Dialog, Answer);
      WaitUntil([&] { return !IsWindow(Dialog); }, 10s);
    }
    Sender.Join();
    return Seen;
  }

  static inline TMorvelProcess Morvel;
  static inline HWND Main = nullptr;
  static inline std::string Port;
};

const std::string KQuestion =
    "Confirm: There's a new version 2.4.0.0 of this program\r\navaliable at: Tandrel "
    "Software\r\nDo you wan't to download it now ?";
const std::string KNoNewVersion = "Morvel: No new version available";

TEST_F(Update, EveryAnswerOfTheServerEndsAsItShould) {
  HWND Box = OpenAbout();
  ASSERT_NE(Box, nullptr) << Morvel.Describe();
  HWND Check = FindChild(Box, "Button", "Updates?");
  ASSERT_NE(Check, nullptr);
  const std::string Failed =
      "Warning: Couldn't download file version information from:\r\nhttp://"
      "127.0.0.1:" +
      Port + "/sware/curr_ver.txt !";
  const struct {
    const char* Case;
    int Answer;
    std::vector<std::string> Dialogs;
    std::string Opened;
  } Cases[] = {
      {"newer", IDYES, {KQuestion}, "\"http://127.0.0.1:" + Port + "/download/morvel-2.4.html\""},
      {"newer", IDNO, {KQuestion}, ""},
      {"same", IDOK, {KNoNewVersion}, ""},
      {"older", IDOK, {KNoNewVersion}, ""},
      {"nodot", IDOK, {KNoNewVersion}, ""},
      {"html", IDOK, {KNoNewVersion}, ""},
      // Wine's download reports success for an error status as well; the
      // error page is no version file.
      {"missing", IDOK, {KNoNewVersion}, ""},
      {"calc",
       IDYES,
       {KQuestion, "Morvel: Not a web address: 'file:///C:/windows/system32/calc.exe'"},
       ""},
      {"huge", IDOK, {Failed}, ""},
      {"stall", IDOK, {Failed}, ""},
      {"drip", IDOK, {Failed}, ""},
      {"loop", IDOK, {Failed}, ""},
      {"closed", IDOK, {Failed}, ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Case);
    DeleteFileA((ServerDir() + "\\probe-ran.txt").c_str());
    const int Requests = RequestCount();
    SetCase(C.Case);
    if (std::string(C.Case) == "closed") {
      ASSERT_TRUE(WaitUntil([] {
        return GetFileAttributesA((ServerDir() + "\\port").c_str()) == INVALID_FILE_ATTRIBUTES;
      })) << "the server did not end";
    }
    const DWORD Start = GetTickCount();
    EXPECT_EQ(PressAndAnswer(Check, {C.Answer}, std::string("update-") + C.Case), C.Dialogs);
    EXPECT_LT(GetTickCount() - Start, std::string(C.Case) == "loop" ? 5000u : 20000u);  // limits
    if (std::string(C.Case) != "closed") {
      EXPECT_EQ(RequestCount(), Requests + 1);
    }
    if (C.Opened.empty()) {
      // A browser started late would still be seen here.
      Sleep(300);
      EXPECT_EQ(Opened(), "");
    } else {
      EXPECT_TRUE(WaitUntil([&] { return Opened() == C.Opened; }, 10s)) << Opened();
    }
    ASSERT_TRUE(Morvel.Running()) << Morvel.Describe();
    EXPECT_TRUE(IsWindowVisible(Box));
  }
  PressAndAnswer(FindChild(Box, "Button", "OK"), {});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(Box); }, 5s));
}

TEST_F(Update, TheAboutBoxShowsItsPicturesAndOpensItsLinks) {
  HWND Box = OpenAbout();
  ASSERT_NE(Box, nullptr) << Morvel.Describe();
  // The pictures lie in the upper panel, which starts 2 pixels left of the box.
  HWND Product = FindChildAt(Box, "MorvelGraphic", {6, 48});
  HWND Donate = FindChildAt(Box, "MorvelGraphic", {150, 104});
  ASSERT_TRUE(Product && Donate);
  Sleep(500);  // painted
  Screenshot("about-english");
  // Decoded pixels on the screen: the product picture's blue, the button's
  // gold. Another process's window can only be read there.
  const auto Pixel = [](HWND W, int X, int Y) {
    POINT P{X, Y};
    ClientToScreen(W, &P);
    HDC Dc = GetDC(nullptr);
    const COLORREF C = GetPixel(Dc, P.x, P.y);
    ReleaseDC(nullptr, Dc);
    return C;
  };
  const COLORREF Blue = Pixel(Product, 3, 3), Gold = Pixel(Donate, 4, 15);
  EXPECT_GT(GetBValue(Blue), GetRValue(Blue) + 60) << std::hex << Blue;
  EXPECT_GT(GetRValue(Gold), GetBValue(Gold) + 60) << std::hex << Gold;

  // The link opens on the press alone.
  DeleteFileA((ServerDir() + "\\probe-ran.txt").c_str());
  HWND Link = FindChild(Box, "Static", "Morvel website");
  ASSERT_NE(Link, nullptr);
  PostMessageA(Link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_TRUE(WaitUntil([] { return Opened() == "\"http://www.tandrel.invalid/\""; }, 10s))
      << Opened();
  PostMessageA(Link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));

  // The donation page goes to the program registered for web pages.
  DeleteFileA((ServerDir() + "\\probe-ran.txt").c_str());
  PostMessageA(Donate, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageA(Donate, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  EXPECT_TRUE(
      WaitUntil([] { return Opened().find("currency_code=USD") != std::string::npos; }, 10s))
      << Opened();
  EXPECT_NE(Opened().find("https://pay.tandrel.invalid/donate?business="), std::string::npos);

  // Enter presses the default button, which closes the box.
  PostMessageA(FindChild(Box, "Button", "OK"), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(Box); }, 5s));
  if (IsWindowVisible(Box)) PressAndAnswer(FindChild(Box, "Button", "OK"), {});

  // In another language, the box is translated too.
  HWND LanguageBox = FindChildAt(Main, "ComboBox", {382, 149});
  SendMessageA(LanguageBox, CB_SETCURSEL, 1, 0);  // "Deutsch"
  SendMessageA(Main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(LanguageBox), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(LanguageBox));
  Box = OpenAbout();
  ASSERT_NE(Box, nullptr);
  EXPECT_NE(FindChild(Box, "Button", "Hilfe"), nullptr);
  Sleep(500);
  Screenshot("about-deutsch");
  PressAndAnswer(FindChild(Box, "Button", "OK"), {});
  WriteSetting("Sprog", "English");  // as the scenario found it
}

}  // namespace
}  // namespace e2e
