// Program-wide state of KIVO, and how a frame uses it.
//
// All shared state lives in the plain globals below, grouped by subsystem,
// instead of an engine or context object: every pass and every rule reads the
// same few names, and a test sets up any situation by assigning them. Each
// group names who writes it; everyone else only reads.
//
// The game is built in layers, each a library that includes and links only
// those before it:
//   base/    this state, the console, the platform seam (keys, cursor, clock,
//            focus), the course, where the asset folders are, the quality
//            settings and how the picture fits the screen;
//   gpu/     shader programs, textures, render targets;
//   scene/   the scene objects, the coin field, frustum culling;
//   render/  the passes, particles, motion blur and scaling up, bitmap text;
//   play/    the game rules and the score, the frame update, the HUD;
//   app/     start-up, the frame loop, hotkeys, music, shutdown.
//
// A frame runs in this order (app/frame.cpp):
//   1. the automatic quality takes the wall time since the last frame and
//      may choose another level; then the time step: deltaTime from the clock;
//   2. processInput (play/input.cpp): mouse look, finish line, W movement,
//      Enter, then the street limits, the slabs and the coins reached before
//      the first slab hit, a restart after a hit, and last the run's clock,
//      the score of a run that just finished and the opaque scene outside
//      transparency mode;
//   3. updateScene (play/frame_update.cpp): light, animations, the cat's
//      beads, catPosition, camera and view matrix;
//   4. the render targets sized for the quality level, the shadow map, then
//      the 3D content (sky, lit scene, particles) into the 4x multisampled
//      scene target, at the window's picture size at full and smaller below,
//      resolved to one sample a pixel; that image goes into the window, which
//      itself has one sample a pixel: copied as it is at full, scaled up
//      below full. While the player sprints the 3D content goes straight
//      into the blur target instead and is smeared by the motion blur. Last
//      the HUD on top at the window's own resolution, and the pause screen;
//   5. swap, then window events, where the hotkeys' key callback runs;
//   6. Escape, and previousViewProjection for the next frame's blur.
//
// The rules rely on one-frame lags:
//   - catPosition is the cat's position as the previous frame's update copied
//     it, before this frame's move: the rules judge where the cat was, one
//     step behind it. The finish line and the street limits test that point;
//     the coins and the slabs test the way from the point the previous frame
//     tested (testedCatPosition) to it, so a long frame cannot carry the cat
//     through a slab or past a coin.
//   - The light is placed from that same copy before the update refreshes it,
//     so it trails the cat by a frame.
//   - The camera basis is built before this frame's mouse movement is read:
//     a turn shows from the next frame on.
//   - Hotkeys run after the frame is drawn and show from the next frame on.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/glm.hpp>
#include <optional>
#include <string>

#include "base/course.h"
#include "base/quality.h"
#include "base/records.h"
#include "base/screen_fit.h"
#include "base/settings.h"

class Shader;
class Texture;
class Text2D;
class ViewFrustumCulling;
class WorldBatch;
namespace vesk::scene {
class MeshObject;
class cat;
class hierarchy;
class hierarchyB;
class corridor;
class grid;
class Cube;
class mouse1;
class house_left3;
class house_left4;
class Street;
class coin;
class GameRaster;
}  // namespace vesk::scene

// ---- Window and time --------------------------------------------------------
// Written by the display dialogue (window, size), the window's size callback
// (windowViewport, windowFilled) and the frame loop (the rest).
extern GLFWwindow* window;               // the game window; null until created
extern int screenWidth;                  // pixels, defaultWindowSize until the dialogue chooses; the
extern int screenHeight;                 // picture's size for the projection and the render
                                         // targets, fixed once the window opens
extern Viewport windowViewport;          // where the picture lies in the window's framebuffer: the
                                         // largest of screenWidth x screenHeight's shape, centred
extern bool windowFilled;                // windowViewport is the whole framebuffer: no bars
extern float deltaTime;                  // seconds between the starts of the last two frames
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
extern bool recenterCursor;              // next frame puts the cursor back in the centre first
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
extern std::optional<glm::vec3> ghostPosition;  // where the best run's ghost is drawn this frame;
                                                // none: not drawn (play/ghost.h)

// ---- Render settings --------------------------------------------------------
// Set by scene assembly and changed by the hotkeys; the game rules also write
// transparency (back to 1 while its mode is off), the lit pass writes
// drawnObjectCount, and the command line and the frame loop the quality.
extern float lightPower;
extern float transparency;               // alpha of the lit scene objects
extern bool transparencyEnabled;
extern bool wireframeEnabled;
extern bool frustumCullingEnabled;
extern bool showFrameRate;
extern GLint textureFilter;              // GL_TEXTURE_MAG_FILTER every bind applies
extern GLint mipmapFilter;               // GL_TEXTURE_MIN_FILTER every bind applies
extern int drawnObjectCount;             // what the HUD counts as drawn this frame: 2, plus the
                                         // culled objects and coins the lit pass drew
extern QualitySetting qualitySetting;    // the player's choice: the command line, then F6
extern QualityLevel qualityLevel;        // the level frames are drawn at: the setting's own, or
                                         // autoQuality's while the setting is automatic
extern AutoQuality autoQuality;          // fed by the frame loop with each frame's wall time

// ---- Player settings --------------------------------------------------------
// What this start plays with: the saved settings, then the command line's.
// Changed, and saved, by F6, G and the settings screen of the pause
// (play/settings_screen.h); qualitySetting above is one of them.
extern bool ghostEnabled;                // the ghost races along (G)
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

// ---- Scene ------------------------------------------------------------------
// Created by scene assembly (initScene), released by shutdown (deleteScene).
extern Shader* depthShader;
extern Shader* normalsShader;
extern Shader* sceneShader;
extern Shader* skyboxShader;
extern Shader* textShader;
extern Shader* particleShader;
extern Shader* blurShader;
extern Shader* scaleUpShader;            // below full quality: the scene scaled up into the window
extern Shader* ghostShader;              // the best run's ghost

extern Texture* catFurTexture;
extern Texture* asphaltTexture;
extern Texture* starsTexture;
extern Texture* roofTexture;
extern Texture* greyTexture;
extern Texture* metalTexture;
extern Texture* whiteTexture;
extern Texture* grassTexture;
extern Texture* coinTexture;
extern Texture* oldMetalTexture;
extern Texture* fontTexture;

extern vesk::scene::GameRaster* coinField;
extern vesk::scene::cat* theCat;
extern vesk::scene::hierarchy* catChildA;
extern vesk::scene::hierarchyB* catChildB;
extern vesk::scene::corridor* corridorObject;
extern vesk::scene::grid* grids[slabCount];  // grid1 .. grid18, one per slab of the course
extern vesk::scene::Cube* cubeA;
extern vesk::scene::Cube* cubeB;
extern vesk::scene::mouse1* mouseObject;
extern vesk::scene::house_left3* skyBox;
extern vesk::scene::house_left4* houseRow;
extern vesk::scene::Street* streetObject;
extern vesk::scene::coin* coinObject;
extern vesk::scene::MeshObject* coarseCat;   // drawn in place of the cat, its beads and the
extern vesk::scene::MeshObject* coarseBead;  // coins at the lowest quality: fewer faces
extern vesk::scene::MeshObject* coarseCoin;
extern WorldBatch* coinBatch;                // below full, the coins and the slabs of a pass
extern WorldBatch* slabBatch;                // in one draw call each
extern Text2D* text2D;
extern ViewFrustumCulling* frustumCuller;

// ---- GL objects -------------------------------------------------------------
// Written by the render targets (gpu/render_targets.cpp, sizes included) and
// the shadow pass (depthViewProjection). The particle pool and its buffers are
// render/particles.h's own.
extern GLuint shadowFramebuffer;
extern GLuint shadowMapTexture;
extern GLuint sceneFramebuffer;          // 4x multisampled: every level draws its 3D content here
extern GLuint sceneColorBuffer;          // its renderbuffers
extern GLuint sceneDepthBuffer;
extern GLuint blurFramebuffer;           // the scene target resolved, one sample a pixel: what the
extern GLuint blurColorTexture;          // copy and the scale-up read; sprinting, the scene itself
extern GLuint blurDepthTexture;
extern GLuint screenQuadBuffer;
extern PixelSize shadowMapSize;          // pixels: the window's at start-up, less at lower qualities
extern PixelSize blurTargetSize;         // pixels: the scene's at the level, of both the scene and
                                         // the blur target: the window's picture at full, less below
extern glm::mat4 depthViewProjection;    // the light's projection * view
