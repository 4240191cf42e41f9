// Driver choice, taking the display and giving everything back.
#include "video/display.h"

#include <string>
#include <vector>

#include "platform/testing.h"
#include "record/game_globals.h"
#include "tests/video/bmp_file.h"
#include "tests/video/real_platform.h"
#include "video/course_texture.h"

namespace {

using namespace device_test;
using namespace doubles;
using platform::testing::DriverOverride;
using platform::testing::FakeDriver;
using platform::testing::LiveObjects;
using ::testing::_;
using ::testing::DoAll;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::SetArgPointee;

constexpr GUID GuidOf(DWORD n) {
  return GUID{n, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
}

// A driver double: its GetCaps reports the given hardware and emulation capabilities.
struct FakeDriverObject {
  explicit FakeDriverObject(HRESULT capsResult, DWORD hwCaps, DWORD hwSurfaceCaps,
                            DWORD emulationCaps = 0, DWORD emulationSurfaceCaps = 0) {
    ON_CALL(object, GetCaps).WillByDefault([=](LPDDCAPS hardware, LPDDCAPS emulation) {
      hardware->dwCaps = hwCaps;
      hardware->ddsCaps.dwCaps = hwSurfaceCaps;
      emulation->dwCaps = emulationCaps;
      emulation->ddsCaps.dwCaps = emulationSurfaceCaps;
      return capsResult;
    });
  }
  NiceMock<MockDirectDraw> object;
};

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    globals = GameGlobals{};
    globals.mainWindow = FakeWindow();
    platform::host::headless::Reset();
  }
  void TearDown() override {
    platform::testing::ClearDriverOverride();
    EXPECT_EQ(ReleaseAll(), 1);
    EXPECT_EQ(LiveObjects(), 0);
  }

  // Makes the enumeration report `drivers` and DirectDrawCreate hand out `objects` by GUID
  // number (null where creation fails), noting what was asked for.
  void Pretend(std::vector<FakeDriver> drivers, std::vector<IDirectDraw*> objects) {
    DriverOverride driverOverride;
    driverOverride.drivers = std::move(drivers);
    driverOverride.create = [this, objects](GUID* guid, IDirectDraw** made) {
      asked.push_back(guid ? static_cast<int>(guid->Data1) : -1);
      if (!guid || guid->Data1 >= objects.size() || !objects[guid->Data1]) {
        return DDERR_INVALIDDIRECTDRAWGUID;
      }
      *made = objects[guid->Data1];
      return DD_OK;
    };
    platform::testing::SetDriverOverride(std::move(driverOverride));
  }

  std::vector<int> asked;  // GUID numbers DirectDrawCreate was asked for; -1 for null
};

constexpr DWORD k3d = DDCAPS_3D;
constexpr DWORD kTexture = DDSCAPS_TEXTURE;

TEST_F(DisplayTest, WithoutThreeDHardwareTheDefaultDriverTakesTheScreen) {
  ASSERT_EQ(InitDirectDraw(), 1);
  EXPECT_STREQ(globals.driverName, "Active Driver");
  ASSERT_NE(globals.directDraw, nullptr);
  ASSERT_NE(globals.primarySurface, nullptr);
  ASSERT_NE(globals.backBuffer, nullptr);
  DDSURFACEDESC description{};
  description.dwSize = DDSURFACEDESC_SIZE;
  ASSERT_EQ(globals.backBuffer->GetSurfaceDesc(&description), DD_OK);
  EXPECT_NE(description.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER, 0u);
  EXPECT_EQ(description.dwWidth, 640u);
  EXPECT_EQ(LiveObjects(platform::testing::ObjectKind::DirectDraw), 1);
  EXPECT_EQ(LiveObjects(platform::testing::ObjectKind::Surface), 2);

  EXPECT_EQ(ReleaseAll(), 1);
  EXPECT_EQ(globals.directDraw, nullptr);
  EXPECT_EQ(globals.primarySurface, nullptr);
  EXPECT_EQ(globals.backBuffer, nullptr);
  EXPECT_EQ(LiveObjects(), 0);
  EXPECT_EQ(ReleaseAll(), 1);  // a second call finds nothing to do
}

TEST_F(DisplayTest, TextureSurfacesGoWithTheDirectDrawObject) {
  ASSERT_EQ(InitDirectDraw(), 1);
  NiceMock<MockDevice> device;
  const auto formats = platform::ddraw::TextureFormats();
  OfferFormats(device, {formats.begin(), formats.end()});
  const auto path =
      WriteBmp("course.bmp", 4, 4, 8, std::vector<std::uint32_t>(16, 1), {0x000000, 0x336699});
  globals.texture = new Texture;
  ASSERT_EQ(globals.texture->CreateFromBitmap(globals.directDraw, &device, path.c_str()), 1);
  ASSERT_EQ(globals.texture->SetKeyColor(0), 1);
  EXPECT_EQ(LiveObjects(platform::testing::ObjectKind::Palette), 1);
  EXPECT_EQ(ReleaseAll(), 1);
  EXPECT_EQ(globals.texture, nullptr);
  EXPECT_EQ(LiveObjects(), 0);
}

TEST_F(DisplayTest, FirstQualifyingDriverEndsTheEnumeration) {
  FakeDriverObject card(DD_OK, k3d, kTexture);
  FakeDriverObject other(DD_OK, k3d, kTexture);
  Pretend({{GuidOf(0), "3-D card", "card"}, {GuidOf(1), "other card", "other"}},
          {&card.object, &other.object});
  EXPECT_CALL(card.object, Release()).Times(0);
  IDirectDraw* chosen = nullptr;
  ASSERT_EQ(DirectDrawEnumerateA(DriverEnumCallback, &chosen), DD_OK);
  EXPECT_EQ(chosen, &card.object);
  EXPECT_STREQ(globals.driverName, "3-D card");
  EXPECT_EQ(asked, std::vector<int>{0});
}

TEST_F(DisplayTest, DriversThatCannotServeAreSkippedAndReleased) {
  FakeDriverObject capsFail(DDERR_GENERIC, k3d, kTexture);
  // DDCAPS_3D in hardware but texturing only in emulation: rejected.
  FakeDriverObject emulatedTexture(DD_OK, k3d, 0, k3d, kTexture);
  FakeDriverObject noThreeD(DD_OK, 0, kTexture, k3d, kTexture);
  FakeDriverObject good(DD_OK, k3d, kTexture | DDSCAPS_3DDEVICE);
  EXPECT_CALL(capsFail.object, Release()).Times(1);
  EXPECT_CALL(emulatedTexture.object, Release()).Times(1);
  EXPECT_CALL(noThreeD.object, Release()).Times(1);
  EXPECT_CALL(good.object, Release()).Times(0);
  Pretend({{GuidOf(0), "cannot be made", ""},
           {GuidOf(1), "caps fail", ""},
           {GuidOf(2), "emulated texturing", ""},
           {GuidOf(3), "no 3-D", ""},
           {GuidOf(4), std::string(300, 'x'), ""}},
          {nullptr, &capsFail.object, &emulatedTexture.object, &noThreeD.object, &good.object});
  IDirectDraw* chosen = nullptr;
  ASSERT_EQ(DirectDrawEnumerateA(DriverEnumCallback, &chosen), DD_OK);
  EXPECT_EQ(chosen, &good.object);
  EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4}));
  // A long description is cut to the 127 characters driverName holds.
  EXPECT_EQ(std::string(globals.driverName), std::string(127, 'x'));
}

// The steps of InitDirectDraw after the driver choice, against doubles: failing at each step
// leaves no interface behind and releases what was made.
class InitDirectDrawSteps : public DisplayTest, public ::testing::WithParamInterface<int> {
 protected:
  void Arrange(int failingStep) {
    const auto result = [failingStep](int step) {
      return step == failingStep ? DDERR_GENERIC : DD_OK;
    };
    // No driver qualifies, so the default driver's object is made: the first double.
    platform::testing::SetDriverOverride(
        DriverOverride{std::vector<FakeDriver>{}, [this](GUID* guid, IDirectDraw** made) {
                         EXPECT_EQ(guid, nullptr);
                         *made = &first;
                         return DD_OK;
                       }});
    ON_CALL(first, SetCooperativeLevel(FakeWindow(), 17u)).WillByDefault(Return(result(4)));
    ON_CALL(first, QueryInterface(IID_IDirectDraw2, _))
        .WillByDefault(
            DoAll(SetArgPointee<1>(failingStep == 5 ? nullptr : &second), Return(result(5))));
    ON_CALL(second, SetDisplayMode(640u, 480u, 16u, 0u, 0u)).WillByDefault(Return(result(6)));
    ON_CALL(second, CreateSurface(_, _, nullptr))
        .WillByDefault([failingStep, this](LPDDSURFACEDESC description,
                                           LPDIRECTDRAWSURFACE* surface, IUnknown*) {
          EXPECT_EQ(description->dwSize, 108u);
          EXPECT_EQ(description->dwFlags, 0x21u);
          EXPECT_EQ(description->dwBackBufferCount, 1u);
          EXPECT_EQ(description->ddsCaps.dwCaps, 0x2218u);
          if (failingStep == 7) return DDERR_GENERIC;
          *surface = &front;
          return DD_OK;
        });
    ON_CALL(front, QueryInterface(IID_IDirectDrawSurface3, _))
        .WillByDefault(
            DoAll(SetArgPointee<1>(failingStep == 8 ? nullptr : &primary), Return(result(8))));
    ON_CALL(primary, GetAttachedSurface(_, ::testing::An<LPDIRECTDRAWSURFACE3*>()))
        .WillByDefault([failingStep, this](LPDDSCAPS caps, LPDIRECTDRAWSURFACE3* attached) {
          EXPECT_EQ(caps->dwCaps, DDSCAPS_BACKBUFFER);
          if (failingStep == 9) return DDERR_NOTFOUND;
          *attached = &back;
          return DD_OK;
        });
    const int step = failingStep == 0 ? 10 : failingStep;
    EXPECT_CALL(first, Release()).Times(1);
    EXPECT_CALL(second, Release()).Times(step >= 6 && step <= 9 ? 1 : 0);
    EXPECT_CALL(front, Release()).Times(step >= 8 ? 1 : 0);
    EXPECT_CALL(primary, Release()).Times(step == 9 ? 1 : 0);
    EXPECT_CALL(back, Release()).Times(0);
  }

  NiceMock<MockDirectDraw> first;
  NiceMock<MockDirectDraw2> second;
  NiceMock<MockSurface> front;
  NiceMock<MockSurface> primary;
  NiceMock<MockSurface> back;
};

TEST_P(InitDirectDrawSteps, FailureLeavesNothingBehind) {
  Arrange(GetParam());
  EXPECT_EQ(InitDirectDraw(), 0);
  EXPECT_EQ(globals.directDraw, nullptr);
  EXPECT_EQ(globals.primarySurface, nullptr);
  EXPECT_EQ(globals.backBuffer, nullptr);
  EXPECT_STREQ(globals.driverName, "Active Driver");
}

INSTANTIATE_TEST_SUITE_P(Steps, InitDirectDrawSteps, ::testing::Values(4, 5, 6, 7, 8, 9));

TEST_F(InitDirectDrawSteps, SuccessKeepsOneReferenceEach) {
  Arrange(0);
  ASSERT_EQ(InitDirectDraw(), 1);
  EXPECT_EQ(globals.directDraw, &second);
  EXPECT_EQ(globals.primarySurface, &primary);
  EXPECT_EQ(globals.backBuffer, &back);
  ::testing::Mock::VerifyAndClearExpectations(&second);
  // ReleaseAll: the back buffer is only forgotten; the primary goes before DirectDraw.
  ::testing::InSequence order;
  EXPECT_CALL(primary, Release());
  EXPECT_CALL(second, Release());
  EXPECT_EQ(ReleaseAll(), 1);
}

TEST_F(DisplayTest, ReleaseAllGivesTheThreeDObjectsBackFirst) {
  NiceMock<MockViewport> viewport;
  NiceMock<MockDevice> device;
  NiceMock<MockDirect3D> direct3D;
  NiceMock<MockSurface> primary;
  NiceMock<MockSurface> back;
  NiceMock<MockDirectDraw2> directDraw;
  globals.viewport = &viewport;
  globals.device = &device;
  globals.direct3D = &direct3D;
  globals.primarySurface = &primary;
  globals.backBuffer = &back;
  globals.directDraw = &directDraw;
  EXPECT_CALL(back, Release()).Times(0);
  {
    ::testing::InSequence order;
    EXPECT_CALL(viewport, Release());
    EXPECT_CALL(device, Release());
    EXPECT_CALL(direct3D, Release());
    EXPECT_CALL(primary, Release());
    EXPECT_CALL(directDraw, Release());
  }
  EXPECT_EQ(ReleaseAll(), 1);
  EXPECT_EQ(globals.viewport, nullptr);
  EXPECT_EQ(globals.device, nullptr);
  EXPECT_EQ(globals.direct3D, nullptr);
  EXPECT_EQ(ReleaseAll(), 1);
}

}  // namespace
