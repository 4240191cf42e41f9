// How the picture reaches the screen. Where the GPU is real, through an SDL renderer (a crisp
// whole-factor enlargement, then a smooth fit). Where the renderer draws with the processor
// anyway (SDL's software renderer, or OpenGL on a CPU rasterizer such as Mesa's llvmpipe),
// scaling through it costs many times the game's own frame, so the host scales the picture
// itself, nearest neighbour, straight into the window's surface. Plain arithmetic on names,
// tested on its own.
#pragma once

#include <string_view>

namespace platform::host::sdl {

enum class DisplayPath {
  Renderer,  // the SDL renderer scales and shows the picture
  Surface,   // the host scales the picture into the window's surface
};

// Whether SDL's renderer of that name draws through OpenGL (or GLES), so that its GL_RENDERER
// string tells what really draws.
bool RendererUsesOpenGl(std::string_view rendererName);

// The path for a renderer, from its SDL name ("opengl", "software", ...) and, for an OpenGL
// renderer, its GL_RENDERER string (empty when unknown). An unknown GL rasterizer is trusted to
// be a GPU.
DisplayPath ChooseDisplayPath(std::string_view rendererName, std::string_view glRenderer);

}  // namespace platform::host::sdl
