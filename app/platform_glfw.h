// The platform seam (base/platform.h) on the game's window: keys, the
// pointer, focus and the gamepad as GLFW reports them for `window`, GLFW's
// clock as the game clock, and GLFW's event loop.
//
// Gamepads follow GLFW's standard mapping. A pad GLFW has no mapping for is
// named once on stderr with its GUID; the player can give it one as SDL
// games take it, a line of SDL's mapping format in SDL_GAMECONTROLLERCONFIG
// (as Steam sets it) or in $XDG_CONFIG_HOME/kivo/gamecontrollerdb.txt.
#pragma once

#include "base/platform.h"

// The one instance; the game installs it with setPlatform() once `window` is open.
Platform& windowPlatform();

// Adds the player's gamepad mappings, from SDL_GAMECONTROLLERCONFIG and the
// mappings file, to GLFW's own; each source that cannot be read is one line.
// Needs GLFW initialised.
void loadGamepadMappings();
