// The game window once it is open: the pointer held for mouse look, the
// picture kept whole in whatever size the window gets, and a minimised window
// left asleep.
#pragma once

#include <GLFW/glfw3.h>

// The game window, made by the display dialogue (app/display_mode.h) or the
// command line's choice; null until then.
extern GLFWwindow* window;

// Holds the pointer in the window for mouse look (hidden, with raw motion
// where the system offers it), or gives it back to the player, shown and
// free, as the pause does. Cheap when it is as asked already.
void holdPointer(bool hold);

// Hides the pointer and holds it in the window (GLFW's disabled cursor, with
// raw motion where the system offers it), so a fast turn can never leave the
// window, and follows the window's framebuffer size: the picture goes into
// the largest viewport of its own shape, centred, with black bars around.
// The pointer crossing into the window starts the look from the centre again.
// Needs `window` and the chosen screenWidth x screenHeight; sets windowViewport.
void holdPointerAndFollowSize();

bool windowMinimised();

// Waits for events without drawing while the window is minimised, until it is
// back or asked to close.
void sleepWhileMinimised();
