// Scenario "device-name": a language named like a device ("aux" opens the
// serial port wherever it stands) is no file to read. Typing it into the
// language box, and starting with it stored, leave the program answering
// in English.
#include <gtest/gtest.h>

#include "MorvelProcess.h"

namespace e2e {
namespace {

// A window that no longer handles messages fails this within seconds.
bool Answers(HWND Wnd) {
  DWORD_PTR Ignored = 0;
  return SendMessageTimeoutA(Wnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &Ignored) != 0;
}

// The about button sits alone at the top of the right column.
std::string AboutCaption(HWND Main) { return TextOf(FindChildAt(Main, "Button", {382, 23})); }

TEST(DeviceName, AuxTypedOrStoredAsTheLanguageKeepsTheProgramAnswering) {
  ASSERT_TRUE(WriteSetting("Sprog", "English"));
  TMorvelProcess Morvel;
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  HWND Main = Morvel.WaitForMainWindow();
  ASSERT_NE(Main, nullptr) << Morvel.Describe();
  const std::string English = AboutCaption(Main);
  HWND Box = FindChildAt(Main, "ComboBox", {382, 149});
  HWND Edit = FindWindowExA(Box, nullptr, "Edit", nullptr);
  ASSERT_NE(Edit, nullptr);
  // Posted, not sent: a program that hangs on a letter must not hang the test.
  PostMessageA(Edit, EM_SETSEL, 0, -1);
  for (char Letter : std::string("aux")) PostMessageA(Edit, WM_CHAR, Letter, 1);
  EXPECT_TRUE(WaitUntil([] { return ReadSetting("Sprog") == "aux"; }, 10s)) << ReadSetting("Sprog");
  ASSERT_TRUE(Answers(Main)) << Morvel.Describe();
  EXPECT_EQ(TextOf(Box), "aux");
  EXPECT_EQ(AboutCaption(Main), English);
  ASSERT_TRUE(Morvel.Stop()) << "the program had to be terminated";

  // The next start reads the stored name first thing.
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  Main = Morvel.WaitForMainWindow();
  ASSERT_NE(Main, nullptr) << Morvel.Describe();
  EXPECT_TRUE(Answers(Main));
  EXPECT_EQ(AboutCaption(Main), English);
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
  EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
}

}  // namespace
}  // namespace e2e
