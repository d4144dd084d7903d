// The console dialogue that chooses full screen or window and the video mode,
// and the creation of the game window from its answer.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "base/screen_fit.h"

struct DisplayChoice {
    int width, height;  // pixels
    bool fullscreen;
    bool defaultWindow = false;  // no answer chose a size: the window keeps the one it was given
};

// Runs the dialogue on `in` and `out` over the monitor's `modes` (in the
// monitor's order); `width` x `height` is the size kept by the answers that
// choose no mode. Answers are whitespace-delimited words; the rest of the
// line that holds the last answer is read and dropped. The dialogue starts
// over after "NO VALID INPUT"; at end of input every question takes its
// default path, so it always ends.
DisplayChoice askDisplayMode(std::istream& in, std::ostream& out, const std::vector<PixelSize>& modes,
                             int width, int height);

// Reads a list number the way atoi does (leading blanks, sign, digits, rest
// ignored; no digits is 0) but rejects negative and out-of-range numbers.
// Returns false for those.
bool parseListNumber(const std::string& word, int& number);

// Asks on the console, stores the chosen size in screenWidth/screenHeight and
// creates `window` titled "KIVO" (null when GLFW cannot create it). A default
// window that does not fit the primary monitor's work area, frame included,
// opens at the largest size of the same shape that does, and one console
// line says so.
void chooseDisplayMode();

// Opens the window the command line named instead of asking: --window at its
// size, --fullscreen at the monitor's largest mode or at the mode named.
// Returns false, with one line on stderr, when the monitor has no such mode;
// otherwise `window` is set as by chooseDisplayMode().
bool openNamedDisplay(const LaunchOptions& options);
