#include "render/quality.h"

#include <algorithm>
#include <cmath>

#include "base/globals.h"
#include "gpu/render_targets.h"

QualityParameters qualityParameters(QualityLevel level) {
    switch (level) {
        case QualityLevel::full: return {1.0f, 1, 1, false, false};
        case QualityLevel::balanced: return {0.5f, 1, 2, true, false};
        case QualityLevel::low: return {0.25f, 2, 4, true, true};
    }
    return {1.0f, 1, 1, false, false};
}

void applyQualityLevel(QualityLevel level) {
    const QualityParameters p = qualityParameters(level);
    auto scaled = [](float scale) {
        return PixelSize{std::max(1, int(std::lround(screenWidth * scale))), std::max(1, int(std::lround(screenHeight * scale)))};
    };
    resizeShadowMap(scaled(1.0f / float(p.shadowDivisor)));
    // At full the scene is the window's picture pixel for pixel, whatever the
    // window's size; below full it keeps the level's share of the picture's.
    if (level == QualityLevel::full) {
        resizeSceneTargets({std::max(1, windowViewport.width), std::max(1, windowViewport.height)}, GL_NEAREST);
    } else {
        resizeSceneTargets(scaled(p.sceneScale), GL_LINEAR);
    }
}
