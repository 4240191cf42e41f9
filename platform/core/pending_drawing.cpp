#include "platform/core/pending_drawing.h"

namespace platform {
namespace {

DrawingFinisher installed = nullptr;

}  // namespace

void SetDrawingFinisher(DrawingFinisher finisher) {
  installed = finisher;
}

void FinishDrawingOn(const void* memory) {
  if (installed) installed(memory);
}

}  // namespace platform
