// A test run once per drawing path, the reference and the optimised one.
#pragma once

#include <gtest/gtest.h>

#include <span>

#include "tests/platform/raster/raster_test_support.h"

namespace raster_test {

class PathTest : public ::testing::TestWithParam<platform::raster::RasterPath> {
 protected:
  // PixelContext on the path under test.
  RasterContext Context(Canvas& canvas) {
    RasterContext context = PixelContext(canvas);
    context.path = GetParam();
    return context;
  }
};

// Draws the triangles, then the lines, on the reference path into the context's target, then on
// the optimised path into `optimised`; the context is left on the optimised path.
inline ::testing::AssertionResult DrawOnBothPaths(RasterContext& context, Canvas& optimised,
                                                  std::span<const LitVertex> triangles,
                                                  std::span<const LitVertex> lines) {
  using platform::raster::RasterPath;
  for (const RasterPath path : {RasterPath::Reference, RasterPath::Optimised}) {
    context.path = path;
    if (path == RasterPath::Optimised) context.target = optimised.Target();
    const char* which = path == RasterPath::Reference ? "reference" : "optimised";
    if (!DrawTriangleList(context, triangles)) {
      return ::testing::AssertionFailure() << "the " << which << " path refused the triangles";
    }
    if (!DrawLineList(context, lines)) {
      return ::testing::AssertionFailure() << "the " << which << " path refused the lines";
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace raster_test
