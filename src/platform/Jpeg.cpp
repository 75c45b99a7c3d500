#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace platform {

namespace {

// libjpeg's own error handler ends the process; ours jumps back instead.
struct TErrorManager {
  jpeg_error_mgr Public;
  std::jmp_buf Jump;
};

void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TErrorManager*>(info->err)->Jump, 1);
}

void OutputMessage(j_common_ptr) {}  // warnings are of no use to the user

// Everything between setjmp and a jump is plain data: a jump must not skip a
// destructor. `pixels` belongs to the caller.
bool Decode(const unsigned char* data, unsigned long size, std::vector<std::uint8_t>& pixels,
            int& width, int& height) {
  jpeg_decompress_struct info;
  TErrorManager errors;
  info.err = jpeg_std_error(&errors.Public);
  errors.Public.error_exit = ErrorExit;
  errors.Public.output_message = OutputMessage;
  if (setjmp(errors.Jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 ||
      info.image_height == 0 || info.image_width > kJpegMaxSide ||
      info.image_height > kJpegMaxSide) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;  // greyscale pictures too
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  // Filled before the rows are read; a jump out of the reading leaves it
  // for the caller to clear.
  pixels.resize(stride * static_cast<std::size_t>(height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

bool DecodeJpeg(std::string_view data, TRgbImage& image) {
  image = {};
  if (data.empty()) return false;
  int width = 0, height = 0;
  if (!Decode(reinterpret_cast<const unsigned char*>(data.data()),
              static_cast<unsigned long>(data.size()), image.Pixels, width, height)) {
    image = {};
    return false;
  }
  image.Width = width;
  image.Height = height;
  return true;
}

}  // namespace platform
