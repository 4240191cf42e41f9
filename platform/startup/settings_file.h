// The settings file, for launches from the desktop's menu: where it is and what it holds. The
// game reads it and never writes it.
#pragma once

#include <optional>
#include <string>

namespace platform::startup {

// $XDG_CONFIG_HOME/tirravel/tirravel.conf, or ~/.config/tirravel/tirravel.conf when that
// variable is unset, empty or not an absolute path; empty when neither can be told (no HOME).
std::string SettingsFilePath();

// The file's text; nothing, with *error unset, when there is no such file. A file that is there
// but cannot be read (or is too long to be a settings file) gives nothing and sets *error to one
// line naming it.
std::optional<std::string> ReadSettingsFile(const std::string& path, std::string* error);

}  // namespace platform::startup
