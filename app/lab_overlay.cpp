#include "app/lab_overlay.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>

#include "base/globals.h"
#include "base/quality.h"
#include "gpu/buffer.h"
#include "gpu/gl_state.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "render/particles.h"

namespace {

constexpr int textSize = 8;    // HUD units: 100 characters across the picture
constexpr int lineStep = 10;
constexpr int left = 10;
constexpr int top = 580;       // the first line's lower edge
constexpr int graphHeight = 60;
constexpr double graphTopLeast = 50.0;  // ms: the graph's top doubles from this...
constexpr double graphTopMost = 800.0;  // ...up to this at most
constexpr double graphSeconds = 5.0;    // of frames across the graph's width
constexpr float graphWidth = 600.0f;
constexpr int machineLines = 3;    // above the graph: renderer, version, targets, caption
const glm::vec4 panelColor(0.0f, 0.0f, 0.0f, 0.65f);
const glm::vec4 frameColor(0.45f, 1.0f, 0.45f, 1.0f);
const glm::vec4 sixtyColor(1.0f, 0.85f, 0.2f, 0.8f);   // 16.7 ms: 60 frames a second
const glm::vec4 thirtyColor(1.0f, 0.3f, 0.25f, 0.8f);  // 33.3 ms: 30 frames a second

// The graph's box: below the machine's lines and the caption.
GraphBox graphBox() {
    const float lowerEdge = float(top - (machineLines + 1) * lineStep - graphHeight + textSize - 4);
    return {{float(left), lowerEdge}, {graphWidth, float(graphHeight)}, 0.0};
}

std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0, double d = 0.0) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b, c, d);
    return text;
}

std::string pixelsText(PixelSize size) { return std::to_string(size.width) + "x" + std::to_string(size.height); }

std::string milliseconds(double value) { return value < 0.0 ? "     -" : format("%6.2f", value); }

// The overlay's own GL objects: made when it is first shown, kept until
// shutdown, so showing and hiding it costs no shader builds.
Shader* overlayShader = nullptr;
GLuint overlayVao = 0;  // its own: the particle pass leaves a divisor on the default one
GLuint overlayBuffer = 0;
Text2D* overlayText = nullptr;
LabFacts facts;          // the driver's names, read once
FrameTiming* ownTiming = nullptr;  // installed while shown, unless a benchmark's is

void createOverlay() {
    overlayShader = new Shader("Shader/labOverlay.vert", "Shader/labOverlay.frag");
    overlayText = new Text2D();
    glGenVertexArrays(1, &overlayVao);
    glGenBuffers(1, &overlayBuffer);
    facts.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    facts.version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
}

struct ShapeVertex {
    glm::vec2 position;
    glm::vec4 color;
};

void addQuad(std::vector<ShapeVertex>& out, glm::vec2 lowerLeft, glm::vec2 upperRight, glm::vec4 color) {
    const glm::vec2 a = lowerLeft, b(upperRight.x, lowerLeft.y), c = upperRight, d(lowerLeft.x, upperRight.y);
    for (const glm::vec2& corner : {a, b, c, a, c, d}) out.push_back({corner, color});
}

}  // namespace

std::vector<TextLine> labOverlayLines(const LabFacts& f, const FrameRecord& frame, double graphTop) {
    std::vector<TextLine> lines;
    int y = top;
    auto line = [&](const std::string& text) {
        lines.push_back({text, left, y, textSize});
        y -= lineStep;
    };
    line("LAB (F1)  " + f.renderer);
    line("GL " + f.version);
    line("quality " + f.quality + "   window " + pixelsText(f.window) + "   scene target " + pixelsText(f.sceneTarget) +
         " x" + std::to_string(f.sceneSamples) + "   shadow map " + pixelsText(f.shadowMap));
    line(format("frame %.1f ms   graph: last 5 s, top %.0f ms, lines at 16.7 and 33.3 ms", frame.wall, graphTop));
    y -= graphHeight;
    line("pass         GPU ms   CPU ms   draws  triangles");
    for (int pass = 0; pass < framePassCount; ++pass) {
        const PassRecord& record = frame.passes[static_cast<size_t>(pass)];
        if (!record.ran()) continue;
        char text[120];
        std::snprintf(text, sizeof text, "%-10s  %s   %s  %6ld  %9ld", framePassNames[pass],
                      milliseconds(record.gpu).c_str(), milliseconds(record.cpu).c_str(), record.drawCalls,
                      record.triangles);
        line(text);
    }
    line("CPU ms   rules " + milliseconds(frame.rules) + "   update " + milliseconds(frame.update) +
         "   particle step " + milliseconds(frame.particleStep) + "   submission " +
         milliseconds(frame.submission()));
    line("objects drawn " + std::to_string(f.drawnObjects) + ", culled " + std::to_string(f.culledObjects) +
         "   live particles " + std::to_string(f.liveParticles));
    return lines;
}

double graphTopFor(const std::deque<double>& frames) {
    const double slowest = frames.empty() ? 0.0 : *std::max_element(frames.begin(), frames.end());
    double top = graphTopLeast;
    while (top < slowest && top < graphTopMost) top *= 2.0;
    return top;
}

std::vector<GraphSegment> frameGraph(const std::deque<double>& frames, const GraphBox& box) {
    auto height = [&](double ms) {
        return box.lowerLeft.y + box.size.y * float(std::min(ms, box.topMilliseconds) / box.topMilliseconds);
    };
    const float right = box.lowerLeft.x + box.size.x;
    std::vector<GraphSegment> segments{
        {{box.lowerLeft.x, height(1000.0 / 60.0)}, {right, height(1000.0 / 60.0)}, sixtyColor},
        {{box.lowerLeft.x, height(1000.0 / 30.0)}, {right, height(1000.0 / 30.0)}, thirtyColor},
    };
    // Each frame ends where the next begins: the newest at the right edge,
    // time running leftwards, until the box's seconds are used up.
    const float perMillisecond = box.size.x / float(graphSeconds * 1e3);
    float x = right;
    for (size_t i = frames.size(); i-- > 1;) {
        const float before = x - perMillisecond * float(frames[i]);
        if (before < box.lowerLeft.x) break;
        segments.push_back({{before, height(frames[i - 1])}, {x, height(frames[i])}, frameColor});
        x = before;
    }
    return segments;
}

void followLabOverlay() {
    if (labOverlayShown && !frameProbe) {
        ownTiming = new FrameTiming();
        frameProbe = ownTiming;
    } else if (!labOverlayShown && ownTiming) {
        if (frameProbe == ownTiming) frameProbe = nullptr;
        delete ownTiming;
        ownTiming = nullptr;
    }
}

void drawLabOverlay() {
    if (!labOverlayShown) return;
    const auto* timing = dynamic_cast<const FrameTiming*>(frameProbe);
    if (!timing) return;
    if (!overlayShader) createOverlay();

    const bool automatic = qualitySetting == QualitySetting::automatic;
    facts.quality = std::string(qualityName(qualityLevel)) + (automatic ? " (auto)" : "");
    facts.window = {windowViewport.width, windowViewport.height};
    facts.sceneTarget = blurTargetSize;
    facts.sceneSamples = sceneTargetSamples();
    facts.shadowMap = shadowMapSize;
    facts.drawnObjects = drawnObjectCount;
    facts.culledObjects = culledObjectCount;
    facts.liveParticles = liveParticleCount();
    GraphBox box = graphBox();
    box.topMilliseconds = graphTopFor(timing->recentFrames());
    const std::vector<TextLine> lines = labOverlayLines(facts, timing->latest(), box.topMilliseconds);

    // The panel behind the text, a darker one behind the graph, then the graph's lines.
    std::vector<ShapeVertex> vertices;
    const float panelBottom = float(lines.back().y - 4);
    addQuad(vertices, {float(left - 6), panelBottom}, {float(left) + graphWidth + 160.0f, float(top + textSize + 4)},
            panelColor);
    addQuad(vertices, box.lowerLeft, box.lowerLeft + box.size, panelColor);
    const auto panelVertices = static_cast<GLsizei>(vertices.size());
    for (const GraphSegment& segment : frameGraph(timing->recentFrames(), box)) {
        vertices.push_back({segment.from, segment.color});
        vertices.push_back({segment.to, segment.color});
    }

    const GlBlending translucent(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindVertexArray(overlayVao);
    glBindBuffer(GL_ARRAY_BUFFER, overlayBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(ShapeVertex)), vertices.data(), GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(ShapeVertex), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, sizeof(ShapeVertex),
                          reinterpret_cast<const void*>(offsetof(ShapeVertex, color)));
    glUseProgram(overlayShader->programHandle);
    setVector(overlayShader, "hudUnits", hudUnits);
    glDrawArrays(GL_TRIANGLES, 0, panelVertices);
    glDrawArrays(GL_LINES, panelVertices, GLsizei(vertices.size()) - panelVertices);
    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    drawScreenText(lines, *overlayText);
}

void releaseLabOverlay() {
    if (frameProbe == ownTiming && ownTiming) frameProbe = nullptr;
    delete ownTiming;
    ownTiming = nullptr;
    delete overlayText;
    overlayText = nullptr;
    delete overlayShader;
    overlayShader = nullptr;
    glDeleteBuffers(1, &overlayBuffer);
    glDeleteVertexArrays(1, &overlayVao);
    overlayBuffer = overlayVao = 0;
}
