#include "platform/core/live_objects.h"

#include <array>
#include <cassert>

namespace platform {
namespace {

struct LiveObjectCounts {
  std::array<int, static_cast<int>(ObjectKind::Count)> byKind{};  // created minus destroyed
};

LiveObjectCounts& Counts() {
  static LiveObjectCounts counts;
  return counts;
}

}  // namespace

void NoteObjectCreated(ObjectKind kind) {
  ++Counts().byKind[static_cast<int>(kind)];
}

void NoteObjectDestroyed(ObjectKind kind) {
  int& count = Counts().byKind[static_cast<int>(kind)];
  assert(count > 0 && "an object was destroyed twice");
  --count;
}

int LiveObjects(ObjectKind kind) {
  return Counts().byKind[static_cast<int>(kind)];
}

int LiveObjects() {
  int total = 0;
  for (int count : Counts().byKind) total += count;
  return total;
}

}  // namespace platform
