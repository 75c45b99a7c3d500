// The about box's pictures, as the build draws them, decode to their
// designed sizes; what is not a picture decodes to nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/Jpeg.h"

using platform::DecodeJpeg;
using platform::TRgbImage;

namespace {

std::string Picture(const std::string& name) {
  std::ifstream in(std::string(MORVEL_PICTURE_DIR) + name, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

TEST(Jpeg, ThePicturesDecodeToTheirSizesAndColours) {
  const struct {
    const char* File;
    int Width, Height;
    int X, Y;   // a pixel of the picture's main colour
    bool Blue;  // blue background, else gold
  } pictures[] = {{"product.jpg", 178, 219, 5, 5, true}, {"donate.jpg", 62, 31, 4, 15, false}};
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.File);
    TRgbImage image;
    ASSERT_TRUE(DecodeJpeg(Picture(p.File), image));
    EXPECT_EQ(image.Width, p.Width);
    EXPECT_EQ(image.Height, p.Height);
    ASSERT_EQ(image.Pixels.size(), static_cast<std::size_t>(p.Width * p.Height * 3));
    const std::uint8_t* rgb = &image.Pixels[static_cast<std::size_t>((p.Y * p.Width + p.X) * 3)];
    if (p.Blue)
      EXPECT_GT(rgb[2], rgb[0] + 60);
    else
      EXPECT_GT(rgb[0], rgb[2] + 60);
  }
}

TEST(Jpeg, DataThatIsNoPictureGivesNone) {
  std::string header = Picture("donate.jpg").substr(0, 2);  // the start marker alone
  for (const std::string& data : {std::string(), std::string("GIF89a not a jpeg"), header}) {
    TRgbImage image;
    image.Width = 1;
    EXPECT_FALSE(DecodeJpeg(data, image));
    EXPECT_EQ(image.Width, 0);
    EXPECT_TRUE(image.Pixels.empty());
  }
}

}  // namespace
