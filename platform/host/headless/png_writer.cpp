#include "platform/host/headless/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/pixel/rgb565.h"

namespace platform {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors through a callback; this one keeps the message and unwinds with longjmp
// back into WritePng, which is the only way libpng lets a caller recover.
struct PngErrorSink {
  std::string message;
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<PngErrorSink*>(png_get_error_ptr(png));
  sink->message = message ? message : "unknown libpng error";
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

std::vector<std::uint8_t> ExpandRow(const std::uint8_t* row, int width) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    std::uint16_t value;
    std::memcpy(&value, row + static_cast<std::size_t>(x) * 2, sizeof value);
    const pixel::Rgb888 rgb = pixel::ExpandRgb565(value);
    out[static_cast<std::size_t>(x) * 3 + 0] = rgb.red;
    out[static_cast<std::size_t>(x) * 3 + 1] = rgb.green;
    out[static_cast<std::size_t>(x) * 3 + 2] = rgb.blue;
  }
  return out;
}

// Kept free of C++ objects with destructors between setjmp and the rows, so that a longjmp out of
// libpng skips nothing that needed cleaning up; the rows are expanded before libpng sees them.
bool WritePng(std::FILE* file, const std::vector<std::vector<std::uint8_t>>& rows, int width,
              PngErrorSink& sink) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnPngError, OnPngWarning);
  if (!png) {
    sink.message = "libpng could not start";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    sink.message = "libpng could not start";
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(rows.size()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (const auto& row : rows) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WriteRgb565Png(const std::string& path, const std::uint16_t* bits, int width, int height,
                    int pitchBytes, std::string* error) {
  if (!bits || width <= 0 || height <= 0 || pitchBytes < 2LL * width) {
    return Fail(error, path + ": not a picture (" + std::to_string(width) + "x" +
                           std::to_string(height) + ", pitch " + std::to_string(pitchBytes) + ")");
  }
  const auto* base = reinterpret_cast<const std::uint8_t*>(bits);
  std::vector<std::vector<std::uint8_t>> rows;
  rows.reserve(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows.push_back(ExpandRow(base + static_cast<std::size_t>(y) * pitchBytes, width));
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return Fail(error, path + ": " + std::strerror(errno));
  PngErrorSink sink;
  if (!WritePng(file.get(), rows, width, sink)) return Fail(error, path + ": " + sink.message);
  if (std::fflush(file.get()) != 0 || std::ferror(file.get())) {
    return Fail(error, path + ": " + std::strerror(errno));
  }
  if (std::fclose(file.release()) != 0) return Fail(error, path + ": " + std::strerror(errno));
  return true;
}

}  // namespace platform
