// Fitting the picture to the player's screen: the window to the desktop when
// it opens, and the picture to the window whenever the window changes size.
// Plain arithmetic on pixel sizes, so it is tested without a display.
#pragma once

struct PixelSize {
    int width, height;  // pixels
};

// The game's window unless the player chooses another: its shape is the
// picture's wherever it is shown.
constexpr PixelSize defaultWindowSize{1600, 1400};

// A rectangle of the window's framebuffer, origin at its lower left, as glViewport takes it.
struct Viewport {
    int x, y, width, height;  // pixels
};

// The largest size of exactly `shape`'s proportions (whole multiples of its
// reduced width : height) that fits within `room`; `shape` itself when it
// fits. A room too small for even the reduced proportions gets them scaled
// down and rounded, at least 1 x 1.
PixelSize fitWindowSize(PixelSize shape, PixelSize room);

// The largest rectangle of `shape`'s proportions centred in a framebuffer of
// `framebuffer` size, with bars at the sides or above and below: the whole
// framebuffer when the proportions match. Empty for an empty framebuffer.
Viewport centredViewport(PixelSize framebuffer, PixelSize shape);
