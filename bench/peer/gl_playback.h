// Plays captured frames back with OpenGL 1.x fixed-function drawing, into whatever context is
// current: the same vertices, transforms and states as our devices get, in GL terms (texture
// modulate, secondary colour for the specular add, linear fog on the view depth, alpha test for
// the colour key, blending). The peer our devices are compared with.
#pragma once

#include <GL/gl.h>

#include <array>
#include <vector>

#include "bench/capture/capture.h"

namespace peer {

class GlPlayback {
 public:
  // Uploads the capture's textures into the current context. False when the context lacks the
  // entry points needed (secondary colours, provoking vertex).
  bool SetUp(const capture::Capture& capture);
  // Draws one frame, up to glFinish.
  void DrawFrame(const capture::Frame& frame);

 private:
  struct Textures {
    GLuint plain = 0;  // every texel as it is
    GLuint keyed = 0;  // the key texels transparent (alpha 0), for the alpha test; 0: no key
  };
  void Run(const capture::Command& command);
  void Draw(GLenum primitive, const D3DLVERTEX* vertices, GLsizei count);
  void ApplyStates();
  void ApplyTexture();
  void ApplyTransforms();

  const capture::Capture* capture_ = nullptr;
  std::vector<Textures> textures_;
  std::array<DWORD, D3DRENDERSTATE_ANISOTROPY + 1> render_{};
  std::array<DWORD, D3DLIGHTSTATE_FOGDENSITY + 1> light_{};
  std::array<D3DMATRIX, 3> transforms_{};  // world, view, projection
  D3DVIEWPORT2 viewport_{};
  void (*secondaryColorPointer_)(GLint, GLenum, GLsizei, const void*) = nullptr;
  void (*provokingVertex_)(GLenum) = nullptr;
};

}  // namespace peer
