// DirectDraw's one state record: what is shared across DirectDraw objects.
#pragma once

#include <optional>

#include "platform/api/ddraw.h"
#include "platform/ddraw/direct3d_hooks.h"
#include "platform/ddraw/driver_override.h"
#include "platform/ddraw/render_geometry.h"

namespace platform::ddraw {

class DirectDrawObject;

struct DirectDrawState {
  // The object holding DDSCL_EXCLUSIVE; only one may hold it at a time. Written by
  // SetCooperativeLevel, cleared when the object gives the level up or goes
  // (direct_draw_object.cpp).
  DirectDrawObject* exclusiveOwner = nullptr;
  // How QueryInterface reaches the Direct3D module; empty until platform::d3d::InstallDirect3D
  // writes it through InstallDirect3DHooks.
  Direct3DHooks direct3D;
  // The size the display's surfaces are drawn at; written by the program's options (startup) and
  // the tools, before the display mode is set.
  RenderRequest render;
  // Tests only, through SetDriverOverride: drivers and creation to pretend, in place of the real
  // ones.
  std::optional<DriverOverride> driverOverride;
};

// The module's state, made on first use.
DirectDrawState& State();

// Why a query for a Direct3D interface fails when the start-up never plugged Direct3D in.
inline constexpr const char* kDirect3DNotInstalled =
    "QueryInterface: Direct3D is not installed (platform::d3d::InstallDirect3D was not called)";

}  // namespace platform::ddraw
