// Where the platform's modules note each object they make and destroy, for the counts of
// live_object_counts.h. Internal to the platform.
#pragma once

#include "platform/core/live_object_counts.h"

namespace platform {

void NoteObjectCreated(ObjectKind kind);
void NoteObjectDestroyed(ObjectKind kind);

}  // namespace platform
