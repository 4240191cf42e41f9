#include "platform/host/sdl/display_path.h"

#include <gtest/gtest.h>

namespace {

using platform::host::sdl::ChooseDisplayPath;
using platform::host::sdl::DisplayPath;

TEST(DisplayPath, RenderersThatDrawWithTheProcessorGiveWayToTheSurface) {
  EXPECT_EQ(ChooseDisplayPath("software", ""), DisplayPath::Surface);
  EXPECT_EQ(ChooseDisplayPath("opengl", "llvmpipe (LLVM 15.0.6, 256 bits)"), DisplayPath::Surface);
  EXPECT_EQ(ChooseDisplayPath("opengles2", "softpipe"), DisplayPath::Surface);
  EXPECT_EQ(ChooseDisplayPath("opengl", "Software Rasterizer"), DisplayPath::Surface);
  EXPECT_EQ(ChooseDisplayPath("opengl", "Mesa swrast"), DisplayPath::Surface);
}

TEST(DisplayPath, RealGpusAndUnknownRasterizersKeepTheRenderer) {
  EXPECT_EQ(ChooseDisplayPath("opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)"),
            DisplayPath::Renderer);
  // A GPU driver built with LLVM names it too, but is no CPU rasterizer.
  EXPECT_EQ(ChooseDisplayPath("opengl", "AMD Radeon RX 580 (radeonsi, polaris10, LLVM 15.0.6)"),
            DisplayPath::Renderer);
  EXPECT_EQ(ChooseDisplayPath("opengl", ""), DisplayPath::Renderer);
  // Only an OpenGL renderer's GL string counts.
  EXPECT_EQ(ChooseDisplayPath("vulkan", "llvmpipe"), DisplayPath::Renderer);
  EXPECT_EQ(ChooseDisplayPath("direct3d11", ""), DisplayPath::Renderer);
}

}  // namespace
