// Peers of the controls that hold others: plain containers, panels, the page
// control and its sheets.
#include "platform/win32/Win32ContainerPeers.h"

#include <commctrl.h>

namespace platform::win32 {

// ---- containers ----

TWin32ContainerPeer::TWin32ContainerPeer(TWinControl& model)
    : TWin32ContainerPeer(model, [&] {
        // Tab goes on into the container's controls.
        TCreateParams p = ChildParams(model, ClassName(TWindowClass::Container), WS_CLIPCHILDREN,
                                      WS_EX_CONTROLPARENT);
        p.OwnClass = true;
        return p;
      }()) {}

TWin32ContainerPeer::TWin32ContainerPeer(TWinControl& model, const TCreateParams& params)
    : TWin32Peer(model) {
  CreateChild(params);
}

LRESULT TWin32ContainerPeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    TPaintScope paint(window);
    RECT client;
    ::GetClientRect(window, &client);
    Paint(paint.Dc(), client);
    return 0;
  }
  return TWin32Peer::WndProc(window, message, wParam, lParam);
}

TWin32PanelPeer::TWin32PanelPeer(TPanel& panel) : TWin32ContainerPeer(panel), FPanel(panel) {
  FCaptionIsText = true;
}

void TWin32PanelPeer::Changed(TChange what) {
  TWin32ContainerPeer::Changed(what);
  if (what == TChange::Caption && Window()) ::InvalidateRect(Window(), nullptr, TRUE);
}

void TWin32PanelPeer::Paint(HDC dc, const RECT& client) {
  RECT r = client;
  for (TBevelCut cut : {FPanel.BevelOuter, FPanel.BevelInner}) {
    if (cut == TBevelCut::None) continue;
    ::DrawEdge(dc, &r, cut == TBevelCut::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    ::InflateRect(&r, -1, -1);
  }
  const std::string& caption = FPanel.Caption();
  if (caption.empty()) return;
  TSelectScope font(dc, Font());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- page control and sheets ----

TWin32PageControlPeer::TWin32PageControlPeer(TPageControl& pages)
    : TWin32Peer(pages), FPages(pages) {
  FCaptionIsText = false;
  CreateChild(ChildParams(pages, WC_TABCONTROLA, WS_TABSTOP | WS_CLIPCHILDREN));
  const auto sheets = pages.Pages();
  for (std::size_t i = 0; i < sheets.size(); ++i) SendTabText(TCM_INSERTITEMA, i, *sheets[i]);
  ::SendMessageA(Window(), TCM_SETCURSEL, static_cast<WPARAM>(pages.ActivePageIndex()), 0);
}

RECT TWin32PageControlPeer::PageRect() const {
  RECT r{};
  ::GetClientRect(Window(), &r);
  ::SendMessageA(Window(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TWin32PageControlPeer::ShowActivePage() {
  int active = FPages.ActivePageIndex();
  if (::SendMessageA(Window(), TCM_GETCURSEL, 0, 0) != active)
    ::SendMessageA(Window(), TCM_SETCURSEL, static_cast<WPARAM>(active), 0);
  auto pages = FPages.Pages();
  // Show the new sheet before hiding the old one, so nothing flashes through.
  for (std::size_t i = 0; i < pages.size(); ++i)
    if (static_cast<int>(i) == active && pages[i]->Visible() && pages[i]->Handle())
      ::ShowWindow(ToHwnd(pages[i]->Handle()), SW_SHOW);
  for (std::size_t i = 0; i < pages.size(); ++i)
    if ((static_cast<int>(i) != active || !pages[i]->Visible()) && pages[i]->Handle())
      ::ShowWindow(ToHwnd(pages[i]->Handle()), SW_HIDE);
}

void TWin32PageControlPeer::SendTabText(UINT message, std::size_t index, const TTabSheet& sheet) {
  // A tab wider than the strip cannot show its text anyway; a bounded one
  // keeps the strip's arithmetic well inside 16-bit coordinates.
  std::string text = sheet.Caption().substr(0, kTabTextMax);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  ::SendMessageA(Window(), message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TWin32PageControlPeer::Changed(TChange what) {
  if (what == TChange::ActivePage && Window()) {
    ShowActivePage();
    return;
  }
  if (what == TChange::Items && Window()) {
    // Every tab anew: the control measures each tab again, and a sheet that
    // never showed has no window to pass its caption on.
    const auto sheets = FPages.Pages();
    for (std::size_t i = 0; i < sheets.size(); ++i) SendTabText(TCM_SETITEMA, i, *sheets[i]);
    return;
  }
  TWin32Peer::Changed(what);
}

void TWin32PageControlPeer::ApplyBounds() {
  TWin32Peer::ApplyBounds();
  RECT r = PageRect();
  for (TTabSheet* sheet : FPages.Pages())
    if (sheet->Handle())
      ::MoveWindow(ToHwnd(sheet->Handle()), r.left, r.top, r.right - r.left, r.bottom - r.top,
                   TRUE);
}

bool TWin32PageControlPeer::Reflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != TCN_SELCHANGE)
    return false;
  FPages.UserSelected(static_cast<int>(::SendMessageA(Window(), TCM_GETCURSEL, 0, 0)));
  // The model may keep its page; the tabs follow the model either way.
  ShowActivePage();
  result = 0;
  return true;
}

TWin32TabSheetPeer::TCreateParams TWin32TabSheetPeer::SheetParams(TTabSheet& sheet,
                                                                  TWin32PageControlPeer& pages) {
  TCreateParams p = ChildParams(sheet, ClassName(TWindowClass::Container), WS_CLIPCHILDREN);
  p.OwnClass = true;
  p.Scaled = true;
  RECT r = pages.PageRect();
  p.Left = r.left;
  p.Top = r.top;
  p.Width = r.right - r.left;
  p.Height = r.bottom - r.top;
  auto all = static_cast<const TPageControl*>(sheet.Parent())->Pages();
  int active = static_cast<const TPageControl*>(sheet.Parent())->ActivePageIndex();
  p.Visible = sheet.Visible() && active >= 0 && active < static_cast<int>(all.size()) &&
              all[static_cast<std::size_t>(active)] == &sheet;
  return p;
}

TWin32TabSheetPeer::TWin32TabSheetPeer(TTabSheet& sheet, TWin32PageControlPeer& pages)
    : TWin32ContainerPeer(sheet, SheetParams(sheet, pages)) {
  FCaptionIsText = false;
}

TWin32PageControlPeer* TWin32TabSheetPeer::PagesPeer() const {
  TWinControl* parent = FModel.Parent();
  return parent ? dynamic_cast<TWin32PageControlPeer*>(parent->Peer()) : nullptr;
}

void TWin32TabSheetPeer::ApplyBounds() {
  // The page control places its sheets; their own bounds mean nothing.
  if (TWin32PageControlPeer* pages = PagesPeer()) {
    RECT r = pages->PageRect();
    ::MoveWindow(Window(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

void TWin32TabSheetPeer::ApplyVisible() {
  if (TWin32PageControlPeer* pages = PagesPeer()) pages->ShowActivePage();
}

}  // namespace platform::win32
