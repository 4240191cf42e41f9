// Where a picture goes on a screen of another size: scaled with its shape kept and centred
// (the rest is black bars), first by the largest whole factor that fits (crisp, nearest
// neighbour), then smoothly to the final size. Plain arithmetic, tested on its own.
#pragma once

namespace platform::host::sdl {

struct PictureFit {
  int x = 0;  // the picture's rectangle on the screen
  int y = 0;
  int width = 0;
  int height = 0;
  int wholeFactor = 1;  // the crisp upscale before the smooth fit; 1 for none
};

// For a pictureWidth × pictureHeight picture on an outputWidth × outputHeight screen. An empty
// screen gives an empty rectangle.
PictureFit FitPicture(int pictureWidth, int pictureHeight, int outputWidth, int outputHeight);

}  // namespace platform::host::sdl
