// The platform's one door for tests, tools, benchmarks and fuzz targets: everything they may do
// beyond the Windows, DirectDraw, Direct3D and GDI calls the game makes. The game (app/, game/,
// record/, render/, video/, math/) never includes this header, and nothing outside the platform
// reaches the headers behind it but through it; tests/architecture/check_layers.sh holds both
// rules.
#pragma once

#include "platform/core/live_object_counts.h"
#include "platform/d3d/device_override.h"
#include "platform/d3d/draw_listener.h"
#include "platform/d3d/install.h"
#include "platform/ddraw/direct3d_hooks.h"
#include "platform/ddraw/driver_override.h"
#include "platform/ddraw/surface_texture.h"
#include "platform/pixel/lane_choice.h"
#include "platform/win32/user_interface.h"

namespace platform::testing {

// Start-up: what the program's main does before WinMain, for an entry point that calls WinMain,
// DirectDraw or Direct3D without that main.
using d3d::InstallDirect3D;

// Between runs in one process: forget every window, class, message and key state.
using platform::ResetUserInterface;

// Counting live objects by kind (all of them back after a shutdown).
using platform::LiveObjects;
using platform::ObjectKind;

// DirectDraw's drivers and creation pretended (FakeDriver, DriverOverride).
using ddraw::ClearDriverOverride;
using ddraw::DriverOverride;
using ddraw::FakeDriver;
using ddraw::SetDriverOverride;

// A double of the Direct3D module's texture interface in place of the real one (empty hooks:
// none at all).
using ddraw::Direct3DHooks;
using ddraw::InstallDirect3DHooks;
using ddraw::SurfaceTexture;

// A software device kind withheld, to run a whole game on the other.
using d3d::DeviceAvailability;
using d3d::SetDeviceAvailability;

// Watching what the software devices draw (the benchmarks' frame capture).
using d3d::DrawCall;
using d3d::DrawListener;
using d3d::SetDrawListener;

// The SIMD code (the span kernel, the text blends) held to SSE2 or AVX2, to compare it with the
// widest lanes.
using pixel::Lanes;
using pixel::LanesAreAvx2;
using pixel::LanesAreAvx512;
using pixel::UseLanes;

}  // namespace platform::testing
