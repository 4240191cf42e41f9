#include "platform/host/sdl/picture_fit.h"

#include <gtest/gtest.h>

namespace {

using platform::host::sdl::FitPicture;
using platform::host::sdl::PictureFit;

void ExpectFit(const PictureFit& fit, int x, int y, int width, int height, int factor) {
  EXPECT_EQ(fit.x, x);
  EXPECT_EQ(fit.y, y);
  EXPECT_EQ(fit.width, width);
  EXPECT_EQ(fit.height, height);
  EXPECT_EQ(fit.wholeFactor, factor);
}

TEST(PictureFit, WideScreensGetBarsLeftAndRight) {
  ExpectFit(FitPicture(640, 480, 1920, 1080), 240, 0, 1440, 1080, 2);
  ExpectFit(FitPicture(640, 480, 1280, 720), 160, 0, 960, 720, 1);
  ExpectFit(FitPicture(640, 480, 3840, 2160), 480, 0, 2880, 2160, 4);
}

TEST(PictureFit, TallScreensGetBarsAboveAndBelow) {
  ExpectFit(FitPicture(640, 480, 1280, 1024), 0, 32, 1280, 960, 2);
  ExpectFit(FitPicture(640, 480, 1080, 1920), 0, 555, 1080, 810, 1);
}

TEST(PictureFit, ExactMultiplesAndSmallScreens) {
  ExpectFit(FitPicture(640, 480, 640, 480), 0, 0, 640, 480, 1);
  ExpectFit(FitPicture(640, 480, 1920, 1440), 0, 0, 1920, 1440, 3);
  ExpectFit(FitPicture(640, 480, 320, 240), 0, 0, 320, 240, 1);
  ExpectFit(FitPicture(640, 480, 0, 480), 0, 0, 0, 0, 1);
}

}  // namespace
