// The world the start-up code builds from the committed models: every model
// faces outwards and has its size, the street, the houses and the backdrop
// stand where the course needs them, every collision box sits inside its own
// visible slab, and shutdown releases every GL object start-up made.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/course.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/level.h"
#include "tests/gl/world.h"
#include "tests/support/helpers.h"

using namespace vesk::scene;

namespace {

struct Triangle {
    glm::vec3 a, b, c;
    glm::vec3 normal;  // mean vertex normal, unit
    glm::vec3 lo() const { return glm::min(a, glm::min(b, c)); }
    glm::vec3 hi() const { return glm::max(a, glm::max(b, c)); }
};

// The object's triangles, placed by `place` (its model matrix unless told otherwise).
std::vector<Triangle> trianglesOf(const MeshObject& o, const glm::mat4& place) {
    auto at = [&](const std::vector<float>& v, unsigned i, float w) {
        return glm::vec3(place * glm::vec4(v[3 * i], v[3 * i + 1], v[3 * i + 2], w));
    };
    std::vector<Triangle> out;
    for (size_t t = 0; t + 2 < o.indices.size(); t += 3) {
        const unsigned i = o.indices[t], j = o.indices[t + 1], k = o.indices[t + 2];
        out.push_back({at(o.positions, i, 1), at(o.positions, j, 1), at(o.positions, k, 1),
                       glm::normalize(at(o.normals, i, 0) + at(o.normals, j, 0) + at(o.normals, k, 0))});
    }
    return out;
}
std::vector<Triangle> trianglesOf(const MeshObject& o) { return trianglesOf(o, o.modelMatrix); }

glm::vec3 size(const MeshObject& o) {
    glm::vec3 lo(1e30f), hi(-1e30f);
    for (const Triangle& t : trianglesOf(o, glm::mat4(1.0f))) lo = glm::min(lo, t.lo()), hi = glm::max(hi, t.hi());
    return hi - lo;
}

// Whether `point` (in the axes u, v) lies in the projection of `t` onto them.
bool covers(const Triangle& t, glm::vec2 point, int u, int v) {
    const glm::vec2 a(t.a[u], t.a[v]), b(t.b[u], t.b[v]), c(t.c[u], t.c[v]);
    auto side = [&point](glm::vec2 p, glm::vec2 q) { return (q.x - p.x) * (point.y - p.y) - (q.y - p.y) * (point.x - p.x); };
    const float d0 = side(a, b), d1 = side(b, c), d2 = side(c, a);
    return !((d0 < 0 || d1 < 0 || d2 < 0) && (d0 > 0 || d1 > 0 || d2 > 0));
}

// Whether a triangle facing along `facing` lies in the plane axis = level and
// covers `point`, given in the two other axes in ascending order.
bool surfaceCovers(const std::vector<Triangle>& tris, int axis, float level, glm::vec3 facing, glm::vec2 point) {
    return std::any_of(tris.begin(), tris.end(), [&](const Triangle& t) {
        return glm::dot(t.normal, facing) >= 0.99f && std::fabs(t.lo()[axis] - level) < 1e-3f &&
               std::fabs(t.hi()[axis] - level) < 1e-3f && covers(t, point, axis == 0 ? 1 : 0, axis == 2 ? 1 : 2);
    });
}

using World = GameWorldTest;

TEST_F(World, EveryModelIsMadeOfOutwardFacingTrianglesAndHasItsSize) {
    for (const MeshObject* o : {static_cast<const MeshObject*>(theCat), static_cast<const MeshObject*>(coinObject),
                                static_cast<const MeshObject*>(corridorObject), static_cast<const MeshObject*>(grids[0]),
                                static_cast<const MeshObject*>(houseRow), static_cast<const MeshObject*>(mouseObject)}) {
        SCOPED_TRACE(typeid(*o).name());
        ASSERT_FALSE(o->indices.empty());
        int wrong = 0;
        // Counter-clockwise, OpenGL's front face, must be the side the normals point to.
        for (const Triangle& t : trianglesOf(*o, glm::mat4(1.0f))) {
            const glm::vec3 geometric = glm::cross(t.b - t.a, t.c - t.a);
            wrong += !(glm::dot(geometric, t.normal) > 0.0f) && glm::length(geometric) > 1e-9f;
        }
        EXPECT_EQ(wrong, 0);
    }
    EXPECT_TRUE(closeTo(size(*theCat), glm::vec3(1.8f), 0.01f));
    EXPECT_NEAR(size(*catChildA).x, 0.2f, 0.002f);
    EXPECT_TRUE(closeTo(size(*coinObject), {2.0f, 2.0f, 0.27f}, 0.02f)) << "an upright disc facing along z";
}

TEST_F(World, CorridorIsTheStreetWithInwardFloorAndWallsOpenAbove) {
    const std::vector<Triangle> tris = trianglesOf(*corridorObject);
    for (float z = -1.0f; z > streetEndZ; z -= 7.3f) {
        for (float x = -9.9f; x < streetWallX; x += 1.7f)
            ASSERT_TRUE(surfaceCovers(tris, 1, streetFloorY, {0, 1, 0}, {x, z})) << "floor hole at " << x << ", " << z;
        for (float y = streetFloorY + 0.1f; y < streetLimitY[1]; y += 1.9f) {  // as high as the cat may fly
            ASSERT_TRUE(surfaceCovers(tris, 0, -streetWallX, {1, 0, 0}, {y, z})) << "left wall at " << y << ", " << z;
            ASSERT_TRUE(surfaceCovers(tris, 0, streetWallX, {-1, 0, 0}, {y, z})) << "right wall at " << y << ", " << z;
        }
    }
    for (const Triangle& t : tris) {
        // Inside the street there is only the floor and the closing wall behind the start.
        const glm::vec3 centre = (t.a + t.b + t.c) / 3.0f;
        EXPECT_TRUE(std::fabs(centre.x) > streetWallX - 1e-3f || std::fabs(t.hi().y - streetFloorY) < 1e-3f ||
                    std::fabs(t.lo().z) + std::fabs(t.hi().z) < 1e-3f)
            << "face inside the street at " << ::testing::PrintToString(centre);
    }
}

// The sky hides whatever lies beyond it: the rest of the world must lie well
// inside it, the house row's copy of it well outside, and it faces inwards.
TEST_F(World, TheStarrySphereHoldsTheWorldAndHidesTheHouseRowsCopyOfIt) {
    auto farthest = [](const Triangle& t) { return glm::distance(t.lo() + t.hi(), 2.0f * skyCentre) / 2.0f; };
    int sky = 0;
    for (const Triangle& t : trianglesOf(*skyBox))
        if (std::fabs(farthest(t) - skyRadius) < 5.0f) sky += glm::dot(t.normal, t.a - skyCentre) < 0.0f;
    EXPECT_GT(sky, 500);
    for (const MeshObject* o : {static_cast<const MeshObject*>(houseRow), static_cast<const MeshObject*>(corridorObject)})
        for (const Triangle& t : trianglesOf(*o)) ASSERT_GT(std::fabs(farthest(t) - skyRadius), 250.0f);
}

// No invisible walls and no ghost slabs: every collision box, within the
// street, lies inside its own convex slab, which overhangs it by at most 3.
TEST_F(World, EachObstacleBoxLiesInsideItsOwnVisibleSlab) {
    std::set<int> slabsUsed;
    for (const Slab& slab : courseSlabs) {
        const ObstacleBox& box = slab.box;
        SCOPED_TRACE(testing::Message() << "box at z " << box.zMin << (box.blocksAbove ? ", hanging" : ", standing"));
        const glm::vec3 lo(std::max(box.xMin, -streetWallX), box.blocksAbove ? box.yLimit : streetFloorY, box.zMin);
        const glm::vec3 hi(std::min(box.xMax, streetWallX), box.blocksAbove ? streetWallTopY : box.yLimit, box.zMax);
        auto holdsTheBox = [&](const std::vector<Triangle>& faces) {
            for (const Triangle& f : faces)
                for (int k = 0; k < 8; ++k) {
                    const glm::vec3 corner(k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y, k & 4 ? hi.z : lo.z);
                    if (glm::dot(corner - f.a, glm::cross(f.b - f.a, f.c - f.a)) > 1e-3f) return false;
                }
            return true;
        };
        int found = 0;
        while (found < slabCount && !holdsTheBox(trianglesOf(*grids[found]))) ++found;
        ASSERT_LT(found, slabCount) << "no slab around the box";
        EXPECT_TRUE(slabsUsed.insert(found).second) << "grid " << found + 1 << " holds two boxes";
        glm::vec3 slabLo(1e30f), slabHi(-1e30f);
        for (const Triangle& f : trianglesOf(*grids[found])) slabLo = glm::min(slabLo, f.lo()), slabHi = glm::max(slabHi, f.hi());
        slabLo = glm::max(slabLo, glm::vec3(-streetWallX, streetFloorY, -1e9f));  // the part within the street
        slabHi = glm::min(slabHi, glm::vec3(streetWallX, streetWallTopY, 1e9f));
        const glm::vec3 overhang = glm::max(lo - slabLo, slabHi - hi);
        EXPECT_LE(std::max({overhang.x, overhang.y, overhang.z}), 3.0f + 1e-3f)
            << "grid " << found + 1 << " overhangs the box by " << ::testing::PrintToString(overhang);
    }
}

// Every live GL object, as "kind:name". Mesa hands out ever larger names, so
// a fresh name of each kind bounds the search.
std::set<std::string> liveObjects() {
    struct Kind {
        const char* name;
        PFNGLISPROGRAMPROC exists;
        void (*create)(GLsizei, GLuint*);
        void (*release)(GLsizei, const GLuint*);
    };
    const Kind kinds[] = {{"texture", glIsTexture, glGenTextures, glDeleteTextures},
                          {"buffer", glIsBuffer, glGenBuffers, glDeleteBuffers},
                          {"vertex array", glIsVertexArray, glGenVertexArrays, glDeleteVertexArrays},
                          {"framebuffer", glIsFramebuffer, glGenFramebuffers, glDeleteFramebuffers},
                          {"renderbuffer", glIsRenderbuffer, glGenRenderbuffers, glDeleteRenderbuffers}};
    std::set<std::string> live;
    auto scan = [&live](const char* kind, PFNGLISPROGRAMPROC exists, GLuint fresh) {
        for (GLuint name = 1; name < std::max(fresh, 4096u); ++name)
            if (exists(name)) live.insert(std::string(kind) + ":" + std::to_string(name));
    };
    for (const Kind& kind : kinds) {
        GLuint fresh = 0;
        kind.create(1, &fresh);
        kind.release(1, &fresh);
        scan(kind.name, kind.exists, fresh);
    }
    const GLuint fresh = glCreateProgram();  // programs and shaders share their names
    glDeleteProgram(fresh);
    scan("program", glIsProgram, fresh);
    scan("shader", glIsShader, fresh);
    return live;
}

TEST(SceneLifecycle, AssemblyLogsTheGridsAndCoinsAndShutdownReleasesEveryObject) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::set<std::string> before = liveObjects();
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    initScene();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "a complete start-up reports nothing";
    EXPECT_NE(out.find("grid Position.xyzX: -9Y: 8Z: -220true Position gridObject9.0, 8.0, -220.0\n"
                       "grid Position.xyzX: -5.5Y: 10Z: -390true Position gridObject-5.5, 10, -390\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(countOf(out, "COIN "), coinsPerLayout);
    EXPECT_GT(liveObjects().size(), before.size() + 150) << "the world's programs, textures, buffers and targets";
    deleteScene();
    std::set<std::string> left = liveObjects();
    for (const std::string& name : before) left.erase(name);
    EXPECT_EQ(left, std::set<std::string>()) << "shutdown left GL objects behind";
    EXPECT_EQ(coinField, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
