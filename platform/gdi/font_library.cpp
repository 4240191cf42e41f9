#include "platform/gdi/font_library.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "platform/gdi/cp932.h"
#include "platform/gdi/font_finder.h"

namespace platform::gdi {
namespace {

// A context's font when nothing else is asked for: the system font's 16-pixel cell.
constexpr int kDefaultCellHeight = 16;
// Bounds on the caches, so an endless variety of texts or sizes cannot grow them forever.
constexpr std::size_t kMaxGlyphsPerFont = 4096;
constexpr std::size_t kMaxFonts = 64;

// Which installed families stand for a face name, and of what style the fallbacks should be.
struct FamilyPlan {
  std::vector<std::string> families;  // in order of preference
  std::vector<std::string> fallbackFamilies;
  bool serif = false;
};

bool IsOneOf(const std::string& name, std::initializer_list<const char*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

FamilyPlan PlanFor(const std::string& faceName) {
  // The standard Mincho of the time was a serif face with fixed-pitch half-width characters;
  // IPAMincho has that shape. The system font was a fixed-pitch sans: IPAGothic.
  const std::vector<std::string> mincho{"IPAMincho", "Noto Serif CJK JP"};
  const std::vector<std::string> gothic{"IPAGothic", "Noto Sans CJK JP"};
  if (IsOneOf(faceName, {"標準明朝", "ＭＳ 明朝", "MS Mincho"})) return {mincho, gothic, true};
  if (IsOneOf(faceName, {"", "System", "ＭＳ ゴシック", "MS Gothic"})) {
    return {gothic, mincho, false};
  }
  std::vector<std::string> families{faceName};
  families.insert(families.end(), gothic.begin(), gothic.end());
  return {families, mincho, false};
}

bool IsControl(char32_t character) {
  return character == kUndecodable || character < 0x20 || character == 0x7F;
}

GlyphImage CopyBitmap(const FT_GlyphSlotRec& slot) {
  const FT_Bitmap& bitmap = slot.bitmap;
  GlyphImage image;
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if ((!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) || bitmap.pitch < 0) return image;
  image.left = slot.bitmap_left;
  image.top = slot.bitmap_top;
  image.width = static_cast<int>(bitmap.width);
  image.height = static_cast<int>(bitmap.rows);
  image.coverage.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int row = 0; row < image.height; ++row) {
    const unsigned char* source = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    std::uint8_t* target = image.coverage.data() + static_cast<std::size_t>(row) * image.width;
    for (int column = 0; column < image.width; ++column) {
      target[column] =
          mono ? ((source[column >> 3] >> (7 - (column & 7))) & 1 ? 255 : 0) : source[column];
    }
  }
  return image;
}

}  // namespace

std::string FontRequest::Key() const {
  return faceName + '|' + std::to_string(height) + '|' + std::to_string(width) + '|' +
         (bold ? 'b' : '-') + (italic ? 'i' : '-') + (monochrome ? 'm' : '-') +
         (scale == 1.0f ? std::string() : 'x' + std::to_string(scale));
}

// What a cached glyph costs: its coverage and its record.
std::size_t BytesOf(const GlyphImage& glyph) {
  return glyph.coverage.capacity() + sizeof(GlyphImage) + sizeof(char32_t);
}

const GlyphImage& RealizedFont::Glyph(char32_t character) {
  if (auto found = glyphs_.find(character); found != glyphs_.end()) return found->second;
  GlyphImage glyph = Render(FindSource(character));
  const std::size_t bytes = BytesOf(glyph);
  if (glyphs_.size() >= kMaxGlyphsPerFont) library_->ForgetGlyphs(*this);
  library_->MakeRoomForGlyph(*this, bytes);
  glyphBytes_ += bytes;
  library_->glyphBytes_ += bytes;
  return glyphs_.emplace(character, std::move(glyph)).first->second;
}

RealizedFont::Source RealizedFont::FindSource(char32_t character) {
  if (IsControl(character)) return {faces_.front(), 0};
  for (FT_Face face : faces_) {
    if (FT_UInt index = FT_Get_Char_Index(face, character)) return {face, index};
  }
  if (FT_Face face = library_->FallbackFaceFor(character)) {
    return {face, FT_Get_Char_Index(face, character)};
  }
  return {faces_.front(), 0};  // no installed face has it: the missing-glyph box, not nothing
}

GlyphImage RealizedFont::Render(Source source) {
  FT_Face face = source.face;
  GlyphImage image;
  if (FT_Set_Char_Size(face, charWidth_, charHeight_, 72, 72) != 0) return image;
  FT_Matrix slant{0x10000, 0x3800, 0, 0x10000};  // about 12 degrees
  FT_Set_Transform(face, italic_ ? &slant : nullptr, nullptr);
  const FT_Int32 flags =
      FT_LOAD_NO_BITMAP | (monochrome_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT);
  if (FT_Load_Glyph(face, source.glyphIndex, flags) == 0) {
    FT_GlyphSlot slot = face->glyph;
    const int advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (bold_ && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      // Widen the strokes by one pixel of the game's picture to the right (emboldening_ in the
      // drawn picture's pixels), as GDI's synthetic bold does, and leave
      // the advance alone so fixed-pitch text keeps its columns. FreeType grows the outline by
      // half the strength on each side and then shifts it right by that half, so the left edge
      // of the ink stays where the regular glyph's is without any further translation.
      FT_Outline_EmboldenXY(&slot->outline, emboldening_, 0);
    }
    if (FT_Render_Glyph(slot, monochrome_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0) {
      image = CopyBitmap(*slot);
    }
    image.advance = advance;
  }
  FT_Set_Transform(face, nullptr, nullptr);
  return image;
}

FontLibrary::FontLibrary() {
  if (FT_Init_FreeType(&freetype_) != 0) freetype_ = nullptr;
}

FontLibrary::~FontLibrary() {
  fonts_.clear();
  for (auto& [key, face] : faces_) FT_Done_Face(face);
  if (freetype_) FT_Done_FreeType(freetype_);
}

FT_Face FontLibrary::OpenFace(const std::string& path, int index) {
  const std::string key = path + '#' + std::to_string(index);
  if (auto found = faces_.find(key); found != faces_.end()) return found->second;
  FT_Face face = nullptr;
  if (FT_New_Face(freetype_, path.c_str(), index, &face) != 0) face = nullptr;
  if (face && !FT_IS_SCALABLE(face)) {  // bitmap-only faces cannot be drawn at any size
    FT_Done_Face(face);
    face = nullptr;
  }
  faces_.emplace(key, face);
  return face;
}

const FontLibrary::FaceChain& FontLibrary::ChainFor(const std::string& faceName) {
  if (auto found = chains_.find(faceName); found != chains_.end()) return found->second;
  const FamilyPlan plan = PlanFor(faceName);
  FaceChain chain;
  auto add = [&](const std::optional<FontFile>& file) {
    FT_Face face = file ? OpenFace(file->path, file->index) : nullptr;
    if (!face || std::find(chain.faces.begin(), chain.faces.end(), face) != chain.faces.end()) {
      return;
    }
    if (chain.faces.empty()) chain.primaryFamily = file->family;
    chain.faces.push_back(face);
  };
  for (const std::string& family : plan.families) add(FindFamily(family));
  if (chain.faces.empty() && !warnedNoJapanese_) {
    warnedNoJapanese_ = true;
    std::fprintf(stderr,
                 "tirravel: none of the Japanese faces %s or %s is installed; texts use "
                 "a fallback face and may lack characters\n",
                 plan.families.front().c_str(), plan.families.back().c_str());
  }
  for (const std::string& family : plan.fallbackFamilies) add(FindFamily(family));
  add(FindJapaneseFace(plan.serif));
  add(FindAnyFace(plan.serif));
  return chains_.emplace(faceName, std::move(chain)).first->second;
}

FT_Face FontLibrary::FallbackFaceFor(char32_t character) {
  if (auto found = fallbacks_.find(character); found != fallbacks_.end()) return found->second;
  const std::optional<FontFile> file = FindFaceWithCharacter(character);
  FT_Face face = file ? OpenFace(file->path, file->index) : nullptr;
  if (face && FT_Get_Char_Index(face, character) == 0) face = nullptr;
  fallbacks_.emplace(character, face);
  return face;
}

void FontLibrary::ForgetUnusedFonts() {
  if (fonts_.size() < kMaxFonts) return;
  std::erase_if(fonts_, [this](const auto& entry) {
    if (entry.second.use_count() != 1) return false;
    glyphBytes_ -= entry.second->glyphBytes_;
    return true;
  });
}

void FontLibrary::ForgetGlyphs(RealizedFont& font) {
  glyphBytes_ -= font.glyphBytes_;
  font.glyphBytes_ = 0;
  font.glyphs_.clear();
}

void FontLibrary::MakeRoomForGlyph(RealizedFont& font, std::size_t bytes) {
  if (glyphBytes_ + bytes <= kGlyphCacheBytes) return;
  ForgetGlyphs(font);
  if (glyphBytes_ + bytes <= kGlyphCacheBytes) return;
  for (auto& [key, other] : fonts_) ForgetGlyphs(*other);
}

std::shared_ptr<RealizedFont> FontLibrary::Realize(const FontRequest& request) {
  if (!freetype_) return nullptr;
  const std::string key = request.Key();
  if (auto found = fonts_.find(key); found != fonts_.end()) return found->second;
  const FaceChain& chain = ChainFor(request.faceName);
  if (chain.faces.empty()) return nullptr;
  const FT_Face primary = chain.faces.front();

  // The cell is the face's ascent plus descent; a positive height asks for the cell, a negative
  // one for the em.
  const double unitsPerEm = primary->units_per_EM;
  double ascender = primary->ascender;
  double extent = primary->ascender - primary->descender;
  if (extent <= 0) {
    extent = unitsPerEm;
    ascender = unitsPerEm * 0.8;
  }
  // CreateFontIndirectA refuses larger sizes; a request from elsewhere is held to them too, so
  // that a lying height never makes gigantic glyphs. At a render scale the game's sizes are
  // multiplied before anything is rounded, so the cell and ascent are those of the glyphs drawn.
  const double scale = std::isfinite(request.scale) && request.scale > 0 ? request.scale : 1.0;
  double emPixels = 0;
  int cell = 0;
  if (request.height < 0) {
    emPixels = std::min(-static_cast<double>(request.height), double{kMaxFontPixels}) * scale;
    cell = static_cast<int>(std::lround(extent * emPixels / unitsPerEm));
  } else {
    cell = request.height == 0 ? kDefaultCellHeight : std::min(request.height, kMaxFontPixels);
    if (scale != 1.0) cell = static_cast<int>(std::lround(cell * scale));
    emPixels = cell * unitsPerEm / extent;
  }
  double emWidthPixels = emPixels;
  if (request.width > 0) {
    const auto* metrics = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(primary, FT_SFNT_OS2));
    const double average =
        metrics && metrics->xAvgCharWidth > 0 ? metrics->xAvgCharWidth : unitsPerEm / 2;
    emWidthPixels = std::min(request.width, kMaxFontPixels) * scale * unitsPerEm / average;
  }
  if (scale != 1.0 && std::max(emPixels, emWidthPixels) > kMaxScaledFontPixels) {
    emPixels = std::min(emPixels, double{kMaxScaledFontPixels});
    emWidthPixels = std::min(emWidthPixels, double{kMaxScaledFontPixels});
    cell = static_cast<int>(std::lround(extent * emPixels / unitsPerEm));
  }

  ForgetUnusedFonts();
  auto font = std::make_shared<RealizedFont>();
  font->library_ = this;
  static std::uint64_t lastSerial = 0;
  font->serial_ = ++lastSerial;
  font->faces_ = chain.faces;
  font->primaryFamily_ = chain.primaryFamily;
  font->bold_ = request.bold;
  font->italic_ = request.italic;
  font->monochrome_ = request.monochrome;
  font->scale_ = static_cast<float>(scale);
  font->emboldening_ = std::max(64L, std::lround(64 * scale));
  font->charWidth_ = std::max(64L, std::lround(emWidthPixels * 64));
  font->charHeight_ = std::max(64L, std::lround(emPixels * 64));
  font->cellHeight_ = std::max(1, cell);
  font->ascent_ = static_cast<int>(std::lround(ascender * emPixels / unitsPerEm));
  fonts_.emplace(key, font);
  return font;
}

}  // namespace platform::gdi
