#include "render/quality.h"

#include <algorithm>
#include <cmath>

#include "base/globals.h"
#include "gpu/render_targets.h"

QualityParameters qualityParameters(QualityLevel level) {
    switch (level) {
        case QualityLevel::full: return {1.0f, 1, 1};
        case QualityLevel::balanced: return {0.5f, 1, 2};
        case QualityLevel::low: return {0.25f, 2, 4};
    }
    return {1.0f, 1, 1};
}

void applyQualityLevel(QualityLevel level) {
    const QualityParameters p = qualityParameters(level);
    auto scaled = [](float scale) {
        return PixelSize{std::max(1, int(std::lround(screenWidth * scale))), std::max(1, int(std::lround(screenHeight * scale)))};
    };
    resizeShadowMap(scaled(1.0f / float(p.shadowDivisor)));
    resizeBlurTarget(scaled(p.sceneScale), level == QualityLevel::full ? GL_NEAREST : GL_LINEAR);
}
