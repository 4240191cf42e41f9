#include "platform/startup/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform::startup {
namespace {

// Far more than any settings file needs; a bigger file is some other file given by mistake.
constexpr std::size_t kLongestFile = 64 * 1024;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string SettingsFilePath() {
  std::string folder = Environment("XDG_CONFIG_HOME");
  if (folder.empty() || folder.front() != '/') {
    const std::string home = Environment("HOME");
    if (home.empty()) return {};
    folder = home + "/.config";
  }
  return folder + "/tirravel/tirravel.conf";
}

std::optional<std::string> ReadSettingsFile(const std::string& path, std::string* error) {
  auto fail = [&](const std::string& reason) {
    if (error) *error = path + ": " + reason;
    return std::nullopt;
  };
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    return fail(std::string("cannot be read: ") + std::strerror(errno));
  }
  std::string text(kLongestFile + 1, '\0');
  const std::size_t length = std::fread(text.data(), 1, text.size(), file.get());
  if (std::ferror(file.get())) return fail(std::string("cannot be read: ") + std::strerror(errno));
  if (length > kLongestFile) {
    return fail("longer than " + std::to_string(kLongestFile) + " bytes, not a settings file");
  }
  text.resize(length);
  return text;
}

}  // namespace platform::startup
