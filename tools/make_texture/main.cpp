// make_texture [output]: paints the game's texture and writes it as a 24-bit bitmap, by default
// to "Texture.bmp" in the current directory. Exit code 0 on success, 1 on failure.
#include <cstdio>
#include <string>

#include "tools/make_texture/bmp_file.h"
#include "tools/make_texture/texture_picture.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: make_texture [output.bmp]\n");
    return 1;
  }
  const std::string path = argc == 2 ? argv[1] : "Texture.bmp";
  std::string error;
  if (!WriteBytes(path, EncodeBmp24(PaintTexture()), error)) {
    std::fprintf(stderr, "make_texture: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
