#include "bench/capture/call_logger.h"

#include <bit>
#include <cstring>

namespace capture {
namespace {

using platform::raster::TexelBytes;
using platform::raster::TextureFormat;
using platform::testing::DrawCall;

template <typename Element>
std::string KeyOf(const Element* elements, std::size_t count) {
  return std::string(reinterpret_cast<const char*>(elements), count * sizeof(Element));
}

// The index of `element` in `pool`, appending it the first time it is seen.
template <typename Element>
std::uint32_t Intern(std::vector<Element>& pool,
                     std::unordered_map<std::string, std::uint32_t>& seen, const Element& element) {
  const auto [found, added] =
      seen.emplace(KeyOf(&element, 1), static_cast<std::uint32_t>(pool.size()));
  if (added) pool.push_back(element);
  return found->second;
}

CapturedTexture CopyTexture(const platform::raster::TextureView& view) {
  CapturedTexture texture;
  texture.format = view.format;
  texture.width = view.width;
  texture.height = view.height;
  const std::size_t rowBytes = static_cast<std::size_t>(view.width) * TexelBytes(view.format);
  texture.texels.resize(rowBytes * view.height);
  for (int row = 0; row < view.height; ++row) {
    std::memcpy(texture.texels.data() + rowBytes * row,
                view.texels + static_cast<std::ptrdiff_t>(row) * view.pitch, rowBytes);
  }
  if (view.format == TextureFormat::Palette8)
    texture.palette.assign(view.palette, view.palette + 256);
  texture.hasColourKey = view.hasColourKey;
  texture.colourKey = view.colourKey;
  return texture;
}

}  // namespace

CallLogger::CallLogger() {
  const platform::d3d::DeviceStates defaults;
  defaultRender_ = defaults.render;
  defaultLight_ = defaults.light;
}

void CallLogger::SceneBegun(const platform::raster::RenderTarget& target) {
  capturing_ = logging_;
  if (!capturing_) return;
  LoggedFrame logged;
  logged.frame.clearColour = target.pixels[0];
  for (int y = 0; y < target.height; ++y) {
    const std::uint16_t* row = target.pixels + static_cast<std::ptrdiff_t>(y) * target.pitchPixels;
    for (int x = 0; x < target.width; ++x) {
      if (row[x] != logged.frame.clearColour && problem_.empty()) {
        problem_ = "a scene began over a picture of more than one colour";
      }
    }
  }
  pools_.width = target.width;
  pools_.height = target.height;
  frames_.push_back(std::move(logged));
}

void CallLogger::Drawing(const DrawCall& call) {
  if (!capturing_) return;
  LoggedFrame& logged = frames_.back();
  RenderStates render = call.states.render;
  render[D3DRENDERSTATE_TEXTUREHANDLE] = TextureNumber(call);
  const LightStates& light = call.states.light;
  for (std::size_t s = 1; s < render.size(); ++s)
    renderTouched_[s] |= render[s] != defaultRender_[s];
  for (std::size_t s = 1; s < light.size(); ++s) lightTouched_[s] |= light[s] != defaultLight_[s];

  std::vector<Command>& commands = logged.frame.commands;
  if (!logged.drawn) {
    logged.drawn = true;
    logged.renderStates = render;
    logged.lightStates = light;
    lastTransforms_.fill(~0u);
    lastViewport_ = ~0u;
  } else {
    for (std::uint32_t s = 1; s < render.size(); ++s) {
      if (render[s] != lastRender_[s])
        commands.push_back({Command::Kind::RenderState, s, render[s]});
    }
    for (std::uint32_t s = 1; s < light.size(); ++s) {
      if (light[s] != lastLight_[s]) commands.push_back({Command::Kind::LightState, s, light[s]});
    }
  }
  lastRender_ = render;
  lastLight_ = light;
  NoteTransforms(call, logged);
  commands.push_back({Command::Kind::Draw, static_cast<std::uint32_t>(call.primitive),
                      VertexOffset(call.vertices),
                      static_cast<std::uint32_t>(call.vertices.size())});
}

void CallLogger::NoteTransforms(const DrawCall& call, LoggedFrame& logged) {
  const platform::raster::Matrix* matrices[3] = {&call.world, &call.view, &call.projection};
  for (std::uint32_t i = 0; i < 3; ++i) {
    const std::uint32_t index = MatrixIndex(*matrices[i]);
    if (index == lastTransforms_[i]) continue;
    lastTransforms_[i] = index;
    logged.frame.commands.push_back({Command::Kind::Transform, D3DTRANSFORMSTATE_WORLD + i, index});
  }
  const std::uint32_t viewport = ViewportIndex(call.viewport);
  if (viewport != lastViewport_) {
    lastViewport_ = viewport;
    logged.frame.commands.push_back({Command::Kind::Viewport, 0, viewport});
  }
}

std::uint32_t CallLogger::TextureNumber(const DrawCall& call) {
  if (call.texture == nullptr) return 0;
  const DWORD handle = call.states.render[D3DRENDERSTATE_TEXTUREHANDLE];
  const auto [found, added] =
      textureNumbers_.emplace(handle, static_cast<std::uint32_t>(pools_.textures.size() + 1));
  if (added) pools_.textures.push_back(CopyTexture(*call.texture));
  return found->second;
}

std::uint32_t CallLogger::MatrixIndex(const platform::raster::Matrix& matrix) {
  return Intern(pools_.matrices, matrixIndex_, std::bit_cast<D3DMATRIX>(matrix));
}

std::uint32_t CallLogger::ViewportIndex(const D3DVIEWPORT2& viewport) {
  return Intern(pools_.viewports, viewportIndex_, viewport);
}

std::uint32_t CallLogger::VertexOffset(std::span<const D3DLVERTEX> vertices) {
  const auto [found, added] = vertexOffset_.emplace(
      KeyOf(vertices.data(), vertices.size()), static_cast<std::uint32_t>(pools_.vertices.size()));
  if (added) pools_.vertices.insert(pools_.vertices.end(), vertices.begin(), vertices.end());
  return found->second;
}

Capture CallLogger::Finish() const {
  Capture capture = pools_;
  for (const LoggedFrame& logged : frames_) {
    Frame frame;
    frame.clearColour = logged.frame.clearColour;
    if (logged.drawn) {
      for (std::uint32_t s = 1; s < renderTouched_.size(); ++s) {
        if (renderTouched_[s]) {
          frame.commands.push_back({Command::Kind::RenderState, s, logged.renderStates[s]});
        }
      }
      for (std::uint32_t s = 1; s < lightTouched_.size(); ++s) {
        if (lightTouched_[s]) {
          frame.commands.push_back({Command::Kind::LightState, s, logged.lightStates[s]});
        }
      }
    }
    frame.commands.insert(frame.commands.end(), logged.frame.commands.begin(),
                          logged.frame.commands.end());
    capture.frames.push_back(std::move(frame));
  }
  return capture;
}

}  // namespace capture
