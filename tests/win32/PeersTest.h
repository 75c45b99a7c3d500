// The form and helpers shared by the control peer tests (PeersTest.cpp,
// PeersFormTest.cpp): one form with a control of each kind, shown in a
// real window under Wine.
#pragma once

#include <windows.h>
// The dialog service's method shares its name with the system's macro.
#undef MessageBox
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TestResources.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/win32/Win32AppHost.h"
#include "platform/win32/Win32ContainerPeers.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32FormPeer.h"
#include "platform/win32/Win32GraphicPeers.h"
#include "platform/win32/Win32PeerFactory.h"

namespace peerstest {

using namespace platform;
using namespace platform::win32;

using testres::TRecordingDialogs;

// Records what the peer tells it, in order.
class TLoggingCheckBox : public TCheckBox {
 public:
  using TCheckBox::TCheckBox;
  std::vector<std::string> Log;
  void UserMouseDown() override { Log.push_back("down"); }

 protected:
  void Click() override { Log.push_back(Checked() ? "on" : "off"); }
};

class TPeersForm : public TForm {
 public:
  explicit TPeersForm(TComponent* owner) : TForm(owner) {
    SetCaption("Peers");
    SetBounds(60, 50, 440, 330);
    Button = Create<TButton>(this, "Button1", this);
    Button->SetBounds(10, 10, 75, 25);
    Button->SetCaption("&Go");
    Box = Create<TLoggingCheckBox>(this, "Box", this);
    Box->SetBounds(10, 42, 120, 17);
    Box->SetCaption("Check");
    Combo = Create<TComboBox>(this, "Combo", this);
    Combo->SetBounds(10, 66, 150, 21);
    Combo->Items().Assign({"alpha", "beta", "gamma"});
    Hidden = Create<TComboBox>(this, "cbDrives", this);
    Hidden->SetBounds(300, 10, 40, 21);
    Hidden->SetVisible(false);
    Edit = Create<TEdit>(this, "Edit", this);
    Edit->SetBounds(170, 66, 100, 21);
    List = Create<TCheckListBox>(this, "List", this);
    List->SetBounds(10, 96, 150, 80);
    List->Items().Assign({"one", "two", "three"});
    Pages = Create<TPageControl>(this, "Pages", this);
    Pages->SetBounds(170, 96, 250, 130);
    First = Create<TTabSheet>(this, "First", Pages);
    First->SetCaption("First");
    Second = Create<TTabSheet>(this, "Second", Pages);
    Second->SetCaption("Second");
    Inner = Create<TButton>(this, "Inner", Second);
    Inner->SetBounds(8, 6, 60, 22);
    Shape = Create<TShape>(this, "Shape", this);
    Shape->SetBounds(10, 190, 48, 48);
    Image = Create<TImage>(this, "Image", this);
    Image->SetBounds(18, 198, 32, 32);
    Status = Create<TStatusBar>(this, "Status", this);
    Status->SetBounds(0, 280, 432, 19);
    Label = Create<TLabel>(this, "Label", this);
    Label->SetBounds(70, 190, 40, 13);
    Label->SetCaption("Short");
    Fixed = Create<TLabel>(this, "Fixed", this);
    Fixed->AutoSize = false;
    Fixed->SetBounds(70, 210, 40, 13);
    Fixed->SetCaption("A caption far too long for its label");
    DoCreate();
  }

  bool WMSysCommand(unsigned command) override {
    if (command == 0xF123) throw Exception("system command failed");
    return false;
  }

  TButton* Button;
  TLoggingCheckBox* Box;
  TComboBox *Combo, *Hidden;
  TEdit* Edit;
  TCheckListBox* List;
  TPageControl* Pages;
  TTabSheet *First, *Second;
  TButton* Inner;
  TShape* Shape;
  TImage* Image;
  TStatusBar* Status;
  TLabel *Label, *Fixed;
};

inline HWND H(const TControl* control) { return reinterpret_cast<HWND>(control->Handle()); }

inline std::string Text(HWND window) {
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

inline bool HasStyle(HWND window, LONG_PTR style) {
  return (GetWindowLongPtrA(window, GWL_STYLE) & style) == style;
}

// The window's place in its parent's client area.
inline RECT PlaceInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

inline void Command(HWND control, WORD code) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

inline void Click(HWND window, int x, int y) {
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// A 32x32 icon file with a filled square, written for the picture tests.
inline std::string WriteIconFile() {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "morvel-peers-test.ico";
  std::ofstream out(path, std::ios::binary);
  auto put16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  auto put32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  const std::uint32_t pixels = 32 * 32 * 4, mask = 32 * 4;
  put16(0), put16(1), put16(1);
  out.put(32), out.put(32), out.put(0), out.put(0);
  put16(1), put16(32), put32(40 + pixels + mask), put32(6 + 16);
  put32(40), put32(32), put32(64), put16(1), put16(32), put32(0), put32(pixels + mask);
  put32(0), put32(0), put32(0), put32(0);
  for (int i = 0; i < 32 * 32; ++i) put32(0xFF2060C0);
  for (std::uint32_t i = 0; i < mask; ++i) out.put(0);
  return path;
}

class Win32Peers : public ::testing::Test {
 protected:
  static TServices Wired(TWin32PeerFactory& f, TWin32AppHost& h, TRecordingDialogs& d) {
    TServices s;
    s.Peers = &f;
    s.AppHost = &h;
    s.Dialogs = &d;
    return s;
  }
  void SetUp() override {
    Form->Show();
    Pump();
  }
  void TearDown() override {
    App.reset();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  TWin32PeerFactory Factory;
  TWin32AppHost Host;
  TRecordingDialogs Dialogs;
  TScopedServices Guard{Wired(Factory, Host, Dialogs)};
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();
  TPeersForm* Form = App->CreateForm<TPeersForm>("Form1");
};

}  // namespace peerstest
