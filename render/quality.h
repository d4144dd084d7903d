// What a frame gives up below full quality, so the game stays playable
// without a GPU. Each level keeps the HUD sharp at the window's resolution
// and the rules, the simulation and the clock untouched:
//
//   full      everything, as the game has always drawn it;
//   balanced  the 3D scene at a lower resolution, scaled up into the window,
//             and half the particles drawn, each larger, so the trail keeps
//             its density; the coins and the slabs in one draw call each;
//   low       the scene at a lower resolution still, a smaller shadow map,
//             a quarter of the particles, and the cat, its beads and the
//             coins with fewer faces.
#pragma once

#include "base/quality.h"

struct QualityParameters {
    float sceneScale;      // the 3D scene's size against the picture's, per axis (1: full)
    int shadowDivisor;     // the shadow map is the picture's size divided by this, per axis
    int particleStride;    // one live particle in this many is drawn, sqrt(stride) times as large
    bool onePerKind;       // the coins, and the slabs, of a pass go in one draw call (render/batches.h)
    bool coarseMeshes;     // the cat, its beads and the coins drawn as their coarser stand-ins
};

QualityParameters qualityParameters(QualityLevel level);

// Sizes the shadow map and the scene targets for `level` (at full, the
// window's picture); does nothing when they have their sizes already, so
// targets change only when the level or the window does. Needs the render targets.
void applyQualityLevel(QualityLevel level);
