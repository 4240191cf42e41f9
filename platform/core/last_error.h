// The reason of the most recent platform failure, in one line, so a start-up failure can be
// reported to the player ("Texture.bmp: truncated pixel data", "no display could be opened").
#pragma once

#include <string>

namespace platform {

void SetLastErrorText(std::string text);
const std::string& LastErrorText();
void ClearLastErrorText();

}  // namespace platform
