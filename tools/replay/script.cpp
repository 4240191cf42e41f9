#include "tools/replay/script.h"

#include <array>
#include <charconv>
#include <limits>

namespace replay {
namespace {

constexpr std::array<const char*, kPolledKeyCount> kPolledKeyNames = {"up", "left", "right",
                                                                      "space", "shift"};
constexpr std::array<const char*, 3> kMessageKeyNames = {"z", "escape", "f12"};

// The words of a line, without its comment.
std::vector<std::string_view> Words(std::string_view line) {
  line = line.substr(0, line.find('#'));
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t\r", at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
    words.push_back(line.substr(start, end - start));
    at = end;
  }
  return words;
}

// A whole number in decimal digits only (no sign, no spaces), within [lowest, 2^32 - 1].
std::optional<std::uint32_t> WholeNumber(std::string_view word, std::uint32_t lowest) {
  std::uint64_t value = 0;
  const char* end = word.data() + word.size();
  if (word.empty() || word[0] < '0' || word[0] > '9') return std::nullopt;
  const auto [stop, failure] = std::from_chars(word.data(), end, value);
  if (failure != std::errc{} || stop != end) return std::nullopt;
  if (value < lowest || value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::optional<PolledKey> FindPolledKey(std::string_view word) {
  for (int i = 0; i < kPolledKeyCount; ++i) {
    if (word == kPolledKeyNames[static_cast<std::size_t>(i)]) return static_cast<PolledKey>(i);
  }
  return std::nullopt;
}

std::optional<MessageKey> FindMessageKey(std::string_view word) {
  for (std::size_t i = 0; i < kMessageKeyNames.size(); ++i) {
    if (word == kMessageKeyNames[i]) return static_cast<MessageKey>(i);
  }
  return std::nullopt;
}

std::string Quoted(std::string_view word) {
  return "'" + std::string(word) + "'";
}

// Reads one command's words; returns the reason when they are wrong.
std::optional<std::string> ReadCommand(const std::vector<std::string_view>& words,
                                       ScriptCommand& command) {
  if (words[0] == "frames") {
    command.kind = ScriptCommand::Kind::Frames;
    if (words.size() < 3) return "frames needs a count and milliseconds: frames N MS [KEY...]";
    const auto count = WholeNumber(words[1], 1);
    if (!count) return "bad frame count " + Quoted(words[1]) + " (a whole number from 1)";
    const auto milliseconds = WholeNumber(words[2], 0);
    if (!milliseconds) {
      return "bad milliseconds " + Quoted(words[2]) + " (a whole number from 0 to 4294967295)";
    }
    command.frameCount = *count;
    command.milliseconds = *milliseconds;
    for (std::size_t i = 3; i < words.size(); ++i) {
      const auto key = FindPolledKey(words[i]);
      if (!key) return "unknown key " + Quoted(words[i]) + " (up, left, right, space, shift)";
      command.keys.set(static_cast<std::size_t>(*key));
    }
    return std::nullopt;
  }
  if (words[0] == "message") {
    command.kind = ScriptCommand::Kind::Message;
    if (words.size() != 2) return "message needs exactly one key: message KEY";
    const auto key = FindMessageKey(words[1]);
    if (!key) return "unknown message key " + Quoted(words[1]) + " (z, escape, f12)";
    command.message = *key;
    return std::nullopt;
  }
  return "unknown command " + Quoted(words[0]) + " (frames or message)";
}

}  // namespace

std::uint64_t Script::TotalFrames() const {
  std::uint64_t total = 0;
  for (const ScriptCommand& command : commands) {
    if (command.kind == ScriptCommand::Kind::Frames) total += command.frameCount;
  }
  return total;
}

std::optional<Script> ParseScript(std::string_view text, std::string* error) {
  Script script;
  int lineNumber = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++lineNumber;
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;
    ScriptCommand command;
    command.line = lineNumber;
    if (const auto reason = ReadCommand(words, command)) {
      if (error) *error = std::to_string(lineNumber) + ": " + *reason;
      return std::nullopt;
    }
    script.commands.push_back(command);
  }
  return script;
}

const char* PolledKeyName(PolledKey key) {
  return kPolledKeyNames[static_cast<std::size_t>(key)];
}

const char* MessageKeyName(MessageKey key) {
  return kMessageKeyNames[static_cast<std::size_t>(key)];
}

}  // namespace replay
