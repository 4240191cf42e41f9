// The texture on a hardware device and on a busy surface, against doubles of the interfaces.
#include "video/course_texture.h"

#include "platform/testing.h"
#include "tests/support/doubles/interface_mocks.h"
#include "tests/video/bmp_file.h"

namespace {

using namespace device_test;
using namespace doubles;
using ::testing::_;
using ::testing::DoAll;
using ::testing::Field;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Pointee;
using ::testing::Return;
using ::testing::SetArgPointee;

MATCHER_P(HasCaps, caps, "") {
  return arg->ddsCaps.dwCaps == caps && arg->dwSize == 108;
}
MATCHER_P(IsKey, value, "") {
  return arg->dwColorSpaceLowValue == value && arg->dwColorSpaceHighValue == value;
}

class HardwareTextureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OfferFormats(device, {Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F)});
    DescribeDevice(device, true);
    ON_CALL(owner, GetDisplayMode).WillByDefault([](LPDDSURFACEDESC mode) {
      mode->ddpfPixelFormat = Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F);
      return DD_OK;
    });
    ON_CALL(memorySurface, GetDC).WillByDefault(DoAll(SetArgPointee<0>(FakeDc()), Return(DD_OK)));
    path = WriteBmp("hardware.bmp", 2, 2, 16, {1, 2, 3, 4});
  }

  static HDC FakeDc() { return reinterpret_cast<HDC>(static_cast<std::uintptr_t>(0x2000)); }

  void ExpectSurfacesMade() {
    EXPECT_CALL(owner, CreateSurface(HasCaps(0x4005000u), _, nullptr))
        .WillOnce(DoAll(SetArgPointee<1>(&deviceSurface), Return(DD_OK)));
    EXPECT_CALL(owner, CreateSurface(HasCaps(0x1800u), _, nullptr))
        .WillOnce(DoAll(SetArgPointee<1>(&memorySurface), Return(DD_OK)));
  }

  void OfferTextureInterfaces() {
    ON_CALL(deviceSurface, QueryInterface(IID_IDirect3DTexture2, _))
        .WillByDefault(DoAll(SetArgPointee<1>(&deviceTexture), Return(DD_OK)));
    ON_CALL(memorySurface, QueryInterface(IID_IDirect3DTexture2, _))
        .WillByDefault(DoAll(SetArgPointee<1>(&memoryTexture), Return(DD_OK)));
  }

  NiceMock<MockDirectDraw2> owner;
  NiceMock<MockDevice> device;
  NiceMock<MockSurface> deviceSurface;
  NiceMock<MockSurface> memorySurface;
  NiceMock<MockTexture> deviceTexture;
  NiceMock<MockTexture> memoryTexture;
  std::string path;
};

TEST_F(HardwareTextureTest, VideoMemorySurfaceIsLoadedFromTheSystemMemoryCopy) {
  ExpectSurfacesMade();
  OfferTextureInterfaces();
  {
    InSequence order;
    EXPECT_CALL(memorySurface, GetDC(_));
    EXPECT_CALL(memorySurface, ReleaseDC(FakeDc()));
    EXPECT_CALL(deviceSurface, Restore()).WillOnce(Return(DD_OK));
    EXPECT_CALL(deviceTexture, Load(&memoryTexture)).WillOnce(Return(D3D_OK));
    EXPECT_CALL(deviceTexture, GetHandle(&device, _))
        .WillOnce(DoAll(SetArgPointee<1>(9u), Return(D3D_OK)));
  }
  EXPECT_CALL(deviceTexture, Release()).Times(2);
  EXPECT_CALL(memoryTexture, Release()).Times(1);
  Texture texture;
  ASSERT_EQ(texture.CreateFromBitmap(&owner, &device, path.c_str()), 1);
  EXPECT_EQ(texture.deviceSurface, &deviceSurface);
  EXPECT_EQ(texture.memorySurface, &memorySurface);
  EXPECT_EQ(texture.GetTextureHandle(), 9u);
  EXPECT_EQ(texture.palette, nullptr);  // 16 bits need none
  ::testing::Mock::VerifyAndClearExpectations(&deviceTexture);

  EXPECT_CALL(memorySurface, Release()).Times(1);
  EXPECT_CALL(deviceSurface, Release()).Times(1);
  texture.ReleaseSurfaces();
  EXPECT_EQ(platform::testing::LiveObjects(platform::testing::ObjectKind::Bitmap), 0);
}

TEST_F(HardwareTextureTest, FailedRestoreUndoesTheCreation) {
  ExpectSurfacesMade();
  OfferTextureInterfaces();
  EXPECT_CALL(deviceSurface, Restore()).WillOnce(Return(DDERR_SURFACELOST));
  EXPECT_CALL(deviceTexture, Load(_)).Times(0);
  EXPECT_CALL(memorySurface, Release()).Times(1);
  EXPECT_CALL(deviceSurface, Release()).Times(1);
  Texture texture;
  EXPECT_EQ(texture.CreateFromBitmap(&owner, &device, path.c_str()), 0);
  EXPECT_EQ(texture.memorySurface, nullptr);
  EXPECT_EQ(texture.deviceSurface, nullptr);
  EXPECT_EQ(platform::testing::LiveObjects(platform::testing::ObjectKind::Bitmap), 0);
}

TEST_F(HardwareTextureTest, MissingTextureInterfacesFailTheLoadInsteadOfCrashing) {
  ExpectSurfacesMade();
  EXPECT_CALL(deviceSurface, Restore()).WillOnce(Return(DD_OK));
  Texture texture;
  EXPECT_EQ(texture.CreateFromBitmap(&owner, &device, path.c_str()), 0);
  EXPECT_EQ(texture.deviceSurface, nullptr);
}

TEST(TextureKey, BusySurfaceIsWaitedFor) {
  NiceMock<MockSurface> surface;
  std::uint16_t memory[2] = {0xBEEF, 0x5555};
  DDSURFACEDESC locked{};
  locked.dwSize = DDSURFACEDESC_SIZE;
  locked.lPitch = 4;
  locked.lpSurface = memory;
  locked.ddpfPixelFormat = Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F);
  EXPECT_CALL(surface, GetDC(_)).Times(0);  // no colour: nothing is probed
  EXPECT_CALL(surface, Lock(nullptr, Pointee(Field(&DDSURFACEDESC::dwSize, 108u)), 0, nullptr))
      .WillOnce(Return(DDERR_WASSTILLDRAWING))
      .WillOnce(Return(DDERR_WASSTILLDRAWING))
      .WillOnce(DoAll(SetArgPointee<1>(locked), Return(DD_OK)));
  EXPECT_CALL(surface, Unlock(_)).Times(1);
  EXPECT_CALL(surface, SetColorKey(DDCKEY_SRCBLT, IsKey(0xBEEFu))).WillOnce(Return(DD_OK));
  Texture texture;
  texture.memorySurface = texture.deviceSurface = &surface;
  EXPECT_EQ(texture.SetKeyColor(CLR_INVALID), 1);

  // A surface that cannot be locked leaves the key at 0xFFFFFFFF.
  EXPECT_CALL(surface, Lock(_, _, _, _)).WillOnce(Return(DDERR_SURFACELOST));
  EXPECT_CALL(surface, SetColorKey(DDCKEY_SRCBLT, IsKey(0xFFFFFFFFu)))
      .WillOnce(Return(DDERR_INVALIDPARAMS));
  EXPECT_EQ(texture.SetKeyColor(CLR_INVALID), 0);
}

}  // namespace
