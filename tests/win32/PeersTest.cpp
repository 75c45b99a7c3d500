// The control peers against real windows under Wine: model changes must show
// in the windows, and real window messages must reach the models' input
// methods.
#include "PeersTest.h"

namespace peerstest {
namespace {

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

}  // namespace
}  // namespace peerstest
