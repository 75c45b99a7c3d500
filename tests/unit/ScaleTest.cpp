#include <gtest/gtest.h>

#include "platform/Scale.h"

using namespace platform;

namespace {

struct TCase {
  int Dpi;
  int Value, Scaled;     // ScaleValue, and UnscaleValue back
  int Font, FontScaled;  // ScaleFontHeight
  int Points8;           // FontHeightForPoints(8)
  TRect Rect, RectScaled;
};

// Halves round away from zero, as MulDiv does: 113 * 1.5 is 169.5. A
// rectangle's edges are rounded, not its size: the main window's picture
// (397, 63, 73, 65) still reaches past its frame (398, 65, 71, 63) on both
// sides. Far below 96 DPI a control and a font keep a pixel.
const TCase kCases[] = {
    {96, 113, 113, -19, -19, -11, {-2, 0, 274, 161}, {-2, 0, 274, 161}},
    {120, 10, 13, -10, -13, -13, {8, 79, 113, 25}, {10, 99, 141, 31}},
    {120, 13, 16, -11, -14, -13, {-1, 160, 273, 89}, {-1, 200, 341, 111}},
    {144, 113, 170, -11, -17, -16, {397, 63, 73, 65}, {596, 95, 109, 97}},
    {144, -1, -2, -19, -29, -16, {398, 65, 71, 63}, {597, 98, 107, 94}},
    {192, 21, 42, -11, -22, -21, {8, 79, 113, 25}, {16, 158, 226, 50}},
    {40, 3, 1, -1, -1, -4, {2, 2, 1, 1}, {1, 1, 1, 1}},
    {0, 25, 25, -11, -11, -11, {1, 1, 0, 0}, {1, 1, 0, 0}},  // a failed query counts as 96
};

TEST(ScaleTest, ValuesFontsAndRectanglesAtEveryDpi) {
  for (const TCase& c : kCases) {
    SCOPED_TRACE(c.Dpi);
    EXPECT_EQ(ScaleValue(c.Value, c.Dpi), c.Scaled);
    if (c.Dpi >= 96) {
      EXPECT_EQ(UnscaleValue(c.Scaled, c.Dpi), c.Value);
    }
    EXPECT_EQ(ScaleFontHeight(c.Font, c.Dpi), c.FontScaled);
    EXPECT_EQ(FontHeightForPoints(8, c.Dpi), c.Points8);
    const TRect r = ScaleRect(c.Rect, c.Dpi);
    EXPECT_EQ(r.Left, c.RectScaled.Left);
    EXPECT_EQ(r.Top, c.RectScaled.Top);
    EXPECT_EQ(r.Width, c.RectScaled.Width);
    EXPECT_EQ(r.Height, c.RectScaled.Height);
  }
}

TEST(ScaleTest, AMeasuredTextGetsTheSmallestDesignedWidthThatHoldsIt) {
  for (int dpi : {72, 96, 120, 144, 192})
    for (int left : {0, 1, 7, 126})
      for (int pixels : {1, 13, 57, 100, 171}) {
        const int width = DesignedExtent(left, pixels, dpi);
        EXPECT_GE(ScaleRect({left, 0, width, 1}, dpi).Width, pixels) << dpi << " " << left;
        EXPECT_LT(ScaleRect({left, 0, width - 1, 1}, dpi).Width, pixels) << dpi << " " << left;
      }
  EXPECT_EQ(DesignedExtent(5, 0, 144), 0);
}

TEST(ScaleTest, AWindowMovesIntoItsWorkAreaAndATooLargeOneToItsTopLeft) {
  const TRect area{60, 0, 964, 716};  // a taskbar on the left
  const TRect cases[][2] = {{{900, 600, 491, 227}, {533, 489}},
                            {{-20, -8, 491, 227}, {60, 0}},
                            {{318, 254, 1040, 784}, {60, 0}}};
  for (const auto& c : cases) {
    const TRect r = KeepInside(c[0], area);
    EXPECT_EQ(std::pair(r.Left, r.Top), std::pair(c[1].Left, c[1].Top)) << c[0].Left;
  }
}

}  // namespace
