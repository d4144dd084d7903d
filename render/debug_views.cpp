#include "render/debug_views.h"

#include <cmath>
#include <vector>

#include "base/debug_view.h"
#include "base/globals.h"
#include "gpu/buffer.h"
#include "gpu/gl_state.h"
#include "gpu/shader.h"
#include "render/passes.h"
#include "scene/scene_object.h"

using vesk::scene::MeshObject;

namespace {

GLuint lineBuffer = 0;

constexpr int circleSegments = 32;
constexpr float frustumShownLength = 120.0f;  // world units: the frozen view's part that matters

using Lines = std::vector<glm::vec3>;  // pairs of ends

// Three great circles of the sphere, one about each axis.
void addSphere(Lines& lines, glm::vec3 centre, float radius) {
    for (int axis = 0; axis < 3; ++axis) {
        auto point = [&](int i) {
            const float angle = 6.2831853f * float(i) / circleSegments;
            glm::vec3 offset(0.0f);
            offset[(axis + 1) % 3] = std::cos(angle) * radius;
            offset[(axis + 2) % 3] = std::sin(angle) * radius;
            return centre + offset;
        };
        for (int i = 0; i < circleSegments; ++i) {
            lines.push_back(point(i));
            lines.push_back(point(i + 1));
        }
    }
}

// The frozen camera's frustum from its eye out to frustumShownLength.
Lines frozenFrustum() {
    const glm::mat4 toWorld = glm::inverse(frozenCamera.view);
    const float halfHeight = frustumShownLength / projectionMatrix[1][1];
    const float halfWidth = frustumShownLength / projectionMatrix[0][0];
    glm::vec3 corners[4];
    const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i)
        corners[i] = glm::vec3(toWorld * glm::vec4(signs[i][0] * halfWidth, signs[i][1] * halfHeight,
                                                   -frustumShownLength, 1.0f));
    Lines lines;
    for (int i = 0; i < 4; ++i) {
        lines.insert(lines.end(), {frozenCamera.position, corners[i]});
        lines.insert(lines.end(), {corners[i], corners[(i + 1) % 4]});
    }
    return lines;
}

void drawLines(const Lines& lines, glm::vec3 colour) {
    if (lines.empty()) return;
    setVector(lineShader, "lineColor", colour);
    refillBuffer(GL_ARRAY_BUFFER, lineBuffer, lines);
    pointVertexInput(positionInput, lineBuffer, 3);
    glDrawArrays(GL_LINES, 0, GLsizei(lines.size()));
    glDisableVertexAttribArray(positionInput);
}

}  // namespace

void drawCullingLines() {
    if (lineBuffer == 0) glGenBuffers(1, &lineBuffer);
    Lines drawn, culled;
    for (const MeshObject* object : culledKinds()) {
        const glm::vec3 centre(object->modelMatrix * glm::vec4(object->boundingCenter, 1.0f));
        const float radius = float(object->boundingRadius) * glm::length(glm::vec3(object->modelMatrix[0]));
        addSphere(culledThisFrame(object) ? culled : drawn, centre, radius);
    }
    // Seen through walls and houses: the spheres matter, not what hides them.
    const GlSwitch overEverything(GL_DEPTH_TEST, false);
    GLfloat width = 1.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    glLineWidth(2.0f);
    glUseProgram(lineShader->programHandle);
    setMatrix(lineShader, "viewProjection", projectionMatrix * viewMatrix);
    drawLines(drawn, {0.1f, 1.0f, 0.2f});
    drawLines(culled, {1.0f, 0.1f, 0.1f});
    drawLines(frozenFrustum(), {1.0f, 0.9f, 0.2f});
    glLineWidth(width);
}

void releaseDebugViews() {
    if (lineBuffer != 0) glDeleteBuffers(1, &lineBuffer);
    lineBuffer = 0;
}
