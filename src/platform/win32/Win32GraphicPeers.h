// Painted controls: the hatched frame (TShape) and the icon picture (TImage).
#pragma once

#include "platform/win32/Win32Peer.h"

namespace platform::win32 {

// Paints a frame with a hatched brush; a picture above it paints it again.
class TWin32ShapePeer final : public TWin32Peer {
 public:
  explicit TWin32ShapePeer(TShape& shape);
  ~TWin32ShapePeer() override;
  void PaintTo(HDC dc) const;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TShape& FShape;
  TGdiObject FHatch;
};

// Shows an icon file, centred or at the top left.
class TWin32ImagePeer final : public TWin32Peer {
 public:
  explicit TWin32ImagePeer(TImage& image);
  ~TWin32ImagePeer() override;
  void Changed(TChange what) override;
  HICON Picture() const { return FIcon.get(); }
  void ScaleChanged() override;
  // The decoded JPEG picture, a DIB section; null without one.
  HBITMAP Bitmap() const { return static_cast<HBITMAP>(FBitmap.get()); }

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void LoadPicture();
  void LoadJpeg();
  void Paint(HDC dc) const;
  void PaintBitmap(HDC dc, const RECT& client) const;

  TImage& FImage;
  TIconHandle FIcon;
  TGdiObject FBitmap;
  SIZE FBitmapSize{0, 0};
};

}  // namespace platform::win32
