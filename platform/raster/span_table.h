// The span kernel's instantiations for one lanes type, by format, filter and fog. Include it
// after the lanes type; internal linkage, like the kernel.
#pragma once

#include <array>

#include "platform/raster/span.h"
#include "platform/raster/span_kernel.h"

namespace platform::raster {
namespace {

template <class L>
struct SpanTable {
  template <TextureFormat kFormat, SpanFilter kFilter, bool kFog>
  static KernelDrawers Drawers() {
    return {&DrawSpanWith<L, kFormat, kFilter, kFog>, &DrawLineWith<L, kFormat, kFilter, kFog>};
  }

  template <TextureFormat kFormat, SpanFilter kFilter>
  static KernelDrawers ForFilter(bool fog) {
    return fog ? Drawers<kFormat, kFilter, true>() : Drawers<kFormat, kFilter, false>();
  }

  template <TextureFormat kFormat>
  static KernelDrawers ForFormat(SpanFilter filter, bool fog) {
    switch (filter) {
      case SpanFilter::Point:
        return ForFilter<kFormat, SpanFilter::Point>(fog);
      case SpanFilter::Bilinear:
        return ForFilter<kFormat, SpanFilter::Bilinear>(fog);
      case SpanFilter::PerPixel:
        return ForFilter<kFormat, SpanFilter::PerPixel>(fog);
    }
    return {};
  }

  static KernelDrawers Select(TextureFormat format, SpanFilter filter, bool fog) {
    switch (format) {
      case TextureFormat::Xrgb8888:
        return ForFormat<TextureFormat::Xrgb8888>(filter, fog);
      case TextureFormat::Palette8:
        return ForFormat<TextureFormat::Palette8>(filter, fog);
      default:
        return {};
    }
  }
};

}  // namespace
}  // namespace platform::raster
