// The lab overlay (F1): what the frame costs and what the machine is, drawn
// over the picture. A graph of the last few seconds of frame times with
// lines at 16.7 and 33.3 ms; every pass that ran with its GPU time (GL
// timestamps, read a few frames late, never waited for), its CPU time, draw
// calls and triangles; the CPU time of the game's own stages; the objects
// drawn and culled, the live particles, the shadow map's and the scene
// target's size and samples, the quality level and the driver's
// GL_RENDERER and GL_VERSION.
//
// Hidden, it costs nothing: no frame timing is installed and no query is
// issued. Shown, it installs the frame's timing (app/frame_timing.h) unless
// one is installed already (the benchmarks'), whose figures it then shows.
// What it shows is made by labOverlayLines() and frameGraph(), which need
// no GL.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "app/frame_timing.h"
#include "base/screen_fit.h"
#include "render/text2d.h"

// What the overlay says about the machine and the frame besides the timings.
struct LabFacts {
    std::string renderer;  // GL_RENDERER
    std::string version;   // GL_VERSION
    std::string quality;   // the level's name, "(auto)" added when chosen automatically
    PixelSize window;
    PixelSize sceneTarget;
    int sceneSamples = 0;
    PixelSize shadowMap;
    int drawnObjects = 0;
    int culledObjects = 0;
    int liveParticles = 0;
};

// The overlay's text, in HUD units, top to bottom: the machine, the
// targets, the graph's caption with its top (`graphTop`, ms), a row for
// every pass that ran in `frame` (GPU time "-" where its timestamps were
// dropped), the stages, the objects.
std::vector<TextLine> labOverlayLines(const LabFacts& facts, const FrameRecord& frame, double graphTop);

// A flat-coloured line segment of the graph, in HUD units.
struct GraphSegment {
    glm::vec2 from, to;
    glm::vec4 color;
};

// Where the graph lies, in HUD units, and the frame time at its top, ms.
struct GraphBox {
    glm::vec2 lowerLeft, size;
    double topMilliseconds;
};

// The graph's top for `frames`: 50 ms, doubled until the slowest fits (800 at most).
double graphTopFor(const std::deque<double>& frames);

// The graph of `frames` (ms, oldest first) in `box`: the 16.7 and 33.3 ms
// lines, then one segment from each frame to the next, the newest ending at
// the right edge, each as wide as it took, the last 5 seconds across the
// box. A frame above the top is drawn at the top.
std::vector<GraphSegment> frameGraph(const std::deque<double>& frames, const GraphBox& box);

// Called at the start of every frame: installs or removes the overlay's
// frame timing as labOverlayShown says.
void followLabOverlay();

// Draws the overlay over the window when it is shown and has figures; with
// the frame state set and the depth test off. Leaves GL as it found it.
void drawLabOverlay();

// Deletes the overlay's GL objects and timing; at shutdown.
void releaseLabOverlay();
