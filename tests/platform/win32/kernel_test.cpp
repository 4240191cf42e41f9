#include <gtest/gtest.h>

#include <cstring>

#include "platform/api/win32.h"
#include "platform/host/headless/headless_host.h"

namespace {

namespace headless = platform::host::headless;

TEST(TickCount, FollowsTheHostClockAndWraps) {
  headless::Reset({.startTick = 0xFFFFFFF0u});
  EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
  headless::AdvanceClock(0x20);
  EXPECT_EQ(GetTickCount(), 0x10u);
}

TEST(GlobalMemory, FixedZeroedBlocksAndRefusedHandles) {
  auto* block = static_cast<unsigned char*>(GlobalAlloc(GPTR, 60));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 60; ++i) ASSERT_EQ(block[i], 0) << i;
  std::memset(block, 0xAB, 60);
  EXPECT_EQ(GlobalFree(block), nullptr);

  int notABlock = 0;
  EXPECT_EQ(GlobalFree(&notABlock), &notABlock);
  EXPECT_STRNE(GetPlatformErrorText(), "");
  // Moveable memory is not available; a double free is refused.
  EXPECT_EQ(GlobalAlloc(0x0002, 8), nullptr);
  void* twice = GlobalAlloc(GMEM_FIXED, 0);
  ASSERT_NE(twice, nullptr);
  EXPECT_EQ(GlobalFree(twice), nullptr);
  EXPECT_EQ(GlobalFree(twice), twice);
}

TEST(SystemHandles, ModuleCursorAndStockBrush) {
  EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
  EXPECT_EQ(GetModuleHandleA("other.dll"), nullptr);

  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  EXPECT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), IDC_ARROW), nullptr);
  EXPECT_NE(GetStockObject(BLACK_BRUSH), nullptr);
  EXPECT_NE(static_cast<void*>(GetStockObject(BLACK_BRUSH)), static_cast<void*>(arrow));
  EXPECT_EQ(GetStockObject(999), nullptr);
}

TEST(PlatformErrorText, ClearedOnRequest) {
  EXPECT_EQ(GetModuleHandleA("missing"), nullptr);
  EXPECT_NE(std::strstr(GetPlatformErrorText(), "missing"), nullptr);
  ClearPlatformErrorText();
  EXPECT_STREQ(GetPlatformErrorText(), "");
}

}  // namespace
