// A device drawing on three threads keeps a scene's work and draws it later: whatever touches
// the memory it draws into or reads from first has it drawn, so every door sees the pixels as if
// each DrawPrimitive had been drawn at once; and its threads go with it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

#include "platform/api/gdi.h"
#include "platform/d3d/drawing_threads.h"
#include "platform/host/headless/headless_host.h"
#include "tests/platform/d3d/d3d_fixture.h"

namespace {

constexpr std::uint32_t kRed = 0xF800;
constexpr std::uint32_t kGreen = 0x07E0;
constexpr std::uint32_t kBlue = 0x001F;

class KeptDrawingTest : public Direct3DDeviceTest {
 protected:
  void SetUp() override {
    platform::d3d::RequestDrawingThreads(3);
    Direct3DDeviceTest::SetUp();
  }
  void TearDown() override {
    Direct3DDeviceTest::TearDown();
    platform::d3d::RequestDrawingThreads(0);
  }

  void Draw(std::vector<D3DLVERTEX> vertices) {
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_LVERTEX, vertices.data(),
                                    static_cast<DWORD>(vertices.size()), D3DDP_WAIT),
              D3D_OK);
  }

  // An 8×8 RGB 565 texture of one colour.
  IDirect3DTexture2* SolidTexture(std::uint32_t colour) {
    IDirectDrawSurface* surface = CreateTexture(8, 8, kRgb565);
    DDBLTFX fx = Fill(colour);
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    IDirect3DTexture2* texture = nullptr;
    EXPECT_EQ(surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<LPVOID*>(&texture)),
              DD_OK);
    surface->Release();
    D3DTEXTUREHANDLE handle = 0;
    EXPECT_EQ(texture->GetHandle(device, &handle), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, handle), D3D_OK);
    return texture;
  }
};

int Threads() {
  const std::filesystem::directory_iterator tasks("/proc/self/task");
  return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

// A thread is gone from /proc a moment after it is joined.
bool ThreadsSettleAt(int expected) {
  for (int wait = 0; wait < 200 && Threads() != expected; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return Threads() == expected;
}

TEST_F(KeptDrawingTest, EveryDoorToTheMemoryDrawsTheKeptWorkFirst) {
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  Draw(Triangle(0xFFFF0000));
  EXPECT_EQ(Pixel(8, 8), kRed) << "a lock";
  // Into a locked surface, whose holder may write it any time: at once.
  DDSURFACEDESC locked = Description(0, 0);
  ASSERT_EQ(back->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
  Draw(Triangle(0xFF0000FF));
  const auto* row = static_cast<const std::uint16_t*>(locked.lpSurface) + 8 * locked.lPitch / 2;
  EXPECT_EQ(row[8], kBlue) << "a draw into a locked surface";
  ASSERT_EQ(back->Unlock(nullptr), DD_OK);

  Draw(Triangle(0xFF00FF00));
  DDBLTFX fx = Fill(kBackground);
  ASSERT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
  ASSERT_EQ(device->EndScene(), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), kBackground) << "a fill after a draw covers it";

  ASSERT_EQ(device->BeginScene(), D3D_OK);
  Draw(Triangle(0xFF0000FF));
  HDC dc = nullptr;
  ASSERT_EQ(back->GetDC(&dc), DD_OK);
  EXPECT_EQ(GetPixel(dc, 8, 8), RGB(0, 0, 255)) << "a device context";
  // A context had before the draw: its drawing comes after it.
  Draw(Triangle(0xFFFF0000));
  SetPixel(dc, 8, 8, RGB(0, 255, 0));
  ASSERT_EQ(back->ReleaseDC(dc), DD_OK);
  ASSERT_EQ(device->EndScene(), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), kGreen) << "a context's drawing after a draw";
  EXPECT_EQ(Pixel(9, 8), kRed);

  // A texture loaded anew, or gone, after a draw that reads it: the draw saw the old texels.
  IDirect3DTexture2* blue = SolidTexture(kBlue);
  IDirect3DTexture2* red = SolidTexture(kRed);
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  Draw(Triangle());
  ASSERT_EQ(red->Load(blue), D3D_OK);
  ASSERT_EQ(device->EndScene(), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), kRed) << "a texture load";
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  Draw(Triangle());
  red->Release();
  blue->Release();
  ASSERT_EQ(device->EndScene(), D3D_OK);
  EXPECT_EQ(Pixel(8, 8), kBlue) << "a texture gone";
  ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, 0), D3D_OK);

  ASSERT_EQ(device->BeginScene(), D3D_OK);
  Draw(Triangle(0xFF00FF00));
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  const platform::host::headless::Frame* shown = platform::host::headless::LastFrame();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->pixels[8 * shown->width + 8], kGreen) << "a flip";
  Draw(Triangle(0xFFFF0000));
  ReleaseOnce(device);
  EXPECT_EQ(Pixel(8, 8), kRed) << "the device released in a scene";
}

TEST_F(KeptDrawingTest, ThreadsStartAndStopWithTheDevice) {
  const int withDevice = Threads();
  ReleaseOnce(device);
  ASSERT_TRUE(ThreadsSettleAt(withDevice - 2)) << "three threads: the caller and two workers";
  const int without = Threads();
  for (int cycle = 0; cycle < 200; ++cycle) {
    ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, back, &device), D3D_OK);
    ReleaseOnce(device);
  }
  EXPECT_TRUE(ThreadsSettleAt(without)) << Threads() - without << " threads left behind";
  platform::d3d::RequestDrawingThreads(1);
  ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DMMXDevice, back, &device), D3D_OK);
  EXPECT_EQ(Threads(), without) << "one thread draws on the caller's";
}

}  // namespace
