// A capture of 3-D frames: every draw call of a frame with the Direct3D states, transforms,
// viewport and texture it was drawn with, in the device's own terms, so that the frames can be
// played back on our devices and on other renderers and the costs compared.
//
// Each frame is self-contained: it starts with every state any frame of the capture changes, so
// frames play back in any order. Vertices, matrices and viewports live in shared pools and repeat
// for free (the course's cells look the same in every frame).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/api/d3d.h"
#include "platform/raster/raster.h"

namespace capture {

// A texture as the device read it, texels packed row after row.
struct CapturedTexture {
  platform::raster::TextureFormat format = platform::raster::TextureFormat::Rgb565;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> texels;    // height rows of width × bytes-per-texel bytes
  std::vector<std::uint32_t> palette;  // Palette8: 256 colours 0x00RRGGBB; otherwise empty
  bool hasColourKey = false;
  std::uint32_t colourKey = 0;  // raw texel value
};

struct Command {
  enum class Kind : std::uint32_t {
    RenderState,  // SetRenderState(a, b); for D3DRENDERSTATE_TEXTUREHANDLE, b is a texture
                  // number: 0 for none, n for textures[n − 1]
    LightState,   // SetLightState(a, b)
    Transform,    // SetTransform(a, matrices[b])
    Viewport,     // SetViewport2 of the current viewport with viewports[b]
    Draw,         // DrawPrimitive(a, D3DVT_LVERTEX, &vertices[b], c)
  };
  Kind kind = Kind::RenderState;
  std::uint32_t a = 0;
  std::uint32_t b = 0;
  std::uint32_t c = 0;
};

static_assert(sizeof(Command) == 16, "commands are stored as they lie in memory");

struct Frame {
  std::uint16_t clearColour = 0;  // the RGB 565 colour the whole target held when the scene began
  std::vector<Command> commands;  // between BeginScene and EndScene
};

struct Capture {
  int width = 640;  // the target the frames were drawn into
  int height = 480;
  std::vector<CapturedTexture> textures;
  std::vector<D3DLVERTEX> vertices;
  std::vector<D3DMATRIX> matrices;
  std::vector<D3DVIEWPORT2> viewports;
  std::vector<Frame> frames;

  // Draw calls over all frames.
  std::size_t DrawCount() const;
};

// Writes the capture to a file; false with *error set when it cannot.
bool WriteCapture(const Capture& capture, const std::string& path, std::string* error);
// Reads a capture written by WriteCapture. Nothing, with *error set, for a file that is missing,
// of another format, or whose numbers do not hold together (an index outside its pool, a texture
// whose texels do not fill it); a capture that is read can be played back without further checks.
std::optional<Capture> ReadCapture(const std::string& path, std::string* error);

// Checks what ReadCapture promises; the first problem found, or empty.
std::string CheckCapture(const Capture& capture);

}  // namespace capture
