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
  template <TextureFormat kFormat>
  static SpanDrawer ForFormat(SpanFilter filter, bool fog) {
    switch (filter) {
      case SpanFilter::Point:
        return fog ? &DrawSpanWith<L, kFormat, SpanFilter::Point, true>
                   : &DrawSpanWith<L, kFormat, SpanFilter::Point, false>;
      case SpanFilter::Bilinear:
        return fog ? &DrawSpanWith<L, kFormat, SpanFilter::Bilinear, true>
                   : &DrawSpanWith<L, kFormat, SpanFilter::Bilinear, false>;
      case SpanFilter::PerPixel:
        return fog ? &DrawSpanWith<L, kFormat, SpanFilter::PerPixel, true>
                   : &DrawSpanWith<L, kFormat, SpanFilter::PerPixel, false>;
    }
    return nullptr;
  }

  static SpanDrawer Select(TextureFormat format, SpanFilter filter, bool fog) {
    switch (format) {
      case TextureFormat::Xrgb8888:
        return ForFormat<TextureFormat::Xrgb8888>(filter, fog);
      case TextureFormat::Palette8:
        return ForFormat<TextureFormat::Palette8>(filter, fog);
      default:
        return nullptr;
    }
  }
};

}  // namespace
}  // namespace platform::raster
