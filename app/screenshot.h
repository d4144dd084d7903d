// Screenshots (F12): the window as the player sees it, HUD included, as a
// PNG in the pictures folder (base/storage.h's picturesFolder()), named by
// the local date and time and never written over an earlier one.
#pragma once

#include <optional>
#include <string>

#include "gpu/image.h"

// Set by F12; the next frame takes the picture once it is drawn, before the swap.
extern bool screenshotWanted;

// The whole window's framebuffer as drawn so far (the back buffer): blue,
// green, red, rows bottom first, as encodePng() takes it.
Image readWindow();

// Writes readWindow() as a new PNG and says so in one line on stderr, naming
// the file; a folder that cannot be written is one line too, and the game
// plays on. Returns the file's path, or none.
std::optional<std::string> takeScreenshot();
