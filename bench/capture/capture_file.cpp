// The capture file: a magic line, then the pools and frames as little-endian 32-bit numbers and
// the elements' own bytes (this machine's layout, which is the only one the tools run on).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <type_traits>

#include "bench/capture/capture.h"

namespace capture {
namespace {

using platform::raster::TexelBytes;

constexpr char kMagic[] = "TIRRAVEL-CAPTURE 1\n";
constexpr int kMaxTextureSize = 4096;

// Appends numbers and elements to a byte string.
class Writer {
 public:
  void U32(std::uint32_t value) { Bytes(&value, sizeof value); }
  void Bytes(const void* data, std::size_t size) {
    if (size == 0) return;  // an empty pool's data may be null
    const auto* bytes = static_cast<const char*>(data);
    out_.append(bytes, size);
  }
  template <typename Element>
  void Pool(const std::vector<Element>& elements) {
    static_assert(std::is_trivially_copyable_v<Element>);
    U32(static_cast<std::uint32_t>(elements.size()));
    Bytes(elements.data(), elements.size() * sizeof(Element));
  }
  const std::string& Data() const { return out_; }

 private:
  std::string out_;
};

// Reads numbers and elements back, failing (and staying failed) at the end of the data.
class Reader {
 public:
  explicit Reader(const std::string& data) : data_(data) {}
  bool Ok() const { return ok_; }
  void Fail() { ok_ = false; }
  std::uint32_t U32() {
    std::uint32_t value = 0;
    Bytes(&value, sizeof value);
    return value;
  }
  void Bytes(void* to, std::size_t size) {
    if (size == 0) return;  // an empty pool's data may be null
    if (!ok_ || data_.size() - at_ < size) {
      ok_ = false;
      return;
    }
    std::memcpy(to, data_.data() + at_, size);
    at_ += size;
  }
  // A count of elements of `size` bytes that the rest of the data can hold.
  std::uint32_t Count(std::size_t size) {
    const std::uint32_t count = U32();
    if (ok_ && (data_.size() - at_) / size < count) ok_ = false;
    return ok_ ? count : 0;
  }
  template <typename Element>
  void Pool(std::vector<Element>& elements) {
    elements.resize(Count(sizeof(Element)));
    Bytes(elements.data(), elements.size() * sizeof(Element));
  }
  bool AtEnd() const { return at_ == data_.size(); }

 private:
  const std::string& data_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

void WriteTexture(Writer& out, const CapturedTexture& texture) {
  out.U32(static_cast<std::uint32_t>(texture.format));
  out.U32(static_cast<std::uint32_t>(texture.width));
  out.U32(static_cast<std::uint32_t>(texture.height));
  out.U32(texture.hasColourKey ? 1 : 0);
  out.U32(texture.colourKey);
  out.Pool(texture.palette);
  out.Pool(texture.texels);
}

CapturedTexture ReadTexture(Reader& in) {
  CapturedTexture texture;
  const std::uint32_t format = in.U32();
  if (format > static_cast<std::uint32_t>(platform::raster::TextureFormat::Argb8888)) in.Fail();
  texture.format = static_cast<platform::raster::TextureFormat>(in.Ok() ? format : 0);
  texture.width = static_cast<int>(in.U32());
  texture.height = static_cast<int>(in.U32());
  texture.hasColourKey = in.U32() != 0;
  texture.colourKey = in.U32();
  in.Pool(texture.palette);
  in.Pool(texture.texels);
  return texture;
}

std::string CheckTexture(const CapturedTexture& t) {
  if (t.width < 1 || t.width > kMaxTextureSize || t.height < 1 || t.height > kMaxTextureSize) {
    return "a texture of impossible size";
  }
  const std::size_t bytes = static_cast<std::size_t>(t.width) * t.height * TexelBytes(t.format);
  if (t.texels.size() != bytes) return "a texture whose texels do not fill it";
  const bool paletted = t.format == platform::raster::TextureFormat::Palette8;
  if (t.palette.size() != (paletted ? 256u : 0u)) return "a texture with a wrong palette";
  return {};
}

std::string CheckCommand(const Capture& capture, const Command& c) {
  switch (c.kind) {
    case Command::Kind::RenderState:
      if (c.a == 0 || c.a > D3DRENDERSTATE_ANISOTROPY) return "an unknown render state";
      if (c.a == D3DRENDERSTATE_TEXTUREHANDLE && c.b > capture.textures.size()) {
        return "a texture number outside the capture";
      }
      return {};
    case Command::Kind::LightState:
      return c.a == 0 || c.a > D3DLIGHTSTATE_FOGDENSITY ? "an unknown light state" : "";
    case Command::Kind::Transform:
      if (c.a < D3DTRANSFORMSTATE_WORLD || c.a > D3DTRANSFORMSTATE_PROJECTION) {
        return "an unknown transform";
      }
      return c.b < capture.matrices.size() ? "" : "a matrix outside the pool";
    case Command::Kind::Viewport:
      return c.b < capture.viewports.size() ? "" : "a viewport outside the pool";
    case Command::Kind::Draw:
      if (c.a != D3DPT_TRIANGLELIST && c.a != D3DPT_LINELIST) return "an unknown primitive";
      if (c.b > capture.vertices.size() || c.c > capture.vertices.size() - c.b) {
        return "vertices outside the pool";
      }
      return {};
  }
  return "an unknown command";
}

}  // namespace

std::size_t Capture::DrawCount() const {
  std::size_t draws = 0;
  for (const Frame& frame : frames) {
    for (const Command& command : frame.commands) draws += command.kind == Command::Kind::Draw;
  }
  return draws;
}

bool WriteCapture(const Capture& capture, const std::string& path, std::string* error) {
  Writer out;
  out.Bytes(kMagic, sizeof kMagic - 1);
  out.U32(static_cast<std::uint32_t>(capture.width));
  out.U32(static_cast<std::uint32_t>(capture.height));
  out.U32(static_cast<std::uint32_t>(capture.textures.size()));
  for (const CapturedTexture& texture : capture.textures) WriteTexture(out, texture);
  out.Pool(capture.vertices);
  out.Pool(capture.matrices);
  out.Pool(capture.viewports);
  out.U32(static_cast<std::uint32_t>(capture.frames.size()));
  for (const Frame& frame : capture.frames) {
    out.U32(frame.clearColour);
    out.Pool(frame.commands);
  }
  std::ofstream file(path, std::ios::binary);
  file.write(out.Data().data(), static_cast<std::streamsize>(out.Data().size()));
  if (!file.flush()) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  return true;
}

std::optional<Capture> ReadCapture(const std::string& path, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = path + ": " + why;
    return std::nullopt;
  };
  std::ifstream file(path, std::ios::binary);
  if (!file) return fail("cannot be read");
  const std::string data{std::istreambuf_iterator<char>(file), {}};
  if (data.compare(0, sizeof kMagic - 1, kMagic) != 0) return fail("not a capture file");
  const std::string body = data.substr(sizeof kMagic - 1);
  Reader in(body);
  Capture capture;
  capture.width = static_cast<int>(in.U32());
  capture.height = static_cast<int>(in.U32());
  const std::uint32_t textures = in.Count(5 * 4);
  for (std::uint32_t i = 0; i < textures && in.Ok(); ++i) {
    capture.textures.push_back(ReadTexture(in));
  }
  in.Pool(capture.vertices);
  in.Pool(capture.matrices);
  in.Pool(capture.viewports);
  const std::uint32_t frames = in.Count(2 * 4);
  for (std::uint32_t i = 0; i < frames && in.Ok(); ++i) {
    Frame frame;
    frame.clearColour = static_cast<std::uint16_t>(in.U32());
    in.Pool(frame.commands);
    capture.frames.push_back(std::move(frame));
  }
  if (!in.Ok() || !in.AtEnd()) return fail("cut short or with trailing bytes");
  if (std::string problem = CheckCapture(capture); !problem.empty()) return fail(problem);
  return capture;
}

std::string CheckCapture(const Capture& capture) {
  if (capture.width < 1 || capture.width > 8192 || capture.height < 1 || capture.height > 8192) {
    return "a target of impossible size";
  }
  for (const CapturedTexture& texture : capture.textures) {
    if (std::string problem = CheckTexture(texture); !problem.empty()) return problem;
  }
  for (const Frame& frame : capture.frames) {
    for (const Command& command : frame.commands) {
      if (std::string problem = CheckCommand(capture, command); !problem.empty()) return problem;
    }
  }
  return {};
}

}  // namespace capture
