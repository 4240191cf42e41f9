// The real DirectDraw on a freshly reset headless host, opened the way the game opens it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/api/ddraw.h"
#include "platform/host/headless/headless_host.h"
#include "platform/testing.h"

inline HWND FakeWindow() {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1000));
}

// Resets the host (no object may be alive), creates the DirectDraw object, sets the cooperative
// level and hands out its IDirectDraw2 in *directDraw.
inline void OpenDirectDraw2(DWORD cooperativeLevel, IDirectDraw2** directDraw) {
  platform::host::headless::Reset();
  ASSERT_EQ(platform::testing::LiveObjects(), 0);
  IDirectDraw* first = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
  ASSERT_EQ(first->SetCooperativeLevel(FakeWindow(), cooperativeLevel), DD_OK);
  ASSERT_EQ(first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<LPVOID*>(directDraw)), DD_OK);
  first->Release();
}
