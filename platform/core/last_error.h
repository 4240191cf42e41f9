// The reason of the most recent platform failure, in one line, so a start-up failure can be
// reported to the player ("Texture.bmp: truncated pixel data", "no display could be opened").
#pragma once

#include <string>
#include <utility>

namespace platform {

void SetLastErrorText(std::string text);
const std::string& LastErrorText();
void ClearLastErrorText();

// Keeps the reason as the last-error text and returns the failing call's result, so a failure
// reads `return Fail(DDERR_INVALIDPARAMS, "SetViewport2: ...")` (`Fail(nullptr, ...)` for a call
// that returns a handle).
template <typename Result>
Result Fail(Result result, std::string reason) {
  SetLastErrorText(std::move(reason));
  return result;
}

}  // namespace platform
