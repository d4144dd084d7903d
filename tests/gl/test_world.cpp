// The committed models as the start-up code loads and places them must fit
// the level: outward-facing triangles, the cat and coin sizes, the street, the
// house rows beside it, the star backdrop down the street, and one slab around
// each collision box.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "play/course.h"
#include "play/input.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/level.h"
#include "tests/gl/game_world.h"
#include "tests/helpers.h"

using namespace vesk::scene;

namespace {

constexpr float streetHalfWidth = 10.0f, floorY = -4.5f, ceilingY = 15.5f;

struct Triangle {
    glm::vec3 a, b, c;
    glm::vec3 normal;  // mean vertex normal, unit
    glm::vec3 lo() const { return glm::min(a, glm::min(b, c)); }
    glm::vec3 hi() const { return glm::max(a, glm::max(b, c)); }
};

glm::vec3 corner(const MeshObject& o, unsigned i, const glm::mat4& place) {
    return glm::vec3(place * glm::vec4(o.positions[3 * i], o.positions[3 * i + 1], o.positions[3 * i + 2], 1.0f));
}

// The object's triangles, in world space unless `place` says otherwise.
std::vector<Triangle> trianglesOf(const MeshObject& o, const glm::mat4& place) {
    std::vector<Triangle> out;
    for (size_t t = 0; t + 2 < o.indices.size(); t += 3) {
        glm::vec3 n(0.0f);
        for (int k = 0; k < 3; ++k)
            n += glm::vec3(o.normals[3 * o.indices[t + k]], o.normals[3 * o.indices[t + k] + 1], o.normals[3 * o.indices[t + k] + 2]);
        out.push_back({corner(o, o.indices[t], place), corner(o, o.indices[t + 1], place), corner(o, o.indices[t + 2], place),
                       glm::normalize(glm::mat3(place) * n)});
    }
    return out;
}
std::vector<Triangle> trianglesOf(const MeshObject& o) { return trianglesOf(o, o.modelMatrix); }

// Extent of the object's vertices, in model space.
std::pair<glm::vec3, glm::vec3> extent(const MeshObject& o) {
    glm::vec3 lo(1e30f), hi(-1e30f);
    for (size_t i = 0; i < o.positions.size(); i += 3) {
        lo = glm::min(lo, corner(o, unsigned(i / 3), glm::mat4(1.0f)));
        hi = glm::max(hi, corner(o, unsigned(i / 3), glm::mat4(1.0f)));
    }
    return {lo, hi};
}

// Whether `point` lies in the projection of `t` onto the axes u and v.
bool covers(const Triangle& t, glm::vec2 point, int u, int v) {
    const glm::vec2 a(t.a[u], t.a[v]), b(t.b[u], t.b[v]), c(t.c[u], t.c[v]);
    auto side = [&point](glm::vec2 p, glm::vec2 q) { return (q.x - p.x) * (point.y - p.y) - (q.y - p.y) * (point.x - p.x); };
    const float d0 = side(a, b), d1 = side(b, c), d2 = side(c, a);
    return !((d0 < 0 || d1 < 0 || d2 < 0) && (d0 > 0 || d1 > 0 || d2 > 0));
}

// Whether some triangle facing along `facing` lies in the plane axis = level
// and covers `point` (given in the two other axes, in ascending order).
bool surfaceCovers(const std::vector<Triangle>& tris, int axis, float level, glm::vec3 facing, glm::vec2 point) {
    for (const Triangle& t : tris)
        if (glm::dot(t.normal, facing) >= 0.99f && std::fabs(t.lo()[axis] - level) < 1e-3f &&
            std::fabs(t.hi()[axis] - level) < 1e-3f && covers(t, point, axis == 0 ? 1 : 0, axis == 2 ? 1 : 2))
            return true;
    return false;
}

using World = GameWorldTest;

TEST_F(World, EveryModelIsMadeOfOutwardFacingTrianglesWithNormals) {
    for (const MeshObject* o : std::initializer_list<const MeshObject*>{theCat, coinObject, corridorObject, grids[0],
                                                                         houseRow, mouseObject}) {
        SCOPED_TRACE(typeid(*o).name());
        ASSERT_FALSE(o->indices.empty());
        int wrong = 0;
        // Counter-clockwise (OpenGL's front face) must be the side the normals point to.
        for (const Triangle& t : trianglesOf(*o, glm::mat4(1.0f))) {
            const glm::vec3 geometric = glm::cross(t.b - t.a, t.c - t.a);
            wrong += !(glm::dot(geometric, t.normal) > 0.0f) && glm::length(geometric) > 1e-9f;
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(World, CatBeadCoinAndMouseHaveTheirSizes) {
    const auto [catLo, catHi] = extent(*theCat);
    EXPECT_TRUE(closeTo(catHi - catLo, glm::vec3(1.8f), 0.01f)) << "the cat is 1.8 across";
    EXPECT_TRUE(closeTo(catHi + catLo, glm::vec3(0.0f), 0.01f)) << "centred";
    EXPECT_NEAR(extent(*catChildA).second.x - extent(*catChildA).first.x, 0.2f, 0.002f);

    const auto [coinLo, coinHi] = extent(*coinObject);  // an upright disc two units across facing z
    EXPECT_NEAR(coinHi.x - coinLo.x, 2.0f, 0.02f);
    EXPECT_NEAR(coinHi.y - coinLo.y, 2.0f, 0.02f);
    EXPECT_LT(coinHi.z - coinLo.z, 0.4f);
    const auto uv = std::minmax_element(coinObject->uvs.begin(), coinObject->uvs.end());
    EXPECT_TRUE(*uv.first >= -1e-3f && *uv.second <= 1.001f) << "each face shows the coin picture once";

    const auto [mouseLo, mouseHi] = extent(*mouseObject);
    EXPECT_NEAR(mouseHi.z - mouseLo.z, 2.25f, 0.75f);
    EXPECT_NEAR(mouseLo.y, 0.0f, 0.01f) << "stands on its own origin";
    // It walks along its own -z, so the nose, at head height, is its lowest-z point.
    const auto& p = mouseObject->positions;
    size_t nose = 0;
    for (size_t i = 0; i < p.size(); i += 3) nose = p[i + 2] < p[nose + 2] ? i : nose;
    EXPECT_GT(p[nose + 1], 0.25f);
}

TEST_F(World, CorridorIsTheStreetWithInwardFloorAndWallsOpenAbove) {
    const std::vector<Triangle> tris = trianglesOf(*corridorObject);
    for (float z = -1.0f; z > -600.0f; z -= 7.3f) {
        for (float x = -9.9f; x < 10.0f; x += 1.7f)
            ASSERT_TRUE(surfaceCovers(tris, 1, floorY, {0, 1, 0}, {x, z})) << "floor hole at " << x << ", " << z;
        for (float y = -4.4f; y < ceilingY; y += 1.9f) {
            ASSERT_TRUE(surfaceCovers(tris, 0, -streetHalfWidth, {1, 0, 0}, {y, z})) << "left wall at " << y << ", " << z;
            ASSERT_TRUE(surfaceCovers(tris, 0, streetHalfWidth, {-1, 0, 0}, {y, z})) << "right wall at " << y << ", " << z;
        }
    }
    for (const Triangle& t : tris) {
        EXPECT_TRUE(t.lo().y >= floorY - 1e-3f && t.hi().y <= ceilingY + 1e-3f && t.lo().z > -700.0f && t.hi().z < 1e-3f);
        // Inside the street there is only the floor and the closing wall behind the start.
        const glm::vec3 centre = (t.a + t.b + t.c) / 3.0f;
        const bool inside = std::fabs(centre.x) < streetHalfWidth - 1e-3f;
        EXPECT_TRUE(!inside || std::fabs(t.hi().y - floorY) < 1e-3f || std::fabs(t.lo().z) + std::fabs(t.hi().z) < 1e-3f)
            << "face inside the street at " << ::testing::PrintToString(centre);
    }
    // The metal repeats a few times per 10 units along the street, not hundreds.
    const auto uv = std::minmax_element(corridorObject->uvs.begin(), corridorObject->uvs.end());
    EXPECT_GT(*uv.second - *uv.first, 620.0f / 10.0f);
    EXPECT_LT(*uv.second - *uv.first, 620.0f);
}

TEST_F(World, HouseRowLinesBothSidesOfTheCourseOutsideTheStreet) {
    std::vector<Triangle> houses;
    for (const Triangle& t : trianglesOf(*houseRow))
        if (t.hi().z > -1000.0f) houses.push_back(t);
    ASSERT_FALSE(houses.empty());
    for (const Triangle& t : houses) {
        ASSERT_TRUE(t.lo().x >= 12.0f - 1e-3f || t.hi().x <= -12.0f + 1e-3f) << "a house reaches into the street at z " << t.lo().z;
        EXPECT_TRUE(t.lo().y >= floorY - 1e-3f && t.hi().y <= floorY + 60.0f);
    }
    // Along the course each side is built up above the corridor walls, with at most narrow alleys.
    for (float side : {-1.0f, 1.0f}) {
        float gap = 0.0f, widestGap = 0.0f;
        for (float z = -150.0f; z >= -650.0f; z -= 0.5f) {
            float top = -1e9f, bottom = 1e9f, nearest = 1e9f;
            for (const Triangle& t : houses) {
                if (t.lo().z > z || t.hi().z < z || t.lo().x * side < 0.0f) continue;
                top = std::max(top, t.hi().y);
                bottom = std::min(bottom, t.lo().y);
                nearest = std::min({nearest, std::fabs(t.lo().x), std::fabs(t.hi().x)});
            }
            gap = top < bottom ? gap + 0.5f : 0.0f;
            widestGap = std::max(widestGap, gap);
            EXPECT_TRUE(top < bottom || (top > ceilingY + 2.0f && std::fabs(bottom - floorY) < 0.01f && nearest < 16.0f))
                << "z " << z << " side " << side;
        }
        EXPECT_LE(widestGap, 5.0f) << "side " << side;
    }
}

TEST_F(World, HouseRowFileAlsoHoldsAStarBackdropDownTheStreet) {
    ASSERT_EQ(skyBox->positions.size(), houseRow->positions.size()) << "both from the one file";
    glm::vec3 lo(1e30f), hi(-1e30f);
    for (unsigned i = 0; i < houseRow->positions.size() / 3; ++i) {
        // What the house row draws within the far plane (2000) of a camera on
        // the course (z -190 .. -560) must be houses, not backdrop pieces.
        if (corner(*houseRow, i, houseRow->modelMatrix).z >= -1000.0f) continue;
        EXPECT_LT(corner(*houseRow, i, houseRow->modelMatrix).z, -2560.0f - 50.0f);
        lo = glm::min(lo, corner(*skyBox, i, skyBox->modelMatrix));
        hi = glm::max(hi, corner(*skyBox, i, skyBox->modelMatrix));
    }
    // Within the far plane from the start camera (z -190), beyond the course,
    // and wide enough to fill the view down the street (half-width about 1.15 x distance) at any turn.
    EXPECT_TRUE(lo.z > -190.0f - 1950.0f && hi.z < -1000.0f) << ::testing::PrintToString(lo) << " " << ::testing::PrintToString(hi);
    EXPECT_TRUE(lo.x < -2000.0f && hi.x > 2000.0f && lo.y < -2000.0f && hi.y > 2000.0f);
    bool axisCovered = false;
    for (const Triangle& t : trianglesOf(*skyBox))
        axisCovered = axisCovered || (t.hi().z < -1000.0f && t.normal.z > 0.9f && covers(t, {0.0f, 0.0f}, 0, 1));
    EXPECT_TRUE(axisCovered) << "nothing of the backdrop straight down the street";
}

// No invisible walls and no ghost slabs: every collision box, within the
// street, lies inside its own convex slab, which overhangs it by at most 3.
TEST_F(World, EachObstacleBoxLiesInsideItsOwnVisibleSlab) {
    std::set<int> slabsUsed;
    for (const Slab& slab : courseSlabs) {
        const ObstacleBox& box = slab.box;
        SCOPED_TRACE(testing::Message() << "box at z " << box.zMin << (box.blocksAbove ? ", hanging" : ", standing"));
        const glm::vec3 lo(std::max(box.xMin, -streetHalfWidth), box.blocksAbove ? box.yLimit : floorY, box.zMin);
        const glm::vec3 hi(std::min(box.xMax, streetHalfWidth), box.blocksAbove ? ceilingY : box.yLimit, box.zMax);
        auto holdsTheBox = [&](const std::vector<Triangle>& faces) {
            for (const Triangle& f : faces)
                for (int k = 0; k < 8; ++k) {
                    const glm::vec3 corner(k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y, k & 4 ? hi.z : lo.z);
                    if (glm::dot(corner - f.a, glm::cross(f.b - f.a, f.c - f.a)) > 1e-3f) return false;
                }
            return true;
        };
        int found = 0;
        while (found < 18 && !holdsTheBox(trianglesOf(*grids[found]))) ++found;
        ASSERT_LT(found, 18) << "no slab around the box";
        EXPECT_TRUE(slabsUsed.insert(found).second) << "grid " << found + 1 << " holds two boxes";
        glm::vec3 slabLo(1e30f), slabHi(-1e30f);
        for (const Triangle& f : trianglesOf(*grids[found])) slabLo = glm::min(slabLo, f.lo()), slabHi = glm::max(slabHi, f.hi());
        slabLo = glm::max(slabLo, glm::vec3(-streetHalfWidth, floorY, -1e9f));  // the part within the street
        slabHi = glm::min(slabHi, glm::vec3(streetHalfWidth, ceilingY, 1e9f));
        const glm::vec3 overhang = glm::max(lo - slabLo, slabHi - hi);
        EXPECT_LE(std::max({overhang.x, overhang.y, overhang.z}), 3.0f + 1e-3f)
            << "grid " << found + 1 << " overhangs the box by " << ::testing::PrintToString(overhang);
    }
}

}  // namespace
