#include "app/hotkeys.h"

#include "app/screenshot.h"
#include "base/debug_view.h"
#include "base/globals.h"
#include "base/platform.h"
#include "gpu/texture.h"
#include "play/settings_screen.h"

namespace {

constexpr float lightPowerStep = 100.0f;
constexpr double transparencyStep = 0.1;
constexpr float transparencyModeStart = 0.3f;

// Rows are matched in order; a row with `mipmapBefore` 0 matches any mode.
struct SamplingRow {
    bool linearFamily;  // whether textureFilter is GL_LINEAR before the key
    GLint mipmapBefore;
    SamplingChange after;
};

const SamplingRow familyTable[] = {
    {true, GL_LINEAR_MIPMAP_LINEAR,
     {GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR, "Textur-Sampling-Quality: NEAREST",
      "Mip Mapping-Quality: GL_NEAREST_MIPMAP_LINEAR"}},
    {true, GL_LINEAR,
     {GL_NEAREST, GL_NEAREST, "Textur-Sampling-Quality: NEAREST", "Mip Mapping-Quality: GL_NEAREST"}},
    {true, 0,
     {GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, "Textur-Sampling-Quality: NEAREST",
      "Mip Mapping-Quality: GL_NEAREST_MIPMAP_NEAREST"}},
    {false, GL_NEAREST_MIPMAP_LINEAR,
     {GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, "Textur-Sampling-Quality: LINEAR",
      "Mip Mapping-Quality: GL_LINEAR_MIPMAP_LINEAR"}},
    {false, GL_NEAREST,
     {GL_LINEAR, GL_LINEAR, "Textur-Sampling-Quality: LINEAR", "Mip Mapping-Quality: GL_LINEAR"}},
    {false, 0,
     {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, "Textur-Sampling-Quality: LINEAR",
      "Mip Mapping-Quality: GL_LINEAR_MIPMAP_NEAREST"}},
};

const SamplingRow mipmapTable[] = {
    {true, GL_LINEAR_MIPMAP_LINEAR,
     {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, nullptr, "Mip Mapping-Quality: NEAREST"}},
    {true, GL_LINEAR_MIPMAP_NEAREST, {GL_LINEAR, GL_LINEAR, nullptr, "Mip Mapping-Quality: Off"}},
    {true, 0, {GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, nullptr, "Mip Mapping-Quality: LINEAR"}},
    {false, GL_NEAREST_MIPMAP_LINEAR,
     {GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, nullptr, "Mip Mapping-Quality: NEAREST"}},
    {false, GL_NEAREST_MIPMAP_NEAREST, {GL_NEAREST, GL_NEAREST, nullptr, "Mip Mapping-Quality: Off"}},
    {false, 0, {GL_NEAREST, GL_NEAREST_MIPMAP_LINEAR, nullptr, "Mip Mapping-Quality: LINEAR"}},
};

// First row of `table` for the family of `textureFilter` and `mipmapFilter`.
template <size_t N>
SamplingChange lookUp(const SamplingRow (&table)[N], GLint textureFilter, GLint mipmapFilter) {
    const bool linear = textureFilter == GL_LINEAR;
    for (const SamplingRow& row : table) {
        if (row.linearFamily == linear && (row.mipmapBefore == 0 || row.mipmapBefore == mipmapFilter)) {
            return row.after;
        }
    }
    return table[N - 1].after;  // unreachable: each family ends with a catch-all row
}

void post(std::string& message, double& startTime, const std::string& text) {
    message = text;
    startTime = 0.0;  // the HUD stamps the real start on its next draw
}

void applySamplingChange(const SamplingChange& change) {
    textureFilter = change.textureFilter;
    mipmapFilter = change.mipmapFilter;
    if (change.settingMessage) post(settingMessage, settingMessageTime, change.settingMessage);
    if (change.mipmapMessage) post(mipmapMessage, mipmapMessageTime, change.mipmapMessage);
}

// Steps in double and stores in float, so the values drift slightly: 0.3
// plus seven steps ends just above 1, and the stored 0.1 is just above 0.1.
void stepTransparency(double step) {
    transparency = static_cast<float>(static_cast<double>(transparency) + step);
    post(settingMessage, settingMessageTime, transparencyText(transparency));
}

}  // namespace

SamplingChange switchSamplingFamily(GLint textureFilter, GLint mipmapFilter) {
    return lookUp(familyTable, textureFilter, mipmapFilter);
}

SamplingChange nextMipmapMode(GLint textureFilter, GLint mipmapFilter) {
    SamplingChange change = lookUp(mipmapTable, textureFilter, mipmapFilter);
    change.textureFilter = textureFilter;  // F5 never leaves the family
    return change;
}

std::string transparencyText(float value) {
    return ("Transparency: " + std::to_string(static_cast<double>(value))).substr(0, 17);
}

GLenum applyHotkey(int key, int action) {
    if (action != GLFW_PRESS) return 0;
    switch (key) {
        case GLFW_KEY_1:
            lightPower += lightPowerStep;
            break;
        case GLFW_KEY_2:
            lightPower -= lightPowerStep;
            break;
        case GLFW_KEY_3:
            if (transparencyEnabled && transparency < 1.0f) stepTransparency(transparencyStep);
            break;
        case GLFW_KEY_4:
            if (transparencyEnabled && static_cast<double>(transparency) > transparencyStep) {
                stepTransparency(-transparencyStep);
            }
            break;
        case GLFW_KEY_F1:
            labOverlayShown = !labOverlayShown;
            post(settingMessage, settingMessageTime, labOverlayShown ? "Lab Overlay: ON" : "Lab Overlay: OFF");
            break;
        case GLFW_KEY_F2:
            showFrameRate = !showFrameRate;
            break;
        case GLFW_KEY_F3:
            wireframeEnabled = !wireframeEnabled;
            return wireframeEnabled ? GL_LINE : GL_FILL;
        case GLFW_KEY_F4:
            applySamplingChange(switchSamplingFamily(textureFilter, mipmapFilter));
            break;
        case GLFW_KEY_F5:
            applySamplingChange(nextMipmapMode(textureFilter, mipmapFilter));
            break;
        case GLFW_KEY_F8:
            frustumCullingEnabled = !frustumCullingEnabled;
            post(settingMessage, settingMessageTime,
                 frustumCullingEnabled ? "View Frustrum Culling: ON" : "View Frustrum Culling: OFF");
            break;
        case GLFW_KEY_F6:
            changeQuality(nextQualitySetting(qualitySetting));
            post(settingMessage, settingMessageTime, std::string("Quality: ") + qualityName(qualitySetting));
            break;
        case GLFW_KEY_F7:
            stepDebugView();  // the HUD names the view while it is on
            break;
        case GLFW_KEY_F12:
            screenshotWanted = true;
            break;
        case GLFW_KEY_G:
            changeGhost(!ghostEnabled);
            post(settingMessage, settingMessageTime, ghostEnabled ? "Ghost: ON" : "Ghost: OFF");
            break;
        case GLFW_KEY_F9:
            if (transparencyEnabled) {
                transparencyEnabled = false;
            } else {
                transparency = transparencyModeStart;
                transparencyEnabled = true;
            }
            break;
        default:
            break;
    }
    return 0;
}

void keyCallback(GLFWwindow*, int key, int, int action, int) {
    noteKeyEvent(key, action == GLFW_PRESS);  // a press shorter than a frame still counts
    const GLenum polygonMode = applyHotkey(key, action);
    if (polygonMode != 0) glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
}
