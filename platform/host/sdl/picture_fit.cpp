#include "platform/host/sdl/picture_fit.h"

#include <algorithm>

namespace platform::host::sdl {

PictureFit FitPicture(int pictureWidth, int pictureHeight, int outputWidth, int outputHeight) {
  PictureFit fit;
  if (pictureWidth <= 0 || pictureHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) return fit;
  // Compare the two aspect ratios in integers: the side that limits the scale fills the screen.
  const long long widthLimited = static_cast<long long>(outputWidth) * pictureHeight;
  const long long heightLimited = static_cast<long long>(outputHeight) * pictureWidth;
  if (widthLimited <= heightLimited) {
    fit.width = outputWidth;
    fit.height = static_cast<int>((widthLimited + pictureWidth / 2) / pictureWidth);
  } else {
    fit.height = outputHeight;
    fit.width = static_cast<int>((heightLimited + pictureHeight / 2) / pictureHeight);
  }
  fit.x = (outputWidth - fit.width) / 2;
  fit.y = (outputHeight - fit.height) / 2;
  fit.wholeFactor = std::max(1, std::min(fit.width / pictureWidth, fit.height / pictureHeight));
  return fit;
}

}  // namespace platform::host::sdl
