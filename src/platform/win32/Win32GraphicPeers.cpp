// Painted controls: the hatched frame (TShape) and the icon picture (TImage).
#include "platform/win32/Win32GraphicPeers.h"

#include <algorithm>
#include <vector>

namespace platform::win32 {

// ---- shape ----

TWin32ShapePeer::TWin32ShapePeer(TShape& shape) : TWin32Peer(shape), FShape(shape) {
  FCaptionIsText = false;
  FHatch.reset(::CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 0)));
  TCreateParams p = ChildParams(shape, ClassName(TWindowClass::Graphic), 0);
  p.Text.clear();
  p.OwnClass = true;
  CreateChild(p);
}

TWin32ShapePeer::~TWin32ShapePeer() { DestroyNow(); }

void TWin32ShapePeer::PaintTo(HDC dc) const {
  RECT r;
  ::GetClientRect(Window(), &r);
  if (FShape.CrossBrush && FHatch) {
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::FillRect(dc, &r, static_cast<HBRUSH>(FHatch.get()));
  } else {
    ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  // The pen lies wholly inside the bounds.
  int pen = std::clamp(FShape.PenWidth, 0, static_cast<int>(std::min(r.right, r.bottom) / 2));
  if (pen <= 0) return;
  auto black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  RECT top{0, 0, r.right, pen}, bottom{0, r.bottom - pen, r.right, r.bottom};
  RECT left{0, 0, pen, r.bottom}, right{r.right - pen, 0, r.right, r.bottom};
  for (const RECT* band : {&top, &bottom, &left, &right}) ::FillRect(dc, band, black);
}

LRESULT TWin32ShapePeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      TPaintScope paint(window);
      PaintTo(paint.Dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      return TWin32Peer::WndProc(window, message, wParam, lParam);
  }
}

// ---- image ----

TWin32ImagePeer::TWin32ImagePeer(TImage& image) : TWin32Peer(image), FImage(image) {
  FCaptionIsText = false;
  TCreateParams p = ChildParams(image, ClassName(TWindowClass::Graphic), 0);
  p.Text.clear();
  p.OwnClass = true;
  CreateChild(p);
  LoadPicture();
}

TWin32ImagePeer::~TWin32ImagePeer() { DestroyNow(); }

void TWin32ImagePeer::LoadPicture() {
  // A missing or broken file leaves the picture empty.
  const std::string& file = FImage.PictureFile();
  FIcon.reset(file.empty() ? nullptr
                           : static_cast<HICON>(::LoadImageA(nullptr, file.c_str(), IMAGE_ICON, 0,
                                                             0, LR_LOADFROMFILE | LR_DEFAULTSIZE)));
  if (Window()) ::InvalidateRect(Window(), nullptr, FALSE);
}

void TWin32ImagePeer::Changed(TChange what) {
  if (what == TChange::Picture) {
    LoadPicture();
    return;
  }
  TWin32Peer::Changed(what);
}

void TWin32ImagePeer::Paint(HDC dc) const {
  HWND self = Window();
  RECT client;
  ::GetClientRect(self, &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));

  // An icon is transparent around its shape, so the painted siblings below
  // this window (the frame behind the picture) must show through.
  std::vector<HWND> below;
  for (HWND s = ::GetWindow(self, GW_HWNDNEXT); s; s = ::GetWindow(s, GW_HWNDNEXT))
    below.push_back(s);
  for (auto it = below.rbegin(); it != below.rend(); ++it) {
    auto* shape = dynamic_cast<TWin32ShapePeer*>(FromWindow(*it));
    if (!shape || !::IsWindowVisible(*it)) continue;
    POINT origin{0, 0};
    ::MapWindowPoints(*it, self, &origin, 1);
    RECT area;
    ::GetClientRect(*it, &area);
    ::OffsetRect(&area, origin.x, origin.y);
    RECT overlap;
    if (!::IntersectRect(&overlap, &area, &client)) continue;
    TSavedDc saved(dc);
    ::IntersectClipRect(dc, overlap.left, overlap.top, overlap.right, overlap.bottom);
    ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    shape->PaintTo(dc);
  }

  if (!FIcon) return;
  int width = ::GetSystemMetrics(SM_CXICON), height = ::GetSystemMetrics(SM_CYICON);
  int x = FImage.Center ? (client.right - width) / 2 : 0;
  int y = FImage.Center ? (client.bottom - height) / 2 : 0;
  ::DrawIconEx(dc, x, y, FIcon.get(), width, height, 0, nullptr, DI_NORMAL);
}

LRESULT TWin32ImagePeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      TPaintScope paint(window);
      Paint(paint.Dc());
      return 0;
    }
    default:
      return TWin32Peer::WndProc(window, message, wParam, lParam);
  }
}

}  // namespace platform::win32
