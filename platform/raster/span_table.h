// The span kernel's instantiations for one lanes type, by format, filter and fog. Include it
// after the lanes type; internal linkage, like the kernel.
#pragma once

#include "platform/raster/span.h"
#include "platform/raster/span_kernel.h"

namespace platform::raster {
namespace {

template <class L>
struct SpanTable {
  template <TextureFormat kFormat, bool kFog>
  static KernelDrawers Drawers() {
    KernelDrawers drawers;
    drawers.span[static_cast<int>(SpanFilter::Point)] =
        &DrawSpanWith<L, kFormat, SpanFilter::Point, kFog>;
    drawers.span[static_cast<int>(SpanFilter::Bilinear)] =
        &DrawSpanWith<L, kFormat, SpanFilter::Bilinear, kFog>;
    drawers.span[static_cast<int>(SpanFilter::PerPixel)] =
        &DrawSpanWith<L, kFormat, SpanFilter::PerPixel, kFog>;
    // Lines are few and short: each pixel decides its filter.
    drawers.line = &DrawLineWith<L, kFormat, SpanFilter::PerPixel, kFog>;
    return drawers;
  }

  template <TextureFormat kFormat>
  static KernelDrawers ForFormat(bool fog) {
    return fog ? Drawers<kFormat, true>() : Drawers<kFormat, false>();
  }

  static KernelDrawers Select(TextureFormat format, bool fog) {
    switch (format) {
      case TextureFormat::Xrgb8888:
        return ForFormat<TextureFormat::Xrgb8888>(fog);
      case TextureFormat::Palette8:
        return ForFormat<TextureFormat::Palette8>(fog);
      default:
        return {};
    }
  }
};

}  // namespace
}  // namespace platform::raster
