#include <gtest/gtest.h>

#include <array>
#include <bit>

#include "record/game_globals.h"
#include "render/course_cell.h"
#include "tests/render/scene/vertex_checks.h"
#include "tests/support/doubles/logging_device.h"

namespace {

using namespace doubles;

constexpr std::uint32_t kBits001 = 0x3C23D70A;  // 0.01f
constexpr std::uint32_t kBits049 = 0x3EFAE148;  // 0.49f
constexpr std::uint32_t kBits099 = 0x3F7D70A4;  // 0.99f

class CourseCell : public ::testing::Test {
 protected:
  void SetUp() override {
    globals = GameGlobals{};
    globals.device = &device_;
  }
  CallLog calls_;
  LoggingDevice device_{calls_};
};

void ExpectTranslation(const D3DMATRIX& m, float x, float z) {
  const D3DMATRIX expected{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, 0, z, 1};
  using Elements = std::array<float, 16>;
  EXPECT_EQ(std::bit_cast<Elements>(m), std::bit_cast<Elements>(expected));
}

TEST_F(CourseCell, ACellSetsItsTranslationAndDrawsFloorThenOutline) {
  DrawCourseCell(1, 1, 1);
  ASSERT_EQ(CallNames(calls_), (std::vector<std::string>{"SetTransform", "DrawPrimitive",
                                                         "SetTransform", "DrawPrimitive"}));
  for (int i : {0, 2}) {
    EXPECT_EQ(calls_[i].values, (std::vector<DWORD>{D3DTRANSFORMSTATE_WORLD}));
    ExpectTranslation(calls_[i].matrix, 30.0f, 30.0f);  // covers x and z from 30 to 60
  }
  EXPECT_EQ(calls_[1].values,
            (std::vector<DWORD>{D3DPT_TRIANGLELIST, D3DVT_LVERTEX, 6, D3DDP_WAIT}));
  EXPECT_EQ(calls_[3].values, (std::vector<DWORD>{D3DPT_LINELIST, D3DVT_LVERTEX, 16, D3DDP_WAIT}));
}

TEST_F(CourseCell, TheGoalSitsAtItsRowAndColumnAndGlowsRed) {
  DrawCourseCell(16, 18, 200);
  ExpectTranslation(calls_[0].matrix, 540.0f, 480.0f);
  for (const D3DLVERTEX& v : calls_[1].vertices) EXPECT_EQ(v.specular, 0xFF390000u);
}

TEST_F(CourseCell, TheFloorIsTwoWhiteTrianglesOverTheTexturesUpperHalf) {
  DrawCourseCell(3, 5, 1);
  const std::vector<D3DLVERTEX>& floor = calls_[1].vertices;
  ASSERT_EQ(floor.size(), 6u);
  const float expected[6][5] = {{30, 0, 30, 0.99f, 0.01f}, {0, 0, 30, 0.01f, 0.01f},
                                {30, 0, 0, 0.99f, 0.49f},  {30, 0, 0, 0.99f, 0.49f},
                                {0, 0, 30, 0.01f, 0.01f},  {0, 0, 0, 0.01f, 0.49f}};
  for (int i = 0; i < 6; ++i) {
    ExpectWhiteVertex(floor[i], expected[i]);
    EXPECT_EQ(floor[i].dwReserved, 0u);
  }
  EXPECT_EQ(std::bit_cast<std::uint32_t>(floor[0].tu), kBits099);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(floor[1].tv), kBits001);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(floor[5].tv), kBits049);
}

TEST_F(CourseCell, TheOutlineIsTheFourUprightsAndTheTopSquareInGreen) {
  DrawCourseCell(3, 5, 1);
  const std::vector<D3DLVERTEX>& outline = calls_[3].vertices;
  ASSERT_EQ(outline.size(), 16u);
  const float ends[16][3] = {{0, 0, 0},    {0, 30, 0},  {0, 30, 0},   {0, 30, 30},
                             {0, 30, 30},  {0, 0, 30},  {0, 30, 30},  {30, 30, 30},
                             {30, 30, 30}, {30, 0, 30}, {30, 30, 30}, {30, 30, 0},
                             {30, 30, 0},  {30, 0, 0},  {0, 30, 0},   {30, 30, 0}};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(outline[i].x, ends[i][0]) << i;
    EXPECT_EQ(outline[i].y, ends[i][1]) << i;
    EXPECT_EQ(outline[i].z, ends[i][2]) << i;
    EXPECT_EQ(outline[i].color, 0xFF00FF00u);
    EXPECT_EQ(outline[i].specular, 0xFFFFFF38u);
    EXPECT_EQ(outline[i].tu, 0.0f);
    EXPECT_EQ(outline[i].tv, 0.0f);
  }
}

}  // namespace
