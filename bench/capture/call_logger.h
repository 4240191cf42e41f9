// Builds a capture from what the software devices draw. Install it with
// platform::testing::SetDrawListener; every scene begun while it logs becomes one frame.
#pragma once

#include <array>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/capture/capture.h"
#include "platform/testing.h"

namespace capture {

class CallLogger final : public platform::testing::DrawListener {
 public:
  CallLogger();

  void SceneBegun(const platform::raster::RenderTarget& target) override;
  void Drawing(const platform::testing::DrawCall& call) override;

  // Scenes begun while logging is off are not captured (it starts on).
  void SetLogging(bool on) { logging_ = on; }
  std::size_t FrameCount() const { return frames_.size(); }

  // The frames so far, each opening with every state that any of them changes.
  Capture Finish() const;
  // Why the capture cannot reproduce some frame (a scene begun over a picture that was not one
  // colour), or empty.
  const std::string& Problem() const { return problem_; }

 private:
  using RenderStates = std::array<DWORD, D3DRENDERSTATE_ANISOTROPY + 1>;
  using LightStates = std::array<DWORD, D3DLIGHTSTATE_FOGDENSITY + 1>;

  struct LoggedFrame {
    Frame frame;                  // the commands after the opening states
    RenderStates renderStates{};  // as at the first draw, texture handle as a texture number
    LightStates lightStates{};
    bool drawn = false;  // has a draw been seen
  };

  std::uint32_t TextureNumber(const platform::testing::DrawCall& call);
  std::uint32_t MatrixIndex(const platform::raster::Matrix& matrix);
  std::uint32_t ViewportIndex(const D3DVIEWPORT2& viewport);
  std::uint32_t VertexOffset(std::span<const D3DLVERTEX> vertices);
  void NoteStates(const RenderStates& render, const LightStates& light, LoggedFrame& frame);
  void NoteTransforms(const platform::testing::DrawCall& call, LoggedFrame& frame);

  bool logging_ = true;
  bool capturing_ = false;  // the current scene is being captured
  std::string problem_;
  RenderStates defaultRender_;
  LightStates defaultLight_;
  RenderStates lastRender_{};  // the states as the current frame's commands leave them
  LightStates lastLight_{};
  std::array<std::uint32_t, 3> lastTransforms_{};  // matrix indices of world, view, projection
  std::uint32_t lastViewport_ = 0;
  std::array<bool, D3DRENDERSTATE_ANISOTROPY + 1> renderTouched_{};  // differs from the default
  std::array<bool, D3DLIGHTSTATE_FOGDENSITY + 1> lightTouched_{};    // somewhere in the capture

  Capture pools_;  // textures, vertices, matrices and viewports; frames are kept apart
  std::vector<LoggedFrame> frames_;
  std::unordered_map<DWORD, std::uint32_t> textureNumbers_;  // device handle → texture number
  std::unordered_map<std::string, std::uint32_t> matrixIndex_;
  std::unordered_map<std::string, std::uint32_t> viewportIndex_;
  std::unordered_map<std::string, std::uint32_t> vertexOffset_;
};

}  // namespace capture
