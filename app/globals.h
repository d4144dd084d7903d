// Program-wide state of KIVO.
//
// The game keeps all shared state in plain globals, grouped here by subsystem,
// instead of an engine or context object: every pass and every rule reads the
// same few names, and a test can set up any situation by assigning them.
// Each group names the code that writes it; everything else only reads.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/glm.hpp>
#include <string>

class Shader;
class Texture;
class Text2D;
class ViewFrustumCulling;
namespace vesk::scene {
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

// ---- Window and time (main loop, display dialogue) ------------------------
extern GLFWwindow* window;               // the game window; null until created
extern int screenWidth;                  // pixels, 1600 until the dialogue chooses
extern int screenHeight;                 // pixels, 1400 until the dialogue chooses
extern float deltaTime;                  // seconds between the starts of the last two frames
extern glm::mat4 previousViewProjection; // projection * view at the end of the previous frame

// ---- Camera and light (scene assembly, frame update, input) ---------------
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

// ---- Run state (input, HUD) ------------------------------------------------
extern bool gameOver;                    // the cat crossed the finish line
extern bool recenterCursor;              // next frame puts the cursor back in the centre first
extern bool newBestScore;                // this end screen set a new best score
extern float catSpeed;                   // units per second
extern double gameStartTime;             // seconds on the clock when the current run began
extern double cursorX, cursorY;          // pixels
extern double playTime;                  // seconds of the current run, frozen on the end screen
extern double bestScore;                 // lowest score since the program started

// ---- Render settings (hotkeys, passes) -------------------------------------
extern float lightPower;
extern float transparency;               // alpha of the lit scene objects
extern bool transparencyEnabled;
extern bool wireframeEnabled;
extern bool frustumCullingEnabled;
extern bool showFrameRate;
extern GLint textureFilter;              // GL_TEXTURE_MAG_FILTER every bind applies
extern GLint mipmapFilter;               // GL_TEXTURE_MIN_FILTER every bind applies
extern int drawnObjectCount;             // objects the lit pass drew this frame

// ---- HUD message slots: a text and the clock time it was first shown --------
// A writer sets the time to 0.0; the HUD stamps it on the first frame it draws
// the text and empties the slot 5 seconds later.
extern std::string settingMessage;
extern std::string mipmapMessage;
extern std::string transparencyMessage;
extern std::string objectCountMessage;
extern double settingMessageTime;
extern double mipmapMessageTime;
extern double transparencyMessageTime;
extern double objectCountMessageTime;

// ---- Scene (created by initScene, released by deleteScene) -----------------
extern Shader* depthShader;
extern Shader* normalsShader;
extern Shader* sceneShader;
extern Shader* skyboxShader;
extern Shader* textShader;
extern Shader* particleShader;
extern Shader* blurShader;

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
extern vesk::scene::grid* grids[18];     // grid1 .. grid18 are grids[0] .. grids[17]
extern vesk::scene::Cube* cubeA;
extern vesk::scene::Cube* cubeB;
extern vesk::scene::mouse1* mouseObject;
extern vesk::scene::house_left3* skyBox;
extern vesk::scene::house_left4* houseRow;
extern vesk::scene::Street* streetObject;
extern vesk::scene::coin* coinObject;
extern Text2D* text2D;
extern ViewFrustumCulling* frustumCuller;

// ---- GL objects of the render targets and the shadow pass -----------------
extern GLuint shadowFramebuffer;
extern GLuint shadowMapTexture;
extern GLuint blurFramebuffer;
extern GLuint blurColorTexture;
extern GLuint blurDepthTexture;
extern GLuint screenQuadBuffer;
extern glm::mat4 depthViewProjection;    // the light's projection * view, set by the shadow pass
