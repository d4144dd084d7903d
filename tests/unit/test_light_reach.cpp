// The light's reach along the street: a point beyond it must be one the lit
// shader finds lit without a lookup, however its offsets move it, and the
// triangles of a mesh must come out in their order, in the fewest runs.
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <vector>

#include "render/light_reach.h"

namespace {

const glm::mat4 lightProjection = glm::perspective(glm::radians(90.0f), 1600.0f / 1400.0f, 0.1f, 2000.0f);

// Whether the lit shader would look `p` up in the shadow map of the light at
// `light`: in front of the light and inside its view, as the shader tests it.
bool lookedUp(glm::vec3 light, glm::vec3 p) {
    const glm::mat4 view = glm::lookAt(light, light + glm::vec3(0, -1, 0), glm::vec3(0, 0, -1));
    const glm::vec4 clip = lightProjection * view * glm::vec4(p, 1.0f);
    if (clip.w <= 0.0f) return false;
    const glm::vec3 ndc = glm::vec3(clip) / clip.w;
    return glm::all(glm::lessThanEqual(glm::abs(ndc), glm::vec3(1.0f)));
}

TEST(LightReach, NoPointBeyondItIsLookedUpWhereverTheShadersOffsetsMoveIt) {
    for (const int mapHeight : {1400, 700, 350}) {
        const LightsView light{{2.0f, 38.5f, -229.0f}, lightProjection[1][1], mapHeight};
        for (const float lowY : {-4.5f, 10.0f, 30.0f}) {
            const glm::vec2 reach = lightsReachAlongZ(light, lowY);
            ASSERT_LT(reach.x, reach.y);
            for (float y = lowY; y < light.position.y; y += 2.0f) {
                // The shader's offsets: 1.2 texels along the normal and up to
                // 8 towards the light, a texel 2 depth / mapHeight wide.
                const float texel = 2.0f * (light.position.y - y) / static_cast<float>(mapHeight);
                for (const float x : {-30.0f, 0.0f, 2.0f, 30.0f})
                    for (const float z : {reach.x - 0.01f, reach.y + 0.01f}) {
                        const glm::vec3 p(x, y, z);
                        const glm::vec3 toLight = glm::normalize(light.position - p);
                        for (const glm::vec3& normal : {glm::vec3(0, 1, 0), glm::vec3(0, 0, 1), glm::vec3(0, 0, -1)})
                            EXPECT_FALSE(lookedUp(light.position, p + normal * (1.2f * texel) + toLight * (8.0f * texel)))
                                << "map " << mapHeight << ", point (" << x << ", " << y << ", " << z << ")";
                    }
            }
            // Just within, a point right under the light's view edge is looked up.
            const float depth = light.position.y - lowY;
            EXPECT_TRUE(lookedUp(light.position, {light.position.x, lowY, light.position.z - 0.99f * depth}));
        }
    }
}

TEST(LightReach, ALightNotAboveTheLowestPointReachesNothing) {
    const LightsView light{{0.0f, 5.0f, -229.0f}, lightProjection[1][1], 1400};
    const glm::vec2 reach = lightsReachAlongZ(light, 5.0f);
    EXPECT_GT(reach.x, reach.y);
    // Whatever the empty range's two ends are, no span lies within it.
    const std::vector<TriangleRun> runs =
        runsByReach({{-230.0f, -228.0f, 5.0f}, {reach.y - 1.0f, reach.x + 1.0f, 5.0f}}, light);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FALSE(runs[0].inReach);
}

TEST(LightReach, TrianglesComeInTheirOrderInTheFewestRuns) {
    const LightsView light{{0.0f, 38.5f, -229.0f}, lightProjection[1][1], 1400};
    const glm::vec2 reach = lightsReachAlongZ(light, -4.5f);
    const float in = light.position.z, before = reach.y + 5.0f, beyond = reach.x - 5.0f;
    struct Case {
        const char* name;
        std::vector<glm::vec3> spans;  // lowest z, highest z, lowest y
        std::vector<TriangleRun> runs;
    };
    const Case cases[] = {
        {"none", {}, {}},
        {"all beyond", {{beyond - 1, beyond, -4.5f}, {before, before + 1, -4.5f}}, {{0, 2, false}}},
        {"a run within between two beyond",
         {{beyond, beyond, -4.5f}, {in, in, -4.5f}, {in - 1, in, -4.5f}, {before, before, -4.5f}},
         {{0, 1, false}, {1, 2, true}, {3, 1, false}}},
        {"touching the edge is within", {{reach.y, reach.y + 3, -4.5f}, {reach.x - 3, reach.x, -4.5f}}, {{0, 2, true}}},
        {"spanning the whole reach is within", {{beyond, before, -4.5f}}, {{0, 1, true}}},
        {"a lower triangle reaches farther", {{reach.x - 1, reach.x - 1, -4.5f}, {reach.x - 1, reach.x - 1, -40.0f}},
         {{0, 1, false}, {1, 1, true}}},
    };
    for (const Case& c : cases) {
        const std::vector<TriangleRun> runs = runsByReach(c.spans, light);
        ASSERT_EQ(runs.size(), c.runs.size()) << c.name;
        for (size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].first, c.runs[i].first) << c.name << ", run " << i;
            EXPECT_EQ(runs[i].count, c.runs[i].count) << c.name << ", run " << i;
            EXPECT_EQ(runs[i].inReach, c.runs[i].inReach) << c.name << ", run " << i;
        }
    }
}

}  // namespace
