// Control of the platform's window side for tests and tools that run the program more than once
// in one process. Reached from outside the platform through platform/testing.h.
#pragma once

namespace platform {

// Forgets every window (without messages), every registered class, the message queue, a pending
// WM_QUIT and the key states, and closes the host window: as if the process had just started.
void ResetUserInterface();

}  // namespace platform
