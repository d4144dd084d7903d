// The game window once it is open: the pointer held for mouse look, the
// picture kept whole in whatever size the window gets, and a minimised window
// left asleep.
#pragma once

// Hides the pointer and holds it in the window (GLFW's disabled cursor, with
// raw motion where the system offers it), so a fast turn can never leave the
// window, and follows the window's framebuffer size: the picture goes into
// the largest viewport of its own shape, centred, with black bars around.
// Needs `window` and the chosen screenWidth x screenHeight; sets windowViewport.
void holdPointerAndFollowSize();

// While the window is minimised, waits for events without drawing and
// returns true once it is back (or asked to close); returns false at once
// when it is not minimised.
bool sleepWhileMinimised();
