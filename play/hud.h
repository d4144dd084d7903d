// Heads-up display: clock, coins, frame rate, four timed status lines and the
// end screen with the score rule and the best score.
//
// The rules live in hudFrame(), which needs no GL and takes the clock as an
// argument; drawHud() only binds the text state and draws what it returns.
#pragma once

#include <string>
#include <vector>

// One line of text in drawText units: lower-left corner (x, y), cell edge `size`.
struct HudLine {
    std::string text;
    int x;
    int y;
    int size;
};

// The value in fixed notation with six decimals, as "%f" prints a double.
std::string fixedText(double value);

// Seconds as the HUD shows them: the fixed text cut without rounding to four
// characters when its second one is '.', else to five (7.123456 -> "7.12",
// 12.345678 -> "12.34", 123.456 -> "123.4", -3.5 -> "-3.50").
std::string formatSeconds(double value);

// Applies one frame of HUD rules at clock time `now` (seconds) with
// `collectedCount` coins taken in the current run, and returns the lines to
// draw, in drawing order. Reads gameOver, gameStartTime, deltaTime,
// showFrameRate, transparencyEnabled, drawnObjectCount and the quality (a
// line names the level whenever it is not full); writes transparency,
// the four message slots, playTime, bestScore and newBestScore.
std::vector<HudLine> hudFrame(double now, int collectedCount);

// Runs hudFrame() on the game clock and draws its lines with `text2D`.
// Needs this frame's lit pass to have run (for the object count). Leaves
// textShader in use and fontTexture bound on the active unit 0.
void drawHud();
