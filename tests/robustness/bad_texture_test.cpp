// Whatever "Texture.bmp" is, the whole game either plays with it or ends at start-up with one
// line on standard error naming the step and the reason, a non-zero status, and every graphics
// object given back; absurd sizes are refused before anything of their size is allocated. Each
// case runs twice: in this process (to count what is left) and as the tirravel-replay program
// (to see the real exit status).
#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "tests/robustness/support/bmp_bytes.h"
#include "tests/robustness/support/largest_allocation.h"
#include "tests/robustness/support/whole_game.h"

namespace {

namespace fs = std::filesystem;

// A 16 × 16 picture: 48-byte rows, 768 bytes of pixels after 54 bytes of headers.
Bytes Good24() {
  return MakeBmp(24, 16, 16);
}

Bytes With32(Bytes file, std::size_t at, std::uint32_t value) {
  Put32(file, at, value);
  return file;
}

Bytes With16(Bytes file, std::size_t at, std::uint16_t value) {
  Put16(file, at, value);
  return file;
}

void Write(const fs::path& folder, const Bytes& bytes) {
  std::ofstream(folder / "Texture.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

struct TextureCase {
  std::string name;
  std::function<void(const fs::path& folder)> make;
  // What follows "InitScene failed: " on the one line; empty when the game must play.
  std::string reason;
  bool unreadable = false;  // the file may not be read by the user who starts the game
  bool missing = false;     // the reason names the folder and the program's data folder instead
};

void PrintTo(const TextureCase& c, std::ostream* out) {
  *out << c.name;
}

TextureCase File(std::string name, Bytes bytes, std::string reason) {
  return {std::move(name), [bytes](const fs::path& folder) { Write(folder, bytes); },
          std::move(reason)};
}

std::string Truncated(const std::string& part, int needed, int present) {
  return "Texture.bmp: file is truncated (" + part + " needs " + std::to_string(needed) +
         " bytes, " + std::to_string(present) + " present)";
}

std::vector<TextureCase> MissingAndUnreadable() {
  return {
      {"Missing", [](const fs::path&) {}, "", false, true},
      File("Empty", {}, "Texture.bmp: file is empty"),
      {"ADirectory", [](const fs::path& f) { fs::create_directory(f / "Texture.bmp"); },
       "Texture.bmp: not a regular file"},
      {"Unreadable",
       [](const fs::path& f) {
         Write(f, Good24());
         fs::permissions(f / "Texture.bmp", fs::perms::none);
       },
       "Texture.bmp: cannot be opened (Permission denied)", true},
      {"AFifo", [](const fs::path& f) { mkfifo((f / "Texture.bmp").c_str(), 0644); },
       "Texture.bmp: not a regular file"},
      {"LinkToADevice",
       [](const fs::path& f) { fs::create_symlink("/dev/zero", f / "Texture.bmp"); },
       "Texture.bmp: not a regular file"},
      {"LinkInALoop",
       [](const fs::path& f) { fs::create_symlink("Texture.bmp", f / "Texture.bmp"); },
       "Texture.bmp: file not found"},
      File("NotABitmap", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
           "Texture.bmp: not a BMP file (it does not start with \"BM\")"),
  };
}

// Cut at every boundary between header fields, at the end of the colour table, and inside the
// pixels.
std::vector<TextureCase> TruncatedFiles() {
  std::vector<TextureCase> cases;
  for (int length : {1, 2, 6, 10, 14}) {
    cases.push_back(File("CutAt" + std::to_string(length), Cut(Good24(), length),
                         Truncated("file header", 18, length)));
  }
  for (int length : {18, 22, 26, 28, 30, 34, 38, 42, 46, 50}) {
    cases.push_back(File("CutAt" + std::to_string(length), Cut(Good24(), length),
                         Truncated("info header", 40, length - 14)));
  }
  cases.push_back(File("CutAtThePixels", Cut(Good24(), 54), Truncated("pixel data", 768, 0)));
  cases.push_back(
      File("CutOneByteShort", Cut(Good24(), 54 + 767), Truncated("pixel data", 768, 767)));
  cases.push_back(File("CutInTheColourTable", Cut(MakeBmp(8, 4, 4), 54 + 1000),
                       Truncated("colour table", 1024, 1000)));
  return cases;
}

std::vector<TextureCase> LyingFields() {
  return {
      // The file size field is only information; the file itself is what counts.
      File("LyingFileSize", With32(Good24(), kFileSizeField, 0xFFFFFFF0u), ""),
      File("LyingImageSize", With32(Good24(), kImageSizeField, 123456789), ""),
      File("OffsetBeyondTheEnd", With32(Good24(), kPixelOffsetField, 100000),
           "Texture.bmp: pixel data offset 100000 lies beyond the end of the file (822 bytes)"),
      File("OffsetInsideTheHeaders", With32(Good24(), kPixelOffsetField, 20),
           "Texture.bmp: pixel data offset 20 lies inside the headers and colour table (they "
           "end at 54)"),
      File("OffsetLeavingTooLittle", With32(Good24(), kPixelOffsetField, 60),
           Truncated("pixel data", 768, 762)),
      File("WidthLargerThanTheData", With32(Good24(), kWidthField, 100),
           Truncated("pixel data", 4800, 768)),
      File("HeaderSizeUnknown", With32(Good24(), kHeaderSizeField, 64),
           "Texture.bmp: info header size 64 is not one of 12, 40, 52, 56, 108 or 124"),
      File("TwoPlanes", With16(Good24(), kPlanesField, 2), "Texture.bmp: plane count is 2, not 1"),
  };
}

std::vector<TextureCase> BadShapes() {
  std::vector<TextureCase> cases = {
      File("Absurd100000x100000",
           With32(With32(Good24(), kWidthField, 100000), kHeightField, 100000),
           "Texture.bmp: dimensions 100000x100000 are too large (at most 16384 pixels a side)"),
      File("AbsurdTopDown", With32(Good24(), kHeightField, static_cast<std::uint32_t>(-100000)),
           "Texture.bmp: dimensions 16x100000 are too large (at most 16384 pixels a side)"),
      File("AGigabyteOfPixels",
           With16(With32(With32(Good24(), kWidthField, 16384), kHeightField, 16384), kBitCountField,
                  32),
           "Texture.bmp: pixel data of 1073741824 bytes is too large"),
      File("WidthZero", With32(Good24(), kWidthField, 0), "Texture.bmp: width 0 is not positive"),
      File("WidthNegative", With32(Good24(), kWidthField, static_cast<std::uint32_t>(-16)),
           "Texture.bmp: width -16 is not positive"),
      File("HeightZero", With32(Good24(), kHeightField, 0), "Texture.bmp: height is 0"),
      // Readable, but wider than any surface DirectDraw makes.
      File("WiderThanASurface", MakeBmp(24, 5000, 2), "CreateSurface: size 5000x2 is out of range"),
  };
  for (int bits : {0, 2, 7, 64}) {
    cases.push_back(File("BitCount" + std::to_string(bits), With16(Good24(), kBitCountField, bits),
                         "Texture.bmp: bit count " + std::to_string(bits) + " is not supported"));
  }
  return cases;
}

std::vector<TextureCase> BadTablesAndCompression() {
  std::vector<TextureCase> cases = {
      File("TableOf257", With32(MakeBmp(8, 4, 4), kColoursUsedField, 257),
           "Texture.bmp: colour table of 257 entries is longer than the 256 a 8-bit bitmap "
           "allows"),
      File("TableOf17For4Bits", With32(MakeBmp(4, 4, 4), kColoursUsedField, 17),
           "Texture.bmp: colour table of 17 entries is longer than the 16 a 4-bit bitmap allows"),
      File("TableOf300For24Bits", With32(Good24(), kColoursUsedField, 300),
           "Texture.bmp: colour table of 300 entries is longer than the 256 a 24-bit bitmap "
           "allows"),
      File("BitFieldsWith24Bits", With32(Good24(), kCompressionField, 3),
           "Texture.bmp: bit-field compression needs 16 or 32 bits, not 24"),
  };
  const std::pair<int, const char*> compressions[] = {
      {1, " (RLE8)"}, {2, " (RLE4)"}, {4, " (JPEG)"}, {5, " (PNG)"}, {99, ""}};
  for (const auto& [compression, name] : compressions) {
    cases.push_back(File(
        "Compression" + std::to_string(compression),
        With32(MakeBmp(8, 4, 4), kCompressionField, compression),
        "Texture.bmp: compression " + std::to_string(compression) + name + " is not supported"));
  }
  return cases;
}

// Unusual but sound pictures the game must play with.
std::vector<TextureCase> PlayablePictures() {
  return {
      File("OnePixel", MakeBmp(24, 1, 1), ""),
      File("TopDown", With32(Good24(), kHeightField, static_cast<std::uint32_t>(-16)), ""),
      File("OneBit", MakeBmp(1, 16, 16), ""),
      File("FourBits", MakeBmp(4, 16, 16), ""),
      File("EightBitsShortTable", MakeBmp(8, 16, 16, 20), ""),  // indices beyond the table
      File("SixteenBits", MakeBmp(16, 16, 16), ""),
      File("ThirtyTwoBits", MakeBmp(32, 16, 16), ""),
  };
}

std::vector<TextureCase> AllCases() {
  std::vector<TextureCase> all;
  for (auto group : {MissingAndUnreadable, TruncatedFiles, LyingFields, BadShapes,
                     BadTablesAndCompression, PlayablePictures}) {
    for (TextureCase& c : group()) all.push_back(std::move(c));
  }
  return all;
}

// Reading as another user: this process keeps its own rights, only file access changes.
class ReadingAsNobody {
 public:
  explicit ReadingAsNobody(bool wanted) : active_(wanted && geteuid() == 0) {
    if (active_) setfsuid(65534);
  }
  ~ReadingAsNobody() {
    if (active_) setfsuid(0);
  }

 private:
  bool active_;
};

class BadTextureTest : public ::testing::TestWithParam<TextureCase> {};

TEST_P(BadTextureTest, PlaysOrSaysWhyInOneLineAndLeavesNothing) {
  const TextureCase& c = GetParam();
  const fs::path folder = FreshFolder(c.name);
  c.make(folder);

  ResetLargestAllocation();
  GameOutcome inProcess;
  {
    ReadingAsNobody nobody(c.unreadable);
    inProcess = PlayInProcess(folder, IdleFrames(3, 16));
  }
  EXPECT_EQ(inProcess.graphicsObjectsLeft, 0);
  // Nothing the game makes is larger than a screen (600 kB) or two.
  EXPECT_LT(LargestAllocation(), 4u << 20);

  const GameOutcome program = PlayAsProgram(folder, c.unreadable);
  const std::pair<const GameOutcome&, fs::path> runs[] = {{inProcess, "/proc/self/exe"},
                                                          {program, ReplayProgram()}};
  for (const auto& [outcome, programFile] : runs) {
    if (c.missing) {
      EXPECT_EQ(outcome.status, 1);
      EXPECT_EQ(outcome.err, "InitScene failed: " + TextureNotFound(folder, programFile) + "\n");
    } else if (c.reason.empty()) {
      EXPECT_EQ(outcome.status, 0);
      EXPECT_EQ(outcome.err, "");
    } else {
      EXPECT_EQ(outcome.status, 1);
      EXPECT_EQ(outcome.err, "InitScene failed: " + c.reason + "\n");
    }
  }
  EXPECT_EQ(inProcess.frames, c.reason.empty() && !c.missing ? 3u : 0u);
  fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, BadTextureTest, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
