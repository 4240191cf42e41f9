// The game as installed: the tirravel-replay program in games/ of a temporary tree, the data
// folder where the build's layout puts it beside the program, and the game started in a folder
// of its own. The current folder's Texture.bmp wins, even a broken one; without one, the installed
// one is read, found from the program's own file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/robustness/support/bmp_bytes.h"
#include "tests/robustness/support/whole_game.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

void WriteTexture(const fs::path& folder, const Bytes& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / "Texture.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// 54 bytes of headers and 768 of pixels; cut to 100 bytes, 46 of them are there.
const Bytes kGood = MakeBmp(24, 16, 16);
const Bytes kBroken = Cut(kGood, 100);
const std::string kBrokenReason = "file is truncated (pixel data needs 768 bytes, 46 present)";

class InstalledGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = temporary_.Path();
    fs::create_directories(root_ / "games");
    program_ = root_ / "games" / "tirravel-replay";
    // The program's own file must be in the tree, not a link to the build's (the game's path
    // names the file with links resolved): a hard link where it can, else a copy.
    std::error_code linkError;
    fs::create_hard_link(ReplayProgram(), program_, linkError);
    if (linkError) fs::copy_file(ReplayProgram(), program_);
    data_ = DataFolderBeside(program_);
    here_ = root_ / "here";
    fs::create_directories(here_);
  }

  void ExpectPlays() {
    const GameOutcome outcome = PlayAsProgram(here_, false, program_);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.status, 0);
  }
  void ExpectFails(const std::string& reason) {
    const GameOutcome outcome = PlayAsProgram(here_, false, program_);
    EXPECT_EQ(outcome.err, "InitScene failed: " + reason + "\n");
    EXPECT_EQ(outcome.status, 1);
  }

  const TempFolder temporary_;
  fs::path root_, program_, data_, here_;
};

TEST_F(InstalledGameTest, ReadsItsOwnTextureFromAnyFolder) {
  ASSERT_TRUE(data_.string().starts_with(root_.string())) << data_;
  WriteTexture(data_, kGood);
  ExpectPlays();
  // A broken installed texture speaks of itself by its full path.
  WriteTexture(data_, kBroken);
  ExpectFails((data_ / "Texture.bmp").string() + ": " + kBrokenReason);
}

TEST_F(InstalledGameTest, TheCurrentFoldersTextureWinsEvenBroken) {
  WriteTexture(data_, kBroken);
  WriteTexture(here_, kGood);
  ExpectPlays();
  WriteTexture(data_, kGood);
  WriteTexture(here_, kBroken);
  ExpectFails("Texture.bmp: " + kBrokenReason);
}

TEST_F(InstalledGameTest, WithoutEitherTheLineNamesBothFolders) {
  ExpectFails(TextureNotFound(here_, program_));
  EXPECT_EQ(TextureNotFound(here_, program_).find("/../"), std::string::npos);
}

}  // namespace
