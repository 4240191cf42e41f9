#include "platform/gdi/font_finder.h"

#include <fontconfig/fontconfig.h>

#include <strings.h>
#include <memory>

namespace platform::gdi {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* Text(const char* text) {
  return reinterpret_cast<const FcChar8*>(text);
}

// Opens fontconfig on first use and gives its memory back when the program ends (FcFini), so
// leak checkers see only what is really lost.
class FontconfigSession {
 public:
  FontconfigSession() : open_(FcInit() == FcTrue) {}
  ~FontconfigSession() {
    if (open_) FcFini();
  }
  bool open() const { return open_; }

 private:
  bool open_;
};

// Fills in the defaults and asks fontconfig for its best match; null when it has none.
Pattern BestMatch(FcPattern* request) {
  static const FontconfigSession session;
  if (!session.open()) return nullptr;
  FcConfigSubstitute(nullptr, request, FcMatchPattern);
  FcDefaultSubstitute(request);
  FcResult result = FcResultNoMatch;
  return Pattern(FcFontMatch(nullptr, request, &result));
}

std::optional<FontFile> FileOf(const FcPattern* match) {
  FcChar8* path = nullptr;
  if (!match || FcPatternGetString(match, FC_FILE, 0, &path) != FcResultMatch) return {};
  FontFile file;
  file.path = reinterpret_cast<const char*>(path);
  int index = 0;
  if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) file.index = index;
  FcChar8* family = nullptr;
  if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
    file.family = reinterpret_cast<const char*>(family);
  }
  return file;
}

bool HasFamily(const FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
  }
  return false;
}

const char* Generic(bool serif) {
  return serif ? "serif" : "sans-serif";
}

}  // namespace

std::optional<FontFile> FindFamily(const std::string& family) {
  Pattern request(FcPatternCreate());
  FcPatternAddString(request.get(), FC_FAMILY, Text(family.c_str()));
  Pattern match = BestMatch(request.get());
  if (!match || !HasFamily(match.get(), family)) return {};
  return FileOf(match.get());
}

std::optional<FontFile> FindJapaneseFace(bool serif) {
  Pattern request(FcPatternCreate());
  FcPatternAddString(request.get(), FC_FAMILY, Text(Generic(serif)));
  FcLangSet* languages = FcLangSetCreate();
  FcLangSetAdd(languages, Text("ja"));
  FcPatternAddLangSet(request.get(), FC_LANG, languages);
  FcLangSetDestroy(languages);
  Pattern match = BestMatch(request.get());
  FcLangSet* covered = nullptr;
  if (!match || FcPatternGetLangSet(match.get(), FC_LANG, 0, &covered) != FcResultMatch ||
      FcLangSetHasLang(covered, Text("ja")) != FcLangEqual) {
    return {};
  }
  return FileOf(match.get());
}

std::optional<FontFile> FindAnyFace(bool serif) {
  Pattern request(FcPatternCreate());
  FcPatternAddString(request.get(), FC_FAMILY, Text(Generic(serif)));
  Pattern match = BestMatch(request.get());
  return FileOf(match.get());
}

std::optional<FontFile> FindFaceWithCharacter(char32_t character) {
  Pattern request(FcPatternCreate());
  FcCharSet* wanted = FcCharSetCreate();
  FcCharSetAddChar(wanted, character);
  FcPatternAddCharSet(request.get(), FC_CHARSET, wanted);
  FcCharSetDestroy(wanted);
  Pattern match = BestMatch(request.get());
  FcCharSet* has = nullptr;
  if (!match || FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &has) != FcResultMatch ||
      !FcCharSetHasChar(has, character)) {
    return {};
  }
  return FileOf(match.get());
}

}  // namespace platform::gdi
