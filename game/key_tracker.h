// Telling a fresh key press from a held key, one poll a frame.
#pragma once

#include "record/key_state.h"

// Samples the virtual key through GetKeyState and advances its state by one poll.
void PollKey(int virtualKey, KeyState& state);
