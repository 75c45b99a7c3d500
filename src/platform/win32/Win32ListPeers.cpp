// The check list: an owner-drawn list box that paints a check box before
// each item, grey for a disabled item, and turns clicks on it, or the space
// bar, into toggles, which the model refuses for a disabled item.
#include "platform/win32/Win32ListPeers.h"

#include <algorithm>

#include "platform/Scale.h"

namespace platform::win32 {

namespace {

constexpr int kCheckSize = 13;

}  // namespace

TWin32CheckListPeer::TWin32CheckListPeer(TCheckListBox& list) : TWin32Peer(list), FList(list) {
  FCaptionIsText = false;
  TCreateParams p = ChildParams(list, "LISTBOX",
                                WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                WS_EX_CLIENTEDGE);
  p.Text.clear();
  CreateChild(p);
  // The list measured its items before this peer could answer; set the
  // height the model wants now.
  ::SendMessageA(Window(), LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(ItemHeight()));
  FillItems();
}

int TWin32CheckListPeer::CheckWidth() const { return ScaleValue(kCheckSize + 2, Dpi()); }

int TWin32CheckListPeer::ItemHeight() const { return ScaleValue(FList.ItemHeight, Dpi()); }

void TWin32CheckListPeer::ScaleChanged() {
  ::SendMessageA(Window(), LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(ItemHeight()));
  TWin32Peer::ScaleChanged();
}

void TWin32CheckListPeer::FillItems() {
  HWND window = Window();
  LRESULT selected = ::SendMessageA(window, LB_GETCURSEL, 0, 0);
  LRESULT top = ::SendMessageA(window, LB_GETTOPINDEX, 0, 0);
  ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(window, LB_RESETCONTENT, 0, 0);
  for (const std::string& item : FList.Items().Items())
    ::SendMessageA(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (selected >= 0 && selected < FList.Items().Count())
    ::SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  if (top > 0) ::SendMessageA(window, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(window, nullptr, TRUE);
}

void TWin32CheckListPeer::Changed(TChange what) {
  if (!Window()) return;
  switch (what) {
    case TChange::Items:
      FillItems();
      return;
    case TChange::Checked:
      ::InvalidateRect(Window(), nullptr, FALSE);
      return;
    default:
      TWin32Peer::Changed(what);
  }
}

LRESULT TWin32CheckListPeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The list selects the item first; a press on the box also toggles it
      // (the model keeps a disabled item as it is).
      LRESULT result = CallDefault(window, message, wParam, lParam);
      LRESULT hit = ::SendMessageA(window, LB_ITEMFROMPOINT, 0, lParam);
      int index = LOWORD(hit);
      bool outside = HIWORD(hit) != 0;
      int x = static_cast<short>(LOWORD(lParam));
      if (!outside && x >= 0 && x < CheckWidth()) FList.UserToggled(index);
      return result;
    }
    case WM_CHAR:
      if (wParam == ' ') {
        // Swallowed: the list would otherwise jump to an item starting with a space.
        LRESULT selected = ::SendMessageA(window, LB_GETCURSEL, 0, 0);
        if (selected >= 0) FList.UserToggled(static_cast<int>(selected));
        return 0;
      }
      break;
    default:
      break;
  }
  return TWin32Peer::WndProc(window, message, wParam, lParam);
}

bool TWin32CheckListPeer::Reflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(ItemHeight());
      result = TRUE;
      return true;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    default:
      return false;
  }
}

void TWin32CheckListPeer::DrawItem(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  if (item.itemID == static_cast<UINT>(-1)) {
    // An empty list still shows where the focus is.
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &r);
    return;
  }
  int index = static_cast<int>(item.itemID);
  if (index >= FList.Items().Count()) return;
  bool enabled = ::IsWindowEnabled(item.hwndItem) != FALSE && FList.ItemEnabled(index);
  bool selected = (item.itemState & ODS_SELECTED) != 0;

  RECT box = r;
  box.right = r.left + CheckWidth();
  ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_WINDOW));
  RECT text = r;
  text.left = box.right;
  ::FillRect(dc, &text, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

  int size = std::min(ScaleValue(kCheckSize, Dpi()), static_cast<int>(r.bottom - r.top));
  RECT check;
  check.left = r.left + (CheckWidth() - size) / 2;
  check.top = r.top + (r.bottom - r.top - size) / 2;
  check.right = check.left + size;
  check.bottom = check.top + size;
  UINT state = DFCS_BUTTONCHECK;
  if (FList.Checked(index)) state |= DFCS_CHECKED;
  if (!enabled) state |= DFCS_INACTIVE;
  ::DrawFrameControl(dc, &check, DFC_BUTTON, state);

  TSelectScope font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(!enabled   ? COLOR_GRAYTEXT
                                   : selected ? COLOR_HIGHLIGHTTEXT
                                              : COLOR_WINDOWTEXT));
  const std::string& caption = FList.Items()[index];
  RECT textArea = text;
  textArea.left += 2;
  ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textArea,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &text);
}

}  // namespace platform::win32
