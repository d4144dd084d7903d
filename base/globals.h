// Program-wide state of KIVO.
//
// All shared state lives in plain globals, grouped by subsystem, instead of
// an engine or context object: every pass and every rule reads the same few
// names, and a test sets up any situation by assigning them. Each group names
// who writes it; everyone else only reads.
//
// The game is built in layers, each a library that includes and links only
// those before it, and each variable is declared in the lowest layer that
// knows its type:
//   base/    this file: the state that needs no GL (window size, camera,
//            light, the run, render switches, the player's settings, the
//            HUD's message slots); the console, the platform seam (keys,
//            cursor, clock, focus), the course, where the asset folders are,
//            the quality settings, how the picture fits the screen, the files
//            the game keeps. No GL, no window system.
//   gpu/     the programs (gpu/shader.h), textures and their filters
//            (gpu/texture.h), the render targets' GL objects
//            (gpu/render_targets.h);
//   scene/   the scene objects and the coin field (scene/world.h);
//   render/  the passes, particles, the batches (render/batches.h), motion
//            blur and scaling up, bitmap text (render/text2d.h);
//   play/    the game rules and the score, the frame update, the HUD;
//   app/     the window (app/window.h), start-up, the frame loop, hotkeys,
//            music, shutdown.
//
// How one frame uses all this, in order, and the one-frame lags the rules
// rely on, is told once, at runFrame() in app/frame.h.
#pragma once

#include <glm/glm.hpp>
#include <optional>
#include <string>
#include <vector>

#include "base/course.h"
#include "base/quality.h"
#include "base/records.h"
#include "base/splits.h"
#include "base/screen_fit.h"
#include "base/settings.h"

// ---- Window and time --------------------------------------------------------
// Written by the display dialogue (the size), the window's size callback
// (windowViewport, windowFilled) and the frame loop (the rest). The window
// itself is app/window.h's.
extern int screenWidth;                  // pixels, defaultWindowSize until the dialogue chooses; the
extern int screenHeight;                 // picture's size for the projection and the render
                                         // targets, fixed once the window opens
extern Viewport windowViewport;          // where the picture lies in the window's framebuffer: the
                                         // largest of screenWidth x screenHeight's shape, centred
extern bool windowFilled;                // windowViewport is the whole framebuffer: no bars
extern float frameSeconds;               // seconds between the starts of the last two frames
extern float deltaTime;                  // the step this frame's rules and update take: frameSeconds,
                                         // or 0 in a frame that takes none (play/input.h)
extern glm::mat4 previousViewProjection; // projection * view at the end of the previous frame

// ---- Camera and light -------------------------------------------------------
// Written by input (angles, camera basis), the frame update (positions, view)
// and scene assembly (projection).
extern glm::vec3 cameraPosition;         // world units
extern glm::vec3 cameraDirection;        // unit vector the camera looks along
extern glm::vec3 cameraRight;
extern glm::vec3 cameraUp;
extern glm::vec3 lightPosition;          // world units, above the cat
extern glm::vec3 catPosition;            // the cat's position as copied in the previous frame
extern float horizontalAngle;            // radians, camera yaw
extern float verticalAngle;              // radians, camera pitch
extern glm::mat4 viewMatrix;
extern glm::mat4 projectionMatrix;
extern float fieldOfView;                // degrees, vertical

// ---- Run state --------------------------------------------------------------
// Written by the game rules (play/input.cpp, play/score.cpp, play/ghost.cpp);
// scene assembly starts the first run's clock, start-up loads the records.
extern bool gameOver;                    // the cat crossed the finish line
extern bool paused;                      // P, Start or the focus lost: the run stands still
extern double pausedSince;               // clock seconds when the pause began
extern std::optional<glm::vec3> testedCatPosition;  // catPosition as the rules last tested it;
                                                    // none until a run's first test
extern bool recenterCursor;              // next frame puts the cursor back in the centre first; set
                                         // by the rules and by the pointer entering the window
                                         // (app/window.cpp), cleared by the look
extern bool newBestScore;                // the finished run set a new best score; cleared when the
                                         // cat moves again
extern float catSpeed;                   // units per second
extern double gameStartTime;             // seconds on the clock when the current run began
extern double cursorX, cursorY;          // pixels
extern double playTime;                  // seconds of the current run, frozen on the end screen
extern double runScore;                  // seconds: the finished run's score (play/score.h)
extern double bestScore;                 // lowest score since the program started
extern std::optional<Record> allTimeBest;  // the best run ever kept (base/records.h); loaded at start
extern bool newAllTimeRecord;            // the finished run became the all-time best
extern std::optional<glm::vec3> ghostPosition;  // where the chosen ghost is drawn this frame;
                                                // none: not drawn (play/ghost.h)
extern std::vector<Record> bestRuns;     // the ten best runs ever, best first (base/records.h)
extern int finishedRunRow;               // the finished run's row in bestRuns; -1: none
extern std::vector<double> bestSegments; // seconds: the best ever run between each two checkpoints
extern GhostWay lastRunWay;              // the way of the last run finished, at any start
extern Splits runSplits;                 // seconds into the current run at each checkpoint passed
extern Splits recordSplits;              // the all-time best's, as the current run began
extern int shownCheckpoint;              // the checkpoint the HUD names, -1 none (play/splits.h)
extern double shownCheckpointSince;      // clock seconds when it was passed

// ---- Render settings --------------------------------------------------------
// Changed by the hotkeys; the game rules also write transparency (back to 1
// while its mode is off), the lit pass writes drawnObjectCount, and the
// command line and the frame loop the quality. The texture filters the
// hotkeys switch are gpu/texture.h's.
extern float lightPower;
extern float transparency;               // alpha of the lit scene objects
extern bool transparencyEnabled;
extern bool wireframeEnabled;
extern bool frustumCullingEnabled;
extern bool showFrameRate;
extern bool labOverlayShown;            // the lab overlay (F1) is drawn over the picture
extern int drawnObjectCount;             // what the HUD counts as drawn this frame: 2, plus the
                                         // culled objects and coins the lit pass drew
extern int culledObjectCount;            // objects and coins the lit pass left out this frame
extern QualitySetting qualitySetting;    // the player's choice: the command line, then F6
extern QualityLevel qualityLevel;        // the level frames are drawn at: the setting's own, or
                                         // autoQuality's while the setting is automatic
extern AutoQuality autoQuality;          // fed by the frame loop with each frame's wall time

// Puts the render switches, the cat's speed and the hotkeys' message slots
// back as every start begins: light power 1500, everything opaque, culling
// off, no message. Scene assembly calls it.
void resetRenderSettings();

// ---- Player settings --------------------------------------------------------
// What this start plays with: the saved settings, then the command line's.
// Changed, and saved, by F6, G and the settings screen of the pause
// (play/settings_screen.h); qualitySetting above is one of them.
extern bool ghostEnabled;                // the ghost races along (G)
extern GhostRun ghostRun;                // whose way it is
extern float mouseSensitivity;           // a factor on the mouse look's turn per pixel and the
                                         // gamepad's turn rate
extern bool invertY;                     // moving the mouse (or the stick) up looks down
extern int musicVolume;                  // percent
extern int effectsVolume;                // percent
extern int selectedSetting;              // the settings screen's chosen line

// ---- Saved settings ---------------------------------------------------------
// What the settings file holds (base/settings.h): loaded at start, changed and
// saved by the keys that change a setting. A command-line option sets the
// render setting for this start only, not this.
extern Settings savedSettings;

// ---- HUD message slots: a text and the clock time it was first shown --------
// The hotkeys write the setting and mipmap lines, the HUD the transparency and
// object-count lines. A writer sets the time to 0.0; the HUD stamps it on the
// first frame it draws the text and empties the slot 5 seconds later.
extern std::string settingMessage;
extern std::string mipmapMessage;
extern std::string transparencyMessage;
extern std::string objectCountMessage;
extern double settingMessageTime;
extern double mipmapMessageTime;
extern double transparencyMessageTime;
extern double objectCountMessageTime;

// ---- The render targets' sizes and the light's view -------------------------
// Written by the render targets (gpu/render_targets.h, which has their GL
// objects) and by the shadow pass (depthViewProjection).
extern PixelSize shadowMapSize;          // pixels: the window's at start-up, less at lower qualities
extern PixelSize blurTargetSize;         // pixels: the scene's at the level, of both the scene and
                                         // the blur target: the window's picture at full, less below
extern glm::mat4 depthViewProjection;    // the light's projection * view
