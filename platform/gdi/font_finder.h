// Finding font files with fontconfig: by exact family name, any face that covers Japanese, and
// the face that holds a given character.
#pragma once

#include <optional>
#include <string>

namespace platform::gdi {

struct FontFile {
  std::string path;
  int index = 0;       // face index within the file
  std::string family;  // the family fontconfig reports first for it
};

// The installed face of exactly this family (any of its names, case ignored), or nothing.
// fontconfig always proposes some face; one of another family does not count.
std::optional<FontFile> FindFamily(const std::string& family);

// The best face that covers Japanese, preferring a serif or a sans one; nothing when no
// installed face covers Japanese.
std::optional<FontFile> FindJapaneseFace(bool serif);

// Any face at all (for a machine without the faces we ask for), preferring a serif or sans one.
std::optional<FontFile> FindAnyFace(bool serif);

// The best face whose character set contains the character, or nothing.
std::optional<FontFile> FindFaceWithCharacter(char32_t character);

}  // namespace platform::gdi
