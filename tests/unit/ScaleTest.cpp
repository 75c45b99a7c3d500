#include <gtest/gtest.h>

#include "platform/Scale.h"

using namespace platform;

namespace {

struct TCase {
  int Dpi;
  int Value, Scaled;     // ScaleValue
  int Font, FontScaled;  // ScaleFontHeight
  int FontPoints;        // FontHeightForPoints(8)
};

// Halves round away from zero, as MulDiv does: 113 * 1.5 is 169.5.
const TCase kCases[] = {
    {96, 113, 113, -19, -19, -11},  {120, 10, 13, -10, -13, -13}, {120, 13, 16, -11, -14, -13},
    {144, 113, 170, -11, -17, -16}, {144, -1, -2, -19, -29, -16}, {192, 21, 42, -11, -22, -21},
    {0, 25, 25, -11, -11, -11},  // a failed query counts as 96
};

TEST(ScaleTest, RoundsHalfAwayFromZeroAtEveryDpi) {
  for (const TCase& c : kCases) {
    SCOPED_TRACE(c.Dpi);
    EXPECT_EQ(ScaleValue(c.Value, c.Dpi), c.Scaled);
    EXPECT_EQ(UnscaleValue(c.Scaled, c.Dpi), c.Value);
    EXPECT_EQ(ScaleFontHeight(c.Font, c.Dpi), c.FontScaled);
    EXPECT_EQ(FontHeightForPoints(8, c.Dpi), c.FontPoints);
  }
}

TEST(ScaleTest, RectanglesScaleByTheirEdgesAndKeepAPixel) {
  // The main window's picture over its frame: both edges of each rounded
  // on their own, so the picture still reaches past the frame on both sides.
  const TRect image = ScaleRect({397, 63, 73, 65}, 144);
  const TRect frame = ScaleRect({398, 65, 71, 63}, 144);
  EXPECT_EQ(image.Left, 596);
  EXPECT_EQ(image.Width, 109);
  EXPECT_EQ(image.Left + image.Width, 705);
  EXPECT_LT(image.Left, frame.Left);
  EXPECT_GT(image.Left + image.Width, frame.Left + frame.Width);
  // Neighbours that meet as designed meet after scaling, at any rounding.
  for (int dpi : {120, 144, 168, 192}) {
    const TRect a = ScaleRect({-1, 160, 273, 89}, dpi), b = ScaleRect({272, 160, 5, 89}, dpi);
    EXPECT_EQ(a.Left + a.Width, b.Left) << dpi;
  }
  // Far below 96 DPI a one-pixel control keeps its pixel, and a font its
  // height; nothing is made of no size.
  EXPECT_EQ(ScaleRect({1, 1, 1, 1}, 48).Width, 1);
  EXPECT_EQ(ScaleRect({1, 1, 1, 1}, 48).Height, 1);
  EXPECT_EQ(ScaleRect({1, 1, 0, 0}, 48).Width, 0);
  EXPECT_EQ(ScaleFontHeight(-1, 40), -1);
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

}  // namespace
