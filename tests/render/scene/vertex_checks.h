// The check the scene's tests make of every textured vertex they read back.
#pragma once

#include <gtest/gtest.h>

#include "platform/api/d3d.h"

// The vertex lies at x, y, z with texture coordinates tu, tv (in that order in `expected`),
// unshaded white with no specular light.
inline void ExpectWhiteVertex(const D3DLVERTEX& vertex, const float (&expected)[5]) {
  EXPECT_EQ(vertex.x, expected[0]);
  EXPECT_EQ(vertex.y, expected[1]);
  EXPECT_EQ(vertex.z, expected[2]);
  EXPECT_EQ(vertex.tu, expected[3]);
  EXPECT_EQ(vertex.tv, expected[4]);
  EXPECT_EQ(vertex.color, 0xFFFFFFFFu);
  EXPECT_EQ(vertex.specular, 0xFF000000u);
}
