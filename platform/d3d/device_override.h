// Tests only: which software devices CreateDevice may make, so a whole game can be run once on
// the optimised device and once on the reference one and the pictures compared. Reached from
// outside the platform through platform/testing.h.
#pragma once

namespace platform::d3d {

struct DeviceAvailability {
  bool optimised = true;  // the "MMX" device
  bool reference = true;  // the "RGB" device
};

// Takes effect for the devices created from now on.
void SetDeviceAvailability(const DeviceAvailability& availability);

}  // namespace platform::d3d
