// The replay's trace: one CSV row of the game's state after each frame, for diffing runs.
#pragma once

#include <cstdint>
#include <string>

struct GameGlobals;

namespace replay {

// The header line, without its line break: "frame", then the names of record_fields.h.
std::string TraceHeader();

// One row (without its line break) for the frame just rendered: floats as %.9g, so that they read
// back to the same bits; integers and flags in decimal.
std::string TraceRow(std::uint64_t frame, const GameGlobals& game);

}  // namespace replay
