#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/api/win32.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(ModuleFileName, TheProgramsFullPathCutToTheBufferWithATerminator) {
  const std::string expected = fs::read_symlink("/proc/self/exe").string();
  std::string room(expected.size() + 1, 'x');  // exactly enough: not cut
  for (HMODULE module : {static_cast<HMODULE>(nullptr), GetModuleHandleA(nullptr)}) {
    EXPECT_EQ(GetModuleFileNameA(module, room.data(), room.size()), expected.size());
    EXPECT_EQ(room.c_str(), expected);
  }
  char small[8] = "xxxxxxx";
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, 5), 5u);
  EXPECT_STREQ(small, expected.substr(0, 4).c_str());
  EXPECT_EQ(small[5], 'x') << "nothing written past the size given";
}

TEST(ModuleFileName, FailsForAnotherModuleOrNoRoom) {
  char path[64];
  int other = 0;
  ClearPlatformErrorText();
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(&other), path, sizeof path), 0u);
  EXPECT_STRNE(GetPlatformErrorText(), "");
  EXPECT_EQ(GetModuleFileNameA(nullptr, path, 0), 0u);
  EXPECT_EQ(GetModuleFileNameA(nullptr, nullptr, 64), 0u);
}

class FileNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::canonical(temporary_.Path());
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  void TearDown() override { fs::current_path(previous_); }
  const TempFolder temporary_;
  fs::path folder_, previous_;
};

TEST_F(FileNamesTest, AttributesOfFilesFoldersAndLinksThemselves) {
  std::ofstream("file") << "x";
  fs::create_directory("folder");
  fs::create_symlink("folder", "to_folder");
  fs::create_symlink("nowhere", "dangling");
  EXPECT_EQ(GetFileAttributesA("file"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GetFileAttributesA((folder_ / "folder").c_str()), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("to_folder"),
            FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("dangling"), FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(GetFileAttributesA("missing"), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(std::string(GetPlatformErrorText()).find("missing"), std::string::npos);
  EXPECT_EQ(GetFileAttributesA(""), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileNamesTest, FullPathsResolvedByTheTextAlone) {
  const std::string here = folder_.string();
  char path[4096];
  LPSTR part = nullptr;
  const auto full = [&](LPCSTR name) {
    const DWORD length = GetFullPathNameA(name, sizeof path, path, &part);
    EXPECT_EQ(length, std::strlen(path)) << name;
    return std::string(path);
  };
  EXPECT_EQ(full("a.bmp"), here + "/a.bmp");
  EXPECT_STREQ(part, "a.bmp");
  EXPECT_EQ(full("."), here);
  EXPECT_EQ(full("/usr/games/../share//games/./tirravel/Texture.bmp"),
            "/usr/share/games/tirravel/Texture.bmp");
  EXPECT_STREQ(part, "Texture.bmp");
  EXPECT_EQ(full("/usr/share/"), "/usr/share/");
  EXPECT_EQ(part, nullptr);
  EXPECT_EQ(full("/../.."), "/");

  // Too small: the room needed, terminator included, and the buffer untouched.
  std::strcpy(path, "kept");
  EXPECT_EQ(GetFullPathNameA("/usr/share", 10, path, nullptr), 11u);
  EXPECT_STREQ(path, "kept");
  EXPECT_EQ(GetFullPathNameA("/usr/share", 0, nullptr, nullptr), 11u);
  EXPECT_EQ(GetFullPathNameA("", sizeof path, path, nullptr), 0u);
}

}  // namespace
