// Painted controls: the hatched frame (TShape) and the picture (TImage), an
// icon file or a JPEG picture.
#include "platform/win32/Win32GraphicPeers.h"

#include <algorithm>
#include <vector>

#include "platform/Jpeg.h"
#include "platform/Scale.h"
#include "platform/win32/Win32Dpi.h"

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
  int pen = std::clamp(ScaleValue(FShape.PenWidth, Dpi()), 0,
                       static_cast<int>(std::min(r.right, r.bottom) / 2));
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

void TWin32ImagePeer::LoadJpeg() {
  FBitmap.reset();
  FBitmapSize = {0, 0};
  TRgbImage image;
  if (!DecodeJpeg(FImage.Jpeg(), image)) return;
  // A top-down 24-bit DIB section: rows of blue, green, red, each padded to
  // four bytes.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.Width;
  info.bmiHeader.biHeight = -image.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return;
  const std::size_t stride = (static_cast<std::size_t>(image.Width) * 3 + 3) & ~std::size_t{3};
  for (int y = 0; y < image.Height; ++y) {
    const std::uint8_t* from = image.Pixels.data() + static_cast<std::size_t>(y) * image.Width * 3;
    auto* to = static_cast<std::uint8_t*>(bits) + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < image.Width; ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  FBitmap = std::move(bitmap);
  FBitmapSize = {image.Width, image.Height};
}

void TWin32ImagePeer::LoadPicture() {
  LoadJpeg();
  // A missing or broken file leaves the picture empty.
  const std::string& file = FImage.PictureFile();
  // The icon file's own image for the icon size at the form's DPI.
  const int size = MetricForDpi(SM_CXICON, Dpi());
  FIcon.reset(file.empty() ? nullptr
                           : static_cast<HICON>(::LoadImageA(nullptr, file.c_str(), IMAGE_ICON,
                                                             size, size, LR_LOADFROMFILE)));
  if (Window()) ::InvalidateRect(Window(), nullptr, FALSE);
}

void TWin32ImagePeer::ScaleChanged() {
  TWin32Peer::ScaleChanged();
  const std::string& file = FImage.PictureFile();
  if (!file.empty()) LoadPicture();
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

  if (FBitmap) {
    PaintBitmap(dc, client);
    return;
  }
  if (!FIcon) return;
  int width = MetricForDpi(SM_CXICON, Dpi()), height = MetricForDpi(SM_CYICON, Dpi());
  int x = FImage.Center ? (client.right - width) / 2 : 0;
  int y = FImage.Center ? (client.bottom - height) / 2 : 0;
  ::DrawIconEx(dc, x, y, FIcon.get(), width, height, 0, nullptr, DI_NORMAL);
}

void TWin32ImagePeer::PaintBitmap(HDC dc, const RECT& client) const {
  const TMemoryDc memory(::CreateCompatibleDC(dc));
  if (!memory) return;
  TSelectScope picture(memory.get(), FBitmap.get());
  // A picture drawn at its own size is designed at 96 DPI like the rest.
  int width = client.right, height = client.bottom, x = 0, y = 0;
  if (!FImage.Stretch) {
    width = ScaleValue(FBitmapSize.cx, Dpi());
    height = ScaleValue(FBitmapSize.cy, Dpi());
    if (FImage.Center) {
      x = (client.right - width) / 2;
      y = (client.bottom - height) / 2;
    }
  }
  if (width == FBitmapSize.cx && height == FBitmapSize.cy) {
    ::BitBlt(dc, x, y, width, height, memory.get(), 0, 0, SRCCOPY);
    return;
  }
  ::SetStretchBltMode(dc, COLORONCOLOR);
  ::StretchBlt(dc, x, y, width, height, memory.get(), 0, 0, FBitmapSize.cx, FBitmapSize.cy,
               SRCCOPY);
}

LRESULT TWin32ImagePeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONUP:
      FImage.UserClicked();
      return 0;
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
