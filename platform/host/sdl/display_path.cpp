#include "platform/host/sdl/display_path.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace platform::host::sdl {
namespace {

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lowered;
}

// GL_RENDERER strings of rasterizers that run on the processor: Mesa's llvmpipe, softpipe and
// swrast ("Software Rasterizer"), and the generic software renderers of other systems.
bool NamesCpuRasterizer(std::string_view glRenderer) {
  const std::string lowered = Lowered(glRenderer);
  for (const char* word : {"llvmpipe", "softpipe", "swrast", "software"}) {
    if (lowered.find(word) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

bool RendererUsesOpenGl(std::string_view rendererName) {
  return Lowered(rendererName).rfind("opengl", 0) == 0;
}

DisplayPath ChooseDisplayPath(std::string_view rendererName, std::string_view glRenderer) {
  if (Lowered(rendererName) == "software") return DisplayPath::Surface;
  if (RendererUsesOpenGl(rendererName) && NamesCpuRasterizer(glRenderer)) {
    return DisplayPath::Surface;
  }
  return DisplayPath::Renderer;
}

}  // namespace platform::host::sdl
