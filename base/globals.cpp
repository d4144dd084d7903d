// Definitions and start values of the program-wide state declared in globals.h.
#include "base/globals.h"

namespace {
constexpr float startLightPower = 1500.0f;
constexpr double noMessageYet = -1.0;  // a slot never written since the start
}  // namespace

int screenWidth = defaultWindowSize.width;
int screenHeight = defaultWindowSize.height;
Viewport windowViewport{0, 0, defaultWindowSize.width, defaultWindowSize.height};
bool windowFilled = true;
float frameSeconds = 0.0f;
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
std::vector<Record> bestRuns;
int finishedRunRow = -1;
std::vector<double> bestSegments;
GhostWay lastRunWay;
Splits runSplits;
Splits recordSplits;
int shownCheckpoint = -1;
double shownCheckpointSince = 0.0;

float lightPower = startLightPower;
float transparency = 1.0f;
bool transparencyEnabled = false;
bool wireframeEnabled = false;
bool frustumCullingEnabled = false;
bool showFrameRate = false;
bool labOverlayShown = false;
int drawnObjectCount = 0;
int culledObjectCount = 0;
QualitySetting qualitySetting = QualitySetting::automatic;
QualityLevel qualityLevel = QualityLevel::full;
AutoQuality autoQuality;
bool ghostEnabled = Settings{}.ghost;
GhostRun ghostRun = Settings{}.ghostRun;
float mouseSensitivity = Settings{}.mouseSensitivity;
bool invertY = Settings{}.invertY;
int musicVolume = Settings{}.musicVolume;
int effectsVolume = Settings{}.effectsVolume;
int selectedSetting = 0;

Settings savedSettings;

std::string settingMessage;
std::string mipmapMessage;
std::string transparencyMessage;
std::string objectCountMessage;
double settingMessageTime = noMessageYet;
double mipmapMessageTime = noMessageYet;
double transparencyMessageTime = 0.0;
double objectCountMessageTime = 0.0;

PixelSize shadowMapSize = defaultWindowSize;
PixelSize blurTargetSize = defaultWindowSize;
glm::mat4 depthViewProjection(1.0f);

void resetRenderSettings() {
    catSpeed = walkSpeed;
    lightPower = startLightPower;
    transparency = 1.0f;
    transparencyEnabled = false;
    frustumCullingEnabled = false;
    settingMessage.clear();
    mipmapMessage.clear();
    settingMessageTime = noMessageYet;
    mipmapMessageTime = noMessageYet;
}
