// The console dialogue that chooses full screen or window and the video mode,
// and the creation of the game window from its answer.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct ModeSize {
    int width, height;  // pixels
};

struct DisplayChoice {
    int width, height;  // pixels
    bool fullscreen;
};

// Runs the dialogue on `in` and `out` over the monitor's `modes` (in the
// monitor's order); `width` x `height` is the size kept by the answers that
// choose no mode. Answers are whitespace-delimited words; the rest of the
// line that holds the last answer is read and dropped. The dialogue starts
// over after "NO VALID INPUT"; at end of input every question takes its
// default path, so it always ends.
DisplayChoice askDisplayMode(std::istream& in, std::ostream& out, const std::vector<ModeSize>& modes,
                             int width, int height);

// Reads a list number the way atoi does (leading blanks, sign, digits, rest
// ignored; no digits is 0) but rejects negative and out-of-range numbers.
// Returns false for those.
bool parseListNumber(const std::string& word, int& number);

// Asks on the console, stores the chosen size in screenWidth/screenHeight and
// creates `window` titled "KIVO" (null when GLFW cannot create it).
void chooseDisplayMode();
