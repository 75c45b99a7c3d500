// The layout is designed in pixels at 96 dots per inch. A window on a finer
// display shows it larger by the display's DPI over 96; the models keep the
// designed numbers and the peers scale them on the way to the window.
#pragma once

#include "platform/Controls.h"

namespace platform {

inline constexpr int kDesignDpi = 96;

// A DPI the arithmetic can use: a failed query (0 or less) counts as 96.
int ValidDpi(int dpi);
// value * dpi / 96, rounded half away from zero, as MulDiv rounds.
int ScaleValue(int value, int dpi);
// The designed number of a size measured at dpi, rounded the same way.
int UnscaleValue(int pixels, int dpi);
// A rectangle scaled by its edges, so controls that meet or keep apart as
// designed still do; a control with a size keeps at least one pixel.
TRect ScaleRect(const TRect& designed, int dpi);
// A font height in pixels (negative: the characters alone); a height that
// is set stays at least one pixel.
int ScaleFontHeight(int height, int dpi);
// The character height of a point size: -MulDiv(points, dpi, 72).
int FontHeightForPoints(int points, int dpi);
// The smallest designed width from `left` whose scaled width holds `pixels`,
// so a text measured at the window's DPI is not cut once scaled back.
int DesignedExtent(int left, int pixels, int dpi);
// A window moved as little as it takes to lie inside a work area. One larger
// than the area keeps its top-left corner on the area, so that its title bar
// can always be reached.
TRect KeepInside(const TRect& window, const TRect& area);

}  // namespace platform
