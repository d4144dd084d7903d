// The platform seam (base/platform.h) on the game's window: keys, the
// pointer, focus and the gamepad as GLFW reports them for `window`, and
// GLFW's clock as the game clock.
#pragma once

#include "base/platform.h"

// The one instance; the game installs it with setPlatform() once `window` is open.
Platform& windowPlatform();
