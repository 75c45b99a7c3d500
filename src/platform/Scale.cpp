#include "platform/Scale.h"

#include <algorithm>
#include <cstdint>

namespace platform {

namespace {

// numerator / denominator, half away from zero; the denominator is positive.
int RoundedDivide(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t magnitude = numerator < 0 ? -numerator : numerator;
  const std::int64_t rounded = (2 * magnitude + denominator) / (2 * denominator);
  return static_cast<int>(numerator < 0 ? -rounded : rounded);
}

}  // namespace

int ValidDpi(int dpi) { return dpi > 0 ? dpi : kDesignDpi; }

int ScaleValue(int value, int dpi) {
  return RoundedDivide(std::int64_t{value} * ValidDpi(dpi), kDesignDpi);
}

int UnscaleValue(int pixels, int dpi) {
  return RoundedDivide(std::int64_t{pixels} * kDesignDpi, ValidDpi(dpi));
}

TRect ScaleRect(const TRect& designed, int dpi) {
  TRect r;
  r.Left = ScaleValue(designed.Left, dpi);
  r.Top = ScaleValue(designed.Top, dpi);
  r.Width = ScaleValue(designed.Left + designed.Width, dpi) - r.Left;
  r.Height = ScaleValue(designed.Top + designed.Height, dpi) - r.Top;
  if (designed.Width > 0 && r.Width < 1) r.Width = 1;
  if (designed.Height > 0 && r.Height < 1) r.Height = 1;
  return r;
}

int ScaleFontHeight(int height, int dpi) {
  const int scaled = ScaleValue(height, dpi);
  if (height != 0 && scaled == 0) return height < 0 ? -1 : 1;
  return scaled;
}

int FontHeightForPoints(int points, int dpi) {
  return -RoundedDivide(std::int64_t{points} * ValidDpi(dpi), 72);
}

int DesignedExtent(int left, int pixels, int dpi) {
  if (pixels <= 0) return 0;
  // Two rounded edges lose at most one pixel, so no width below
  // (pixels - 1) / scale fits; step up from there to the first that does.
  int width = static_cast<int>(std::int64_t{pixels - 1} * kDesignDpi / ValidDpi(dpi));
  while (ScaleRect({left, 0, width, 1}, dpi).Width < pixels) ++width;
  return width;
}

TRect KeepInside(const TRect& window, const TRect& area) {
  // The far edge first, then the near one: the near one wins.
  const auto axis = [](int at, int size, int start, int extent) {
    return std::max(start, std::min(at, start + extent - size));
  };
  TRect r = window;
  r.Left = axis(window.Left, window.Width, area.Left, area.Width);
  r.Top = axis(window.Top, window.Height, area.Top, area.Height);
  return r;
}

}  // namespace platform
