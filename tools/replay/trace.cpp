#include "tools/replay/trace.h"

#include <cstdio>
#include <type_traits>

#include "record/game_globals.h"
#include "tools/replay/record_fields.h"

namespace replay {
namespace {

// Appends one cell: floats as %.9g, everything else as a decimal integer.
template <typename Value>
void AppendCell(std::string& row, Value value) {
  char cell[32];
  if constexpr (std::is_same_v<Value, float>) {
    std::snprintf(cell, sizeof cell, "%.9g", static_cast<double>(value));
  } else {
    std::snprintf(cell, sizeof cell, "%lld", static_cast<long long>(value));
  }
  if (!row.empty()) row += ',';
  row += cell;
}

}  // namespace

std::string TraceHeader() {
  std::string header = "frame";
  VisitRecordFields(GameGlobals{}, [&header](const char* name, auto) {
    header += ',';
    header += name;
  });
  return header;
}

std::string TraceRow(std::uint64_t frame, const GameGlobals& game) {
  std::string row;
  AppendCell(row, static_cast<long long>(frame));
  VisitRecordFields(game, [&row](const char*, auto value) { AppendCell(row, value); });
  return row;
}

}  // namespace replay
