// Heads-up display: clock, coins, the record to beat, the checkpoint just
// passed against the record, frame rate, four timed status lines and the end
// screen with the score, the best scores, the splits and the best runs.
//
// The HUD shows what the game rules decided (the run's time, its score, a new
// best); what it shows and when lives in hudFrame(), which needs no GL and
// takes the clock as an argument; drawHud() hands what it returns to the
// text renderer (render/text2d.h), which draws it.
#pragma once

#include <vector>

#include "render/text2d.h"

// One line of text in drawText units: lower-left corner (x, y), cell edge `size`.
using HudLine = TextLine;

// One frame of the HUD at clock time `now` (seconds) with `collectedCount`
// coins taken in the current run: the lines to draw, in drawing order. Reads
// gameOver, gameStartTime, playTime, runScore, bestScore, newBestScore,
// allTimeBest, newAllTimeRecord, the splits (play/splits.h), bestRuns,
// finishedRunRow, bestSegments,
// frameSeconds, showFrameRate, debugView, transparencyEnabled, drawnObjectCount and the
// quality (a line names the level whenever it is not full); writes its own
// two status lines and stamps and empties the four timed message slots.
std::vector<HudLine> hudFrame(double now, int collectedCount);

// The pause screen's lines: "PAUSED", the settings screen (play/settings_screen.h),
// one line a setting with the chosen one marked, and the keys that work it.
std::vector<HudLine> pauseScreenLines();

// Draws pauseScreenLines() as drawHud() draws its own, over the window.
void drawPauseScreen();

// Runs hudFrame() on the game clock and draws its lines with drawScreenText().
// Needs this frame's lit pass to have run (for the object count).
void drawHud();
