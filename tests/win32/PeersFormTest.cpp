// The form peer against real windows under Wine: closing, minimising,
// resizing and modal forms, and which windows lead to a peer.
#include "PeersTest.h"
#include "platform/win32/ListeningWindow.h"
#include "platform/win32/Win32Keyboard.h"

namespace peerstest {
namespace {

// Tab goes through the controls in the model's order, into the page shown
// and round the end; Ctrl+Tab turns the pages, and the tabs take the focus
// from a page that goes.
TEST_F(Win32Peers, TabAndCtrlTabMoveTheFocusInTheModelsOrder) {
  SetFocus(H(Form->Button));
  const struct {
    bool ctrl, shift;
    TControl* focus;
    int page;
  } steps[] = {{false, false, Form->Box, 0},   {false, false, Form->Combo, 0},
               {false, false, Form->Edit, 0},  {false, false, Form->List, 0},
               {false, false, Form->Pages, 0}, {false, false, Form->Button, 0},
               {false, true, Form->Pages, 0},  {true, false, Form->Pages, 1},
               {false, false, Form->Inner, 1}, {true, true, Form->Pages, 0}};
  for (const auto& step : steps) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = step.ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = step.shift ? 0x80 : 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(HandleNavigationKey(MSG{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}}));
    EXPECT_TRUE(GetFocus() == H(step.focus) || IsChild(H(step.focus), GetFocus()))
        << step.focus->Name();
    EXPECT_EQ(Form->Pages->ActivePageIndex(), step.page) << step.focus->Name();
  }
  BYTE keys[256] = {};
  SetKeyboardState(keys);
  // Enter presses the focused button; on a check box it does nothing.
  int clicks = 0;
  Form->Button->OnClick = [&](TObject*) { ++clicks; };
  for (TControl* focus :
       {static_cast<TControl*>(Form->Button), static_cast<TControl*>(Form->Box)}) {
    SetFocus(H(focus));
    EXPECT_EQ(HandleNavigationKey(MSG{GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}}),
              focus == Form->Button);
  }
  EXPECT_EQ(clicks, 1);
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
  // The taskbar button's Close asks the same, and takes no window away.
  HWND app = reinterpret_cast<HWND>(App->Handle());
  SendMessageA(app, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(IsWindow(app));
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

TEST_F(Win32Peers, TheApplicationWindowListensAndOutlivesItsListeners) {
  HWND app = reinterpret_cast<HWND>(App->Handle());
  const unsigned listener = StartListening([](std::uint32_t m, TWParam, TLParam, TLResult& r) {
    r = 3;
    return m == WM_APP + 7;
  });
  EXPECT_EQ(ListeningWindow(), app);
  EXPECT_EQ(SendMessageA(app, WM_APP + 7, 0, 0), 3);
  StopListening(listener);
  EXPECT_TRUE(IsWindow(app));
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
}  // namespace peerstest
