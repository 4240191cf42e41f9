// Fonts and glyphs with FreeType: faces found through fontconfig, realised at a size and style
// once, and their glyphs rendered once; the game creates a font for every line it draws, so
// everything here is cached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace platform::gdi {

// The largest height or width, either sign, a font may ask for: glyphs of this size already take
// a megabyte each, and the game asks for 30 to 200.
constexpr int kMaxFontPixels = 1024;
// The largest em a font is realised at once a render scale multiplies it: the game's 200 at the
// largest scale, 17, and a bound on what a glyph may take.
constexpr int kMaxScaledFontPixels = 3500;
// What the glyphs cached by every font of one library may take together, in bytes.
constexpr std::size_t kGlyphCacheBytes = std::size_t{32} << 20;

// What a LOGFONTA asks for, reduced to what changes the drawn glyphs.
struct FontRequest {
  std::string faceName;     // UTF-8
  int height = 0;           // as lfHeight: > 0 cell height, < 0 em height, 0 default
  int width = 0;            // as lfWidth: average character width, 0 for the face's own
  bool bold = false;        // emboldened by about a pixel, advances unchanged
  bool italic = false;      // slanted
  bool monochrome = false;  // no anti-aliasing, as the bitmap system font was drawn
  // The render scale: the sizes above are the game's, and the glyphs are drawn at this many
  // times them (bold widened by as many pixels), at their real size, never enlarged afterwards.
  float scale = 1.0f;
  std::string Key() const;
};

struct GlyphImage {
  int left = 0;  // from the pen position right to the first column
  int top = 0;   // from the baseline up to the first row
  int width = 0;
  int height = 0;
  int advance = 0;                     // how far the pen moves on, in whole pixels
  std::vector<std::uint8_t> coverage;  // width × height, 0 (none) to 255 (full), top row first
};

class FontLibrary;

// One font at one size and style: its faces (the asked-for one first, then fallbacks for the
// characters it lacks) and the glyphs rendered so far.
class RealizedFont {
 public:
  int CellHeight() const { return cellHeight_; }
  int Ascent() const { return ascent_; }
  // The render scale it was realised for: its cell, ascent and glyphs are in pixels of a picture
  // that many times the game's size.
  float Scale() const { return scale_; }
  const std::string& PrimaryFamily() const { return primaryFamily_; }
  // Unique to this font among every font any library of the process realised, numbered in the
  // order they were realised: what drawn lines of its text can be cached by.
  std::uint64_t Serial() const { return serial_; }
  // The glyph of a character, from the first face that has it; the primary face's missing-glyph
  // box when none has it or the character is a control code or undecodable. The reference is
  // valid until the next call on any font of the same library.
  const GlyphImage& Glyph(char32_t character);

 private:
  friend class FontLibrary;
  struct Source {
    FT_FaceRec_* face;
    unsigned glyphIndex;
  };
  Source FindSource(char32_t character);
  GlyphImage Render(Source source);

  FontLibrary* library_ = nullptr;
  std::uint64_t serial_ = 0;
  std::vector<FT_FaceRec_*> faces_;  // primary first
  std::string primaryFamily_;
  bool bold_ = false;
  bool italic_ = false;
  bool monochrome_ = false;
  float scale_ = 1.0f;
  long emboldening_ = 64;  // 26.6 pixels a bold stroke widens by
  long charWidth_ = 0;     // 26.6 pixels per em, horizontally
  long charHeight_ = 0;    // 26.6 pixels per em, vertically
  int cellHeight_ = 0;
  int ascent_ = 0;
  std::unordered_map<char32_t, GlyphImage> glyphs_;
  std::size_t glyphBytes_ = 0;  // what glyphs_ holds
};

class FontLibrary {
 public:
  FontLibrary();
  ~FontLibrary();
  FontLibrary(const FontLibrary&) = delete;
  FontLibrary& operator=(const FontLibrary&) = delete;

  // The font for a request, shared with every earlier request of the same key. Null only when
  // FreeType is unusable or no face at all is installed.
  std::shared_ptr<RealizedFont> Realize(const FontRequest& request);
  // What the glyphs cached by all its fonts take, in bytes; at most kGlyphCacheBytes, or one
  // glyph when a single glyph is larger.
  std::size_t GlyphBytes() const { return glyphBytes_; }

 private:
  friend class RealizedFont;
  struct FaceChain {
    std::vector<FT_FaceRec_*> faces;
    std::string primaryFamily;
  };
  const FaceChain& ChainFor(const std::string& faceName);
  FT_FaceRec_* OpenFace(const std::string& path, int index);
  FT_FaceRec_* FallbackFaceFor(char32_t character);
  void ForgetUnusedFonts();
  // Forgets glyphs, this font's first and then every font's, until one more of the given size
  // fits the budget.
  void MakeRoomForGlyph(RealizedFont& font, std::size_t bytes);
  void ForgetGlyphs(RealizedFont& font);

  FT_LibraryRec_* freetype_ = nullptr;
  std::unordered_map<std::string, FT_FaceRec_*> faces_;   // by "path#index"; owned
  std::unordered_map<std::string, FaceChain> chains_;     // by requested face name
  std::unordered_map<char32_t, FT_FaceRec_*> fallbacks_;  // null: no installed face has it
  std::unordered_map<std::string, std::shared_ptr<RealizedFont>> fonts_;  // by request key
  std::size_t glyphBytes_ = 0;  // over every font in fonts_
  bool warnedNoJapanese_ = false;
};

}  // namespace platform::gdi
