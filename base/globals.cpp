// Definitions and start values of the program-wide state declared in globals.h.
#include "base/globals.h"

GLFWwindow* window = nullptr;
int screenWidth = defaultWindowSize.width;
int screenHeight = defaultWindowSize.height;
Viewport windowViewport{0, 0, defaultWindowSize.width, defaultWindowSize.height};
bool windowFilled = true;
float deltaTime = 0.0f;
glm::mat4 previousViewProjection(1.0f);

glm::vec3 cameraPosition(0.0f);
glm::vec3 cameraDirection(0.0f);
glm::vec3 cameraRight(0.0f);
glm::vec3 cameraUp(0.0f);
glm::vec3 lightPosition(0.0f);
glm::vec3 catPosition(0.0f);
std::optional<glm::vec3> testedCatPosition;
float horizontalAngle = courseStartYaw;
float verticalAngle = 0.0f;
glm::mat4 viewMatrix(1.0f);
glm::mat4 projectionMatrix(1.0f);
float fieldOfView = 90.0f;

bool gameOver = false;
bool paused = false;
double pausedSince = 0.0;
bool recenterCursor = false;
bool newBestScore = false;
float catSpeed = walkSpeed;
double gameStartTime = 0.0;
double cursorX = 0.0, cursorY = 0.0;
double playTime = 0.0;
double runScore = 0.0;
double bestScore = 10000.0;
std::optional<Record> allTimeBest;
bool newAllTimeRecord = false;
std::optional<glm::vec3> ghostPosition;

float lightPower = 1500.0f;
float transparency = 1.0f;
bool transparencyEnabled = false;
bool wireframeEnabled = false;
bool frustumCullingEnabled = false;
bool showFrameRate = false;
GLint textureFilter = GL_LINEAR;
GLint mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
int drawnObjectCount = 0;
QualitySetting qualitySetting = QualitySetting::automatic;
QualityLevel qualityLevel = QualityLevel::full;
AutoQuality autoQuality;
bool ghostEnabled = true;
float mouseSensitivity = 1.0f;
bool invertY = false;
int musicVolume = 100;
int effectsVolume = 100;
int selectedSetting = 0;

Settings savedSettings;

std::string settingMessage;
std::string mipmapMessage;
std::string transparencyMessage;
std::string objectCountMessage;
double settingMessageTime = -1.0;
double mipmapMessageTime = -1.0;
double transparencyMessageTime = 0.0;
double objectCountMessageTime = 0.0;

Shader* depthShader = nullptr;
Shader* normalsShader = nullptr;
Shader* sceneShader = nullptr;
Shader* skyboxShader = nullptr;
Shader* textShader = nullptr;
Shader* particleShader = nullptr;
Shader* blurShader = nullptr;
Shader* scaleUpShader = nullptr;
Shader* ghostShader = nullptr;

Texture* catFurTexture = nullptr;
Texture* asphaltTexture = nullptr;
Texture* starsTexture = nullptr;
Texture* roofTexture = nullptr;
Texture* greyTexture = nullptr;
Texture* metalTexture = nullptr;
Texture* whiteTexture = nullptr;
Texture* grassTexture = nullptr;
Texture* coinTexture = nullptr;
Texture* oldMetalTexture = nullptr;
Texture* fontTexture = nullptr;

vesk::scene::GameRaster* coinField = nullptr;
vesk::scene::cat* theCat = nullptr;
vesk::scene::hierarchy* catChildA = nullptr;
vesk::scene::hierarchyB* catChildB = nullptr;
vesk::scene::corridor* corridorObject = nullptr;
vesk::scene::grid* grids[slabCount] = {};
vesk::scene::Cube* cubeA = nullptr;
vesk::scene::Cube* cubeB = nullptr;
vesk::scene::mouse1* mouseObject = nullptr;
vesk::scene::house_left3* skyBox = nullptr;
vesk::scene::house_left4* houseRow = nullptr;
vesk::scene::Street* streetObject = nullptr;
vesk::scene::coin* coinObject = nullptr;
vesk::scene::MeshObject* coarseCat = nullptr;
vesk::scene::MeshObject* coarseBead = nullptr;
vesk::scene::MeshObject* coarseCoin = nullptr;
WorldBatch* coinBatch = nullptr;
WorldBatch* slabBatch = nullptr;
Text2D* text2D = nullptr;
ViewFrustumCulling* frustumCuller = nullptr;

GLuint shadowFramebuffer = 0;
GLuint shadowMapTexture = 0;
GLuint sceneFramebuffer = 0;
GLuint sceneColorBuffer = 0;
GLuint sceneDepthBuffer = 0;
GLuint blurFramebuffer = 0;
GLuint blurColorTexture = 0;
GLuint blurDepthTexture = 0;
GLuint screenQuadBuffer = 0;
PixelSize shadowMapSize = defaultWindowSize;
PixelSize blurTargetSize = defaultWindowSize;
glm::mat4 depthViewProjection(1.0f);
