// The view (look-at, world up +y) and perspective projection matrices handed to the device.
#pragma once

#include "math/matrix4.h"
#include "math/vector3.h"

// Overwrites out with the view from eye towards target, rolled by roll radians about the world z
// axis when roll is non-zero. Eye equal to target, or a target straight above or below the eye,
// divides by zero (no caller passes such points).
void SetViewMatrix(Matrix4& out, const Vector3& eye, const Vector3& target, float roll);
// Overwrites out with a perspective projection whose depth runs from 0 at nearPlane to 1 at
// farPlane, with the same field of view (radians) across and up.
void SetProjectionMatrix(Matrix4& out, float nearPlane, float farPlane, float fieldOfView);
