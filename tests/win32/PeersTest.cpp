// The control peers against real windows under Wine: model changes must show
// in the windows, and real window messages must reach the models' input
// methods.
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

using namespace platform;
using namespace platform::win32;

namespace {

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

HWND H(const TControl* control) { return reinterpret_cast<HWND>(control->Handle()); }

std::string Text(HWND window) {
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

bool HasStyle(HWND window, LONG_PTR style) {
  return (GetWindowLongPtrA(window, GWL_STYLE) & style) == style;
}

// The window's place in its parent's client area.
RECT PlaceInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Command(HWND control, WORD code) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

void Click(HWND window, int x, int y) {
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// A 32x32 icon file with a filled square, written for the picture tests.
std::string WriteIconFile() {
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

TEST_F(Win32Peers, WindowsSitWhereTheModelsSay) {
  Form->Pages->SetActivePageIndex(1);
  RECT r;
  GetWindowRect(H(Form), &r);
  EXPECT_EQ(r.left, 60);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 440);  // the outer size, frame included
  EXPECT_EQ(r.bottom - r.top, 330);

  for (const TControl* c : std::vector<const TControl*>{Form->Button, Form->Edit, Form->List,
                                                        Form->Pages, Form->Inner}) {
    SCOPED_TRACE(c->Name());
    RECT p = PlaceInParent(H(c));
    EXPECT_EQ(p.left, c->Bounds().Left);
    EXPECT_EQ(p.top, c->Bounds().Top);
    EXPECT_EQ(p.right - p.left, c->Bounds().Width);
    EXPECT_EQ(p.bottom - p.top, c->Bounds().Height);
  }
  // A combo box's model height is the closed box.
  RECT combo = PlaceInParent(H(Form->Combo));
  EXPECT_EQ(combo.left, 10);
  EXPECT_EQ(combo.right - combo.left, 150);

  Form->Button->SetBounds(20, 12, 90, 30);
  RECT moved = PlaceInParent(H(Form->Button));
  EXPECT_EQ(moved.left, 20);
  EXPECT_EQ(moved.right - moved.left, 90);

  // The sheet fills the page control's display area.
  RECT area;
  GetClientRect(H(Form->Pages), &area);
  SendMessageA(H(Form->Pages), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  RECT sheet = PlaceInParent(H(Form->Second));
  EXPECT_EQ(sheet.left, area.left);
  EXPECT_EQ(sheet.bottom, area.bottom);
}

TEST_F(Win32Peers, TheFormHasNoTaskbarButtonAndHiddenModelsStayHidden) {
  EXPECT_EQ(GetWindow(H(Form), GW_OWNER), reinterpret_cast<HWND>(App->Handle()));
  EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(App->Handle())));  // carries the button
  EXPECT_FALSE(HasStyle(H(Form), WS_THICKFRAME));
  EXPECT_TRUE(IsWindowVisible(H(Form)));
  EXPECT_TRUE(HasStyle(H(Form->Combo), WS_VISIBLE));
  // What does not show has no window until it first does; then its window
  // holds what the model was given meanwhile. Here: a hidden combo box, a
  // page not chosen, and a form not yet shown.
  EXPECT_FALSE(Form->Inner->HandleAllocated());
  EXPECT_FALSE(Form->Hidden->HandleAllocated());
  Form->Hidden->Items().Assign({"D:", "E:"});
  Form->Hidden->SetItemIndex(1);
  EXPECT_EQ(Form->Hidden->Text(), "E:");
  Form->Hidden->SetVisible(true);
  HWND shown = H(Form->Hidden);
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(IsWindowVisible(shown));
  EXPECT_EQ(SendMessageA(shown, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(shown, CB_GETCURSEL, 0, 0), 1);
  Form->Hidden->SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(shown));
  Form->Inner->SetCaption("Later");
  Form->Pages->SetActivePageIndex(1);
  EXPECT_EQ(Text(H(Form->Inner)), "Later");
  EXPECT_TRUE(IsWindowVisible(H(Form->Inner)));

  auto* other = App->CreateForm<TPeersForm>("Form2");
  EXPECT_TRUE(other->HandleAllocated());
  EXPECT_FALSE(other->Button->HandleAllocated());
  other->Box->SetChecked(true);
  other->Show();
  EXPECT_TRUE(IsWindowVisible(H(other->Button)));
  EXPECT_EQ(SendMessageA(H(other->Box), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(other->Inner->HandleAllocated());
  other->Hide();

  Form->SetCaption("Renamed");
  EXPECT_EQ(Text(H(Form)), "Renamed");
  Form->Hide();
  EXPECT_FALSE(IsWindowVisible(H(Form)));
  EXPECT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(App->Handle())));
}

TEST_F(Win32Peers, AButtonClickRunsOnClickAndAnExceptionIsReported) {
  int clicks = 0;
  Form->Button->OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(H(Form->Button), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);

  Form->Button->OnClick = [](TObject*) { throw EInOutError("I/O error 21"); };
  SendMessageA(H(Form->Button), BM_CLICK, 0, 0);
  ASSERT_EQ(Dialogs.Texts.size(), 1u);
  EXPECT_EQ(Dialogs.Texts[0], "I/O error 21");

  // Caught at the window procedure when no event dispatch caught it first.
  SendMessageA(H(Form), WM_SYSCOMMAND, 0xF123, 0);
  ASSERT_EQ(Dialogs.Texts.size(), 2u);
  EXPECT_EQ(Dialogs.Texts[1], "system command failed");
}

TEST_F(Win32Peers, CheckBoxTellsMousePressesFromOtherToggles) {
  HWND box = H(Form->Box);
  Click(box, 5, 5);
  EXPECT_EQ(Form->Box->Log, (std::vector<std::string>{"down", "on"}));
  EXPECT_TRUE(Form->Box->Checked());

  Form->Box->Log.clear();
  SendMessageA(box, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(box, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(Form->Box->Log, (std::vector<std::string>{"off"}));
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // A change from code shows, and the peer does not report it back as a toggle.
  Form->Box->Log.clear();
  Form->Box->SetChecked(true);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Form->Box->Log, (std::vector<std::string>{"on"}));
  Command(box, BN_CLICKED);  // a stray notification without a change
  EXPECT_EQ(Form->Box->Log, (std::vector<std::string>{"on"}));
}

TEST_F(Win32Peers, ComboBoxMirrorsTheModelAndReportsUserInput) {
  HWND combo = H(Form->Combo);
  int changes = 0;
  Form->Combo->OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
  char item[32] = {};
  SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, "beta");

  Form->Combo->SetText("gamma");
  EXPECT_EQ(Text(combo), "gamma");
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
  Form->Combo->SetText("free text");
  EXPECT_EQ(Text(combo), "free text");
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  Form->Combo->Items().Assign({"x", "y"});
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Text(combo), "free text");  // refilling keeps the text
  EXPECT_EQ(changes, 0);

  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  Command(combo, CBN_SELCHANGE);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Form->Combo->Text(), "y");
  EXPECT_EQ(Form->Combo->ItemIndex(), 1);

  // Typing into the edit field goes through the combo box's own notification.
  HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CHAR, 'x', 1);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Form->Combo->Text(), "x");
  EXPECT_EQ(Form->Combo->ItemIndex(), 0);
}

TEST_F(Win32Peers, EditReportsTypingAndLeaving) {
  HWND edit = H(Form->Edit);
  int exits = 0;
  Form->Edit->OnExit = [&](TObject*) { ++exits; };
  Form->Edit->SetText("abc");
  EXPECT_EQ(Text(edit), "abc");

  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CHAR, 'h', 1);
  SendMessageA(edit, WM_CHAR, 'i', 1);
  EXPECT_EQ(Form->Edit->Text(), "hi");

  SetFocus(edit);
  ASSERT_EQ(GetFocus(), edit);
  SetFocus(H(Form->Button));
  EXPECT_EQ(exits, 1);
}

TEST_F(Win32Peers, CheckListTogglesOnTheBoxAndOnSpace) {
  HWND list = H(Form->List);
  int toggles = 0;
  Form->List->OnClickCheck = [&](TObject*) { ++toggles; };
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 13);

  Click(list, 6, 13 + 6);  // on the box of the second item
  EXPECT_TRUE(Form->List->Checked(1));
  EXPECT_EQ(toggles, 1);

  Click(list, 80, 2 * 13 + 6);  // on the text of the third: selects only
  EXPECT_FALSE(Form->List->Checked(2));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(toggles, 1);

  SendMessageA(list, WM_CHAR, ' ', 1);
  EXPECT_TRUE(Form->List->Checked(2));
  EXPECT_EQ(toggles, 2);

  Click(list, 6, 3 * 13 + 20);  // below the last item: nothing
  EXPECT_EQ(toggles, 2);

  Form->List->Items().Assign({"a", "b", "c", "d"});
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
  UpdateWindow(list);  // painting must cope with any state
}

TEST_F(Win32Peers, PageControlSwitchesSheetsBothWays) {
  HWND tabs = H(Form->Pages);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(H(Form->First)));
  EXPECT_FALSE(IsWindowVisible(H(Form->Second)));

  // The second sheet has no window yet: its tab follows all the same (below).
  Form->Second->SetCaption("Renamed");
  RECT tab;
  SendMessageA(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  Click(tabs, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  EXPECT_EQ(Form->Pages->ActivePageIndex(), 1);
  EXPECT_FALSE(IsWindowVisible(H(Form->First)));
  EXPECT_TRUE(IsWindowVisible(H(Form->Second)));
  EXPECT_TRUE(IsWindowVisible(H(Form->Inner)));

  Form->Pages->SetActivePageIndex(0);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(IsWindowVisible(H(Form->First)));
  EXPECT_FALSE(IsWindowVisible(H(Form->Second)));

  char text[32] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(tabs, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, "Renamed");
}

TEST_F(Win32Peers, ADisabledSheetDisablesWhatIsOnIt) {
  Form->Second->SetEnabled(false);
  Form->Pages->SetActivePageIndex(1);  // its first windows come disabled
  EXPECT_FALSE(IsWindowEnabled(H(Form->Second)));
  EXPECT_FALSE(IsWindowEnabled(H(Form->Inner)));
  EXPECT_TRUE(IsWindowEnabled(H(Form->First)));
  Form->Second->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(H(Form->Inner)));
}

TEST_F(Win32Peers, LabelsFitTheirCaptionOnOneLine) {
  const int shortWidth = Form->Label->Bounds().Width;
  EXPECT_GT(shortWidth, 10);
  EXPECT_LT(shortWidth, 40);
  // A longer translation widens the label to the right, on one line.
  Form->Label->SetCaption("Standardafspiller til lyd-cd'er");
  const TRect& r = Form->Label->Bounds();
  EXPECT_EQ(r.Left, 70);
  EXPECT_GT(r.Width, 3 * shortWidth);
  EXPECT_LT(r.Height, 2 * 13);
  const RECT placed = PlaceInParent(H(Form->Label));
  EXPECT_EQ(placed.right - placed.left, r.Width);
  EXPECT_FALSE(HasStyle(H(Form->Label), SS_CENTER));
  // A label told not to size itself keeps the designed box.
  EXPECT_EQ(Form->Fixed->Bounds().Width, 40);
  EXPECT_EQ(Form->Fixed->Bounds().Height, 13);
}

TEST_F(Win32Peers, ADisplayScaleChangeRescalesWindowsAndFontsButNotTheModels) {
  const auto fontHeight = [](HWND window) {
    LOGFONTA log{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof log, &log);
    return log.lfHeight;
  };
  const auto changeDpi = [&](int dpi, RECT suggested) {
    SendMessageA(H(Form), kWmDpiChanged, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
  };
  RECT before;
  GetWindowRect(H(Form), &before);
  const int labelWidth = Form->Label->Bounds().Width;

  changeDpi(144, {100, 80, 760, 575});
  Form->Pages->SetActivePageIndex(1);  // its first windows come at the new scale
  RECT r;
  GetWindowRect(H(Form), &r);
  EXPECT_EQ(r.left, 100);  // where the system suggests
  EXPECT_EQ(r.top, 80);
  EXPECT_GT(r.right - r.left, 440 * 5 / 4);
  const RECT button = PlaceInParent(H(Form->Button)), inner = PlaceInParent(H(Form->Inner));
  EXPECT_EQ(button.left, 15);
  EXPECT_EQ(button.right - button.left, 113);  // 85 * 1.5 - 15, rounded up
  EXPECT_EQ(button.bottom - button.top, 38);
  EXPECT_EQ(inner.left, 12);  // on a sheet, too
  EXPECT_EQ(fontHeight(H(Form)), -16);
  EXPECT_EQ(SendMessageA(H(Form->List), LB_GETITEMHEIGHT, 0, 0), 20);
  // The label measured its caption in the larger font and stays as wide in
  // designed pixels; the models keep the design.
  const RECT label = PlaceInParent(H(Form->Label));
  EXPECT_GT(label.right - label.left, labelWidth * 5 / 4);
  EXPECT_NEAR(Form->Label->Bounds().Width, labelWidth, 2);
  EXPECT_EQ(Form->Button->Bounds().Width, 75);
  EXPECT_EQ(Form->Bounds().Width, 440);

  // And back, to the pixel.
  changeDpi(96, before);
  GetWindowRect(H(Form), &r);
  EXPECT_EQ(r.right - r.left, 440);
  EXPECT_EQ(r.bottom - r.top, 330);
  EXPECT_EQ(PlaceInParent(H(Form->Button)).right, 85);
  EXPECT_EQ(SendMessageA(H(Form->List), LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(fontHeight(H(Form)), -11);
}

TEST_F(Win32Peers, StatusBarShowsItsTextAtTheBottom) {
  HWND bar = H(Form->Status);
  Form->Status->SetSimpleText("Ready");
  char text[64] = {};
  EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
  // In simple mode the one text answers for part 0.
  ASSERT_LT(LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0)), sizeof text);
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Ready");
  EXPECT_FALSE(HasStyle(bar, SBARS_SIZEGRIP));

  RECT client, place = PlaceInParent(bar);
  GetClientRect(H(Form), &client);
  EXPECT_EQ(place.bottom, client.bottom);
  EXPECT_EQ(place.right - place.left, client.right);
}

TEST_F(Win32Peers, HintsBecomeToolsAndFollowChanges) {
  auto* formPeer = dynamic_cast<TWin32FormPeer*>(Form->Peer());
  ASSERT_NE(formPeer, nullptr);
  // The tooltip, with the hints given so far, comes when the mouse first
  // comes over the form, here over a control.
  SetCursorPos(1000, 700);
  Pump();
  Form->Edit->SetHint("Type");
  EXPECT_EQ(formPeer->ExistingToolTip(), nullptr);
  SendMessageA(H(Form->Edit), WM_SETCURSOR, reinterpret_cast<WPARAM>(H(Form->Edit)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  HWND tips = formPeer->ExistingToolTip();
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 1);

  Form->Button->SetHint("Start");
  Form->Combo->SetHint("Pick one");  // the box and its edit field
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 4);

  Form->Button->SetHint("Start now");
  char text[80] = {};
  TTTOOLINFOA info{};
  info.cbSize = offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM);
  info.hwnd = H(Form);
  info.uId = reinterpret_cast<UINT_PTR>(H(Form->Button));
  info.lpszText = text;
  SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, "Start now");

  Form->Combo->SetHint("");
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST_F(Win32Peers, PictureLoadsFromAnIconFileAndSitsAboveItsFrame) {
  auto* peer = dynamic_cast<TWin32ImagePeer*>(Form->Image->Peer());
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(peer->Picture(), nullptr);
  const std::string path = WriteIconFile();
  Form->Image->LoadFromFile(path);
  EXPECT_NE(peer->Picture(), nullptr);
  UpdateWindow(H(Form));
  Form->Image->LoadFromFile(path + ".missing");
  EXPECT_EQ(peer->Picture(), nullptr);
  DeleteFileA(path.c_str());

  // Windowed controls lie above the painted ones, and within each kind a
  // later control above an earlier one (the picture above its frame); a
  // control whose window came late, when first shown, takes its place too.
  const auto expectStacking = [&] {
    std::vector<HWND> expected, stacked;
    for (bool graphic : {false, true})
      for (auto it = Form->Controls().rbegin(); it != Form->Controls().rend(); ++it)
        if ((dynamic_cast<const TWinControl*>(*it) == nullptr) == graphic && (*it)->Handle())
          expected.push_back(H(*it));
    for (HWND w = GetWindow(H(Form), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      stacked.push_back(w);
    EXPECT_EQ(stacked, expected);
  };
  expectStacking();
  Form->Hidden->SetVisible(true);
  expectStacking();
}

TEST_F(Win32Peers, ClosingTheMainFormAsksOnCloseQuery) {
  bool allow = false;
  int asked = 0;
  Form->OnCloseQuery = [&](TObject*, bool& canClose) {
    ++asked;
    canClose = allow;
  };
  SendMessageA(H(Form), WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(IsWindow(H(Form)));
  EXPECT_FALSE(App->Terminated());
  EXPECT_EQ(SendMessageA(H(Form), WM_QUERYENDSESSION, 0, 0), FALSE);

  allow = true;
  EXPECT_EQ(SendMessageA(H(Form), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(H(Form), WM_CLOSE, 0, 0);
  EXPECT_TRUE(App->Terminated());
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Win32Peers, MinimisingTheMainFormMinimisesTheApplicationWindow) {
  HWND app = reinterpret_cast<HWND>(App->Handle());
  SendMessageA(H(Form), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(app));
  EXPECT_FALSE(IsIconic(H(Form)));
  EXPECT_EQ(Form->WindowState(), TWindowState::Minimized);
  App->Restore();
  EXPECT_FALSE(IsIconic(app));
}

TEST_F(Win32Peers, CanResizeMayKeepTheSize) {
  bool allow = false;
  Form->OnCanResize = [&](TObject*, int&, int& height, bool& resize) {
    resize = allow;
    height = 300;  // honoured when the resize is allowed
  };
  SetWindowPos(H(Form), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(H(Form), &r);
  EXPECT_EQ(r.right - r.left, 440);
  EXPECT_EQ(r.bottom - r.top, 330);

  allow = true;
  SetWindowPos(H(Form), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(H(Form), &r);
  EXPECT_EQ(r.right - r.left, 500);
  EXPECT_EQ(r.bottom - r.top, 300);
  EXPECT_EQ(Form->Bounds().Width, 500);  // the model learns the new size
  EXPECT_EQ(Form->Bounds().Height, 300);
}

TEST_F(Win32Peers, AModalFormDisablesTheMainFormWhileShown) {
  auto* dialog = TComponent::Create<TForm>(App.get(), "Dialog");
  dialog->SetBounds(100, 100, 200, 120);
  dialog->CreateHandle();
  bool mainEnabledWhileModal = true;
  TTimer closer(nullptr);
  closer.SetInterval(20);
  closer.SetOnTimer([&](TObject*) {
    mainEnabledWhileModal = IsWindowEnabled(H(Form)) != FALSE;
    closer.SetEnabled(false);
    SendMessageA(H(dialog), WM_CLOSE, 0, 0);
  });
  dialog->ShowModal();
  EXPECT_FALSE(mainEnabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(H(Form)));
  EXPECT_FALSE(IsWindowVisible(H(dialog)));
}

TEST_F(Win32Peers, OnlyOurOwnWindowsLeadToAPeer) {
  EXPECT_EQ(TWin32Peer::FromWindow(H(Form->Combo)), Form->Combo->Peer());
  EXPECT_EQ(TWin32Peer::FromWindow(H(Form->Image)), Form->Image->Peer());
  // The combo box's inner edit and the form's tooltip are the system's.
  EXPECT_EQ(TWin32Peer::FromWindow(FindWindowExA(H(Form->Combo), nullptr, "Edit", nullptr)),
            nullptr);
  EXPECT_EQ(TWin32Peer::FromWindow(dynamic_cast<TWin32FormPeer*>(Form->Peer())->ToolTip()),
            nullptr);
}

TEST_F(Win32Peers, AControlGetsAPeerOnlyInsideItsParentsWindow) {
  TPanel loose(nullptr, nullptr);
  TButton inLoose(nullptr, &loose);
  EXPECT_EQ(Factory.Create(loose), nullptr);
  EXPECT_EQ(Factory.Create(inLoose), nullptr);
  // A sheet outside a page control is a plain container.
  TTabSheet sheet(nullptr, Form);
  std::unique_ptr<TPeer> peer = Factory.Create(sheet);
  EXPECT_NE(dynamic_cast<TWin32ContainerPeer*>(peer.get()), nullptr);
  EXPECT_EQ(dynamic_cast<TWin32TabSheetPeer*>(peer.get()), nullptr);
  EXPECT_EQ(GetParent(reinterpret_cast<HWND>(peer->Handle())), H(Form));
}

TEST_F(Win32Peers, DestroyingTheModelsDestroysTheirWindows) {
  HWND form = H(Form), button = H(Form->Button), inner = H(Form->Inner);
  App.reset();
  EXPECT_FALSE(IsWindow(form));
  EXPECT_FALSE(IsWindow(button));
  EXPECT_FALSE(IsWindow(inner));
}

TEST(Win32PeersWithoutApplication, AnEscapingExceptionStopsAtTheWindowProcedure) {
  TWin32PeerFactory factory;
  TWin32AppHost host;
  TServices services;
  services.Peers = &factory;
  services.AppHost = &host;
  TScopedServices guard(services);
  TPeersForm form(nullptr);
  // Without an application the event dispatch lets the exception go on.
  form.Button->OnClick = [](TObject*) { throw Exception("nobody to tell"); };
  SendMessageA(H(form.Button), BM_CLICK, 0, 0);
  SUCCEED();
}

}  // namespace
