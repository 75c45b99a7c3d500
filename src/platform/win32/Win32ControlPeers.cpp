// Peers of the standard controls: buttons, check boxes, edits, combo boxes,
// labels, bevels and the status bar.
#include "platform/win32/Win32ControlPeers.h"

#include <commctrl.h>

#include "platform/Scale.h"

namespace platform::win32 {

namespace {

constexpr int kDroppedItems = 8;  // items the open list of a combo box shows

// A combo box's window height: the closed box and its open list.
int WithDroppedList(int closedHeight, int itemHeight) {
  return closedHeight + kDroppedItems * itemHeight + 2;
}

// The height of the font's characters, as a list's items are high; 0 when
// it cannot be measured.
int FontHeight(HFONT font) {
  TWindowDc screen;
  if (!screen.Dc() || !font) return 0;
  TSelectScope selected(screen.Dc(), font);
  TEXTMETRICA metrics{};
  return ::GetTextMetricsA(screen.Dc(), &metrics) ? metrics.tmHeight : 0;
}

}  // namespace

// ---- buttons ----

TWin32ButtonPeer::TWin32ButtonPeer(TButton& button) : TWin32Peer(button), FButton(button) {
  CreateChild(ChildParams(button, "BUTTON",
                          (button.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP));
}

bool TWin32ButtonPeer::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  FButton.UserClicked();
  result = 0;
  return true;
}

// ---- check boxes ----

TWin32CheckBoxPeer::TWin32CheckBoxPeer(TCheckBox& box) : TWin32Peer(box), FBox(box) {
  CreateChild(ChildParams(box, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP));
  ::SendMessageA(Window(), BM_SETCHECK, box.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TWin32CheckBoxPeer::Changed(TChange what) {
  if (what == TChange::Checked && Window()) {
    ::SendMessageA(Window(), BM_SETCHECK, FBox.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    return;
  }
  TWin32Peer::Changed(what);
}

LRESULT TWin32CheckBoxPeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    LRESULT result = CallDefault(window, message, wParam, lParam);
    FBox.UserMouseDown();
    return result;
  }
  return TWin32Peer::WndProc(window, message, wParam, lParam);
}

bool TWin32CheckBoxPeer::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
  bool shown = ::SendMessageA(Window(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (shown != FBox.Checked()) FBox.UserToggled();
  result = 0;
  return true;
}

// ---- combo box ----

TWin32ComboBoxPeer::TWin32ComboBoxPeer(TComboBox& combo) : TWin32Peer(combo), FCombo(combo) {
  FCaptionIsText = false;
  DWORD style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                (combo.Editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
  TCreateParams p = ChildParams(combo, "COMBOBOX", style);
  p.Text.clear();
  // The window's height includes the open list, whose items are as high as
  // the font: made at that height, the box needs no second layout.
  const int itemHeight = FontHeight(FormFont());
  if (itemHeight > 0) {
    const TRect b = ScaledBounds();
    p.Left = b.Left;
    p.Top = b.Top;
    p.Width = b.Width;
    p.Height = WithDroppedList(b.Height, itemHeight);
    p.Scaled = true;
  }
  CreateChild(p);
  FillItems();
  ShowText();
  if (::SendMessageA(Window(), CB_GETITEMHEIGHT, 0, 0) != itemHeight) ApplyBounds();
}

std::vector<HWND> TWin32ComboBoxPeer::ToolWindows() const {
  // The edit field covers most of the box, so it needs the hint as well.
  return {Window(), ::FindWindowExA(Window(), nullptr, "Edit", nullptr)};
}

void TWin32ComboBoxPeer::ApplyBounds() {
  // The model's height is the closed box; the window's includes the list.
  const TRect b = ScaledBounds();
  LRESULT item = ::SendMessageA(Window(), CB_GETITEMHEIGHT, 0, 0);
  int itemHeight = item > 0 ? static_cast<int>(item) : 16;
  ::MoveWindow(Window(), b.Left, b.Top, b.Width, WithDroppedList(b.Height, itemHeight), TRUE);
}

void TWin32ComboBoxPeer::FillItems() {
  TFlagScope updating(FUpdating);
  ::SendMessageA(Window(), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : FCombo.Items().Items())
    ::SendMessageA(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TWin32ComboBoxPeer::ShowText() {
  TFlagScope updating(FUpdating);
  int index = FCombo.ItemIndex();
  ::SendMessageA(Window(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (index < 0 && FCombo.Editable) ::SetWindowTextA(Window(), FCombo.Text().c_str());
}

void TWin32ComboBoxPeer::Changed(TChange what) {
  if (!Window()) return;
  switch (what) {
    case TChange::Items:
      FillItems();
      ShowText();  // emptying the list also empties the edit field
      return;
    case TChange::Text:
    case TChange::ItemIndex:
      ShowText();
      return;
    default:
      TWin32Peer::Changed(what);
  }
}

bool TWin32ComboBoxPeer::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND) return false;
  switch (HIWORD(wParam)) {
    case CBN_EDITCHANGE:
      if (!FUpdating) FCombo.UserEdited(WindowText(Window()));
      break;
    case CBN_SELCHANGE:
      if (!FUpdating)
        FCombo.UserSelected(static_cast<int>(::SendMessageA(Window(), CB_GETCURSEL, 0, 0)));
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

// ---- edit ----

TWin32EditPeer::TWin32EditPeer(TEdit& edit) : TWin32Peer(edit), FEdit(edit) {
  FCaptionIsText = false;
  TCreateParams p = ChildParams(edit, "EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
  p.Text = edit.Text();
  TFlagScope updating(FUpdating);
  CreateChild(p);
}

void TWin32EditPeer::Changed(TChange what) {
  if (what == TChange::Text && Window()) {
    TFlagScope updating(FUpdating);
    ::SetWindowTextA(Window(), FEdit.Text().c_str());
    return;
  }
  TWin32Peer::Changed(what);
}

bool TWin32EditPeer::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND) return false;
  switch (HIWORD(wParam)) {
    case EN_CHANGE:
      if (!FUpdating) FEdit.UserEdited(WindowText(Window()));
      break;
    case EN_KILLFOCUS:
      FEdit.UserLeft();
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

// ---- label ----

TWin32LabelPeer::TWin32LabelPeer(TLabel& label) : TWin32Peer(label), FLabel(label) {
  // A label that fits its text never needs to wrap it; one that does not
  // fit is cut rather than broken over a second line it has no room for.
  // SS_NOTIFY lets the mouse reach it: a link label opens on the press.
  const DWORD align = label.Centered ? SS_CENTER : SS_LEFTNOWORDWRAP;
  // A transparent label is painted after the controls below it, which do
  // not leave out its place.
  CreateChild(
      ChildParams(label, "STATIC", align | SS_NOTIFY, label.Transparent ? WS_EX_TRANSPARENT : 0));
  Measure();
}

TWin32LabelPeer::~TWin32LabelPeer() { DestroyNow(); }

void TWin32LabelPeer::MakeFont(HFONT formFont) {
  const TFont& font = FLabel.Font();
  if (font.Height == 0 && !font.Bold && !font.Underline) {
    FOwnFont.reset();
    return;
  }
  LOGFONTA log{};
  if (!formFont || !::GetObjectA(formFont, sizeof log, &log)) return;
  if (font.Height != 0) log.lfHeight = ScaleFontHeight(font.Height, Dpi());
  if (font.Bold) log.lfWeight = FW_BOLD;
  log.lfUnderline = font.Underline ? TRUE : FALSE;
  FOwnFont.reset(::CreateFontIndirectA(&log));
}

void TWin32LabelPeer::Changed(TChange what) {
  TWin32Peer::Changed(what);
  if (what == TChange::Caption) Measure();
  if (what == TChange::Font && Window()) {
    // WM_SETFONT comes back here and puts the label's own font in place.
    ::SendMessageA(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), TRUE);
    ::InvalidateRect(Window(), nullptr, TRUE);
  }
}

bool TWin32LabelPeer::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_CTLCOLORSTATIC) return false;
  const TFont& font = FLabel.Font();
  if (font.Color == clWindowText && !FLabel.Transparent) return false;
  const HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetTextColor(dc, ToColorRef(font.Color));
  if (FLabel.Transparent) {
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
  } else {
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
  }
  return true;
}

void TWin32LabelPeer::Measure() {
  if (!Window()) return;
  RECT r{0, 0, 0, 0};
  {
    TWindowDc dc(Window());
    if (!dc.Dc()) return;
    TSelectScope font(dc.Dc(),
                      reinterpret_cast<HGDIOBJ>(::SendMessageA(Window(), WM_GETFONT, 0, 0)));
    // An empty caption keeps the height of a line.
    const std::string text = FLabel.Caption().empty() ? std::string(" ") : FLabel.Caption();
    if (!::DrawTextA(dc.Dc(), text.c_str(), static_cast<int>(text.size()), &r,
                     DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS))
      return;
  }
  // Back in designed pixels, so that the scaled box still holds the text.
  const TRect& b = FLabel.Bounds();
  FLabel.TextMeasured(DesignedExtent(b.Left, r.right - r.left, Dpi()),
                      DesignedExtent(b.Top, r.bottom - r.top, Dpi()));
  // While the peer is being made the model cannot reach it yet.
  ApplyBounds();
}

LRESULT TWin32LabelPeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFONT) {
    // The form hands out its font; a label with a font of its own keeps it.
    MakeFont(reinterpret_cast<HFONT>(wParam));
    if (FOwnFont) wParam = reinterpret_cast<WPARAM>(FOwnFont.get());
  }
  const LRESULT result = TWin32Peer::WndProc(window, message, wParam, lParam);
  if (message == WM_SETFONT) Measure();
  if (message == WM_LBUTTONDOWN) FLabel.UserMouseDown();
  return result;
}

// ---- static frames ----

TWin32StaticPeer::TWin32StaticPeer(TControl& control, DWORD style, bool caption)
    : TWin32Peer(control) {
  FCaptionIsText = caption;
  TCreateParams p = ChildParams(control, "STATIC", style);
  if (!caption) p.Text.clear();
  CreateChild(p);
}

LRESULT TWin32StaticPeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A frame draws only its edge, and its parent clips its children: without
  // this the inside of a bevel shows whatever was on the screen before.
  if (message == WM_ERASEBKGND) {
    RECT client;
    ::GetClientRect(window, &client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return TWin32Peer::WndProc(window, message, wParam, lParam);
}

// ---- status bar ----

TWin32StatusBarPeer::TWin32StatusBarPeer(TStatusBar& bar) : TWin32Peer(bar), FBar(bar) {
  FCaptionIsText = false;
  TCreateParams p = ChildParams(bar, STATUSCLASSNAMEA, CCS_BOTTOM);
  p.Text.clear();
  CreateChild(p);
  // Never a size grip, even on a sizeable form.
  LONG_PTR style = ::GetWindowLongPtrA(Window(), GWL_STYLE);
  if (style & SBARS_SIZEGRIP) ::SetWindowLongPtrA(Window(), GWL_STYLE, style & ~SBARS_SIZEGRIP);
  ::SendMessageA(Window(), SB_SIMPLE, TRUE, 0);
  Changed(TChange::Text);
  ApplyBounds();
}

void TWin32StatusBarPeer::Changed(TChange what) {
  if (what == TChange::Text && Window()) {
    ::SendMessageA(Window(), SB_SETTEXTA, SB_SIMPLEID,
                   reinterpret_cast<LPARAM>(FBar.SimpleText().c_str()));
    return;
  }
  TWin32Peer::Changed(what);
}

void TWin32StatusBarPeer::ApplyBounds() {
  // Docked at the bottom of the form: it sizes itself.
  ::SendMessageA(Window(), WM_SIZE, 0, 0);
}

}  // namespace platform::win32
