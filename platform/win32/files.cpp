// The file calls: the program's own file (from /proc/self/exe), an entry's attributes, and full
// paths. Paths are Linux paths, '/' between components.
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/api/win32.h"
#include "platform/core/last_error.h"

using platform::Fail;
namespace {

// Resolves ".", ".." (never above the root) and empty components by the text alone, as Windows
// does: "/usr/games/../share/" becomes "/usr/share/". A trailing separator stays.
std::string Normalised(const std::string& absolute) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= absolute.size()) {
    std::size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    const std::string part = absolute.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  if (result.empty() || absolute.back() == '/') result += "/";
  return result;
}

}  // namespace

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  if (module != nullptr && module != GetModuleHandleA(nullptr)) {
    return Fail(DWORD{0}, "GetModuleFileNameA: not a module of this program");
  }
  if (fileName == nullptr || size == 0)
    return Fail(DWORD{0}, "GetModuleFileNameA: no room for the path");
  std::error_code error;
  const std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  if (error || path.empty()) {
    return Fail(DWORD{0},
                "GetModuleFileNameA: the program's own file is unknown (" + error.message() + ")");
  }
  if (path.size() >= size) {
    std::memcpy(fileName, path.data(), size - 1);
    fileName[size - 1] = '\0';
    return Fail(size, "GetModuleFileNameA: the path is longer than " + std::to_string(size - 1) +
                          " characters");
  }
  std::memcpy(fileName, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

DWORD GetFileAttributesA(LPCSTR fileName) {
  if (fileName == nullptr || fileName[0] == '\0') {
    return Fail(INVALID_FILE_ATTRIBUTES, "GetFileAttributesA: no file name");
  }
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status entry = fs::symlink_status(fileName, error);
  if (!fs::exists(entry)) {
    return Fail(INVALID_FILE_ATTRIBUTES, std::string("GetFileAttributesA: ") + fileName + ": " +
                                             (error ? error.message() : "no such file"));
  }
  if (fs::is_symlink(entry)) {
    return FILE_ATTRIBUTE_REPARSE_POINT |
           (fs::is_directory(fs::status(fileName, error)) ? FILE_ATTRIBUTE_DIRECTORY : 0);
  }
  return fs::is_directory(entry) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
  if (fileName == nullptr || fileName[0] == '\0')
    return Fail(DWORD{0}, "GetFullPathNameA: no file name");
  std::string absolute = fileName;
  if (absolute[0] != '/') {
    std::error_code error;
    const std::string here = std::filesystem::current_path(error).string();
    if (error) {
      return Fail(DWORD{0},
                  "GetFullPathNameA: the current folder is unknown (" + error.message() + ")");
    }
    absolute = here + "/" + absolute;
  }
  const std::string full = Normalised(absolute);
  if (full.size() >= bufferLength || buffer == nullptr) {
    return static_cast<DWORD>(full.size() + 1);
  }
  std::memcpy(buffer, full.c_str(), full.size() + 1);
  if (filePart) {
    *filePart = full.back() == '/' ? nullptr : buffer + full.rfind('/') + 1;
  }
  return static_cast<DWORD>(full.size());
}
