// What the SDL host tells a player who asks for it (--verbose), on standard error: how the
// picture is shown (the display path, the pacing) and, once a second, how many pictures a second
// were shown. Silent otherwise. Private to platform/host/sdl/.
#pragma once

#include <string>

#include "platform/host/sdl/sdl_state.h"

namespace platform::host::sdl {

// One line, "tirravel: " and the text.
void Say(const std::string& line);

// Called for each picture shown; says the rate once a second.
void NotePictureShown(SdlState& state);

}  // namespace platform::host::sdl
