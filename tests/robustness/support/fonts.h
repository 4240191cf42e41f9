// Machines with other fonts than ours: a fontconfig set-up that sees only chosen folders, and a
// look at what the text on the last picture came out as.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Writes a fontconfig configuration that knows only `fontFolders` (and caches in `folder`),
// and points this process and its children at it. Call before anything asks for a font.
void UseOnlyTheseFonts(const std::filesystem::path& folder,
                       const std::vector<std::filesystem::path>& fontFolders);

// The file fontconfig gives for a family on this machine, with links resolved.
std::filesystem::path InstalledFontFile(const std::string& family);

// Pixels of exactly `colour` (RGB 565) in rows top to bottom - 1 of the last picture presented.
int PixelsOfColour(std::uint16_t colour, int top, int bottom);

// The game's orange text (255, 180, 0), as GDI writes it into the RGB 565 back buffer.
inline constexpr std::uint16_t kOrangeText = (31 << 11) | (45 << 5);

// Plays five idle frames in this process and checks how the game got by with the fonts it
// found: the run ends well and leaks nothing, the error text is one warning line naming
// `warned`, and the title and the controls are still drawn in orange.
void ExpectFiveFramesWithOneFontWarning(const std::string& warned);
