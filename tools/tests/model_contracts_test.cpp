// The committed models, imported exactly as the game imports them and placed
// with the game's scales and start transforms, must fit the level: the cat and
// coin sizes, the street, the house rows beside it, the star backdrop down the
// street, and one obstacle slab around each collision box.
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <string>
#include <vector>

namespace {

constexpr unsigned kImportFlags = aiProcess_JoinIdenticalVertices | aiProcess_MakeLeftHanded |
                                  aiProcess_Triangulate | aiProcess_OptimizeMeshes | aiProcess_FlipUVs |
                                  aiProcess_FlipWindingOrder;
static_assert(kImportFlags == 0x1A0000E, "the game's import flags");

constexpr float kStreetHalfWidth = 10.0f, kFloorY = -4.5f, kCeilingY = 15.5f;

struct ImportedMesh {
    std::vector<glm::vec3> positions, normals;
    std::vector<glm::vec2> uvs;
    std::vector<unsigned> indices;
    unsigned meshCount = 0;
    bool hasNormals = false, hasUvs = false, allTriangles = true;
};

// The first mesh of `path`, read like the game's loadModel (scaled positions
// and uvs), with the model matrix applied to positions and normals.
ImportedMesh importPlaced(const std::string& path, float positionScale, float uvScale, const glm::mat4& model) {
    ImportedMesh out;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, kImportFlags);
    if (!scene || scene->mNumMeshes == 0) return out;
    out.meshCount = scene->mNumMeshes;
    const aiMesh* mesh = scene->mMeshes[0];
    out.hasNormals = mesh->HasNormals();
    out.hasUvs = mesh->HasTextureCoords(0);
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(model)));
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        const aiVector3D& p = mesh->mVertices[i];
        out.positions.push_back(glm::vec3(model * glm::vec4(glm::vec3(p.x, p.y, p.z) * positionScale, 1.0f)));
        if (out.hasNormals) {
            const aiVector3D& n = mesh->mNormals[i];
            out.normals.push_back(glm::normalize(normalMatrix * glm::vec3(n.x, n.y, n.z)));
        }
        if (out.hasUvs) out.uvs.push_back(glm::vec2(mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y) * uvScale);
    }
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        if (mesh->mFaces[f].mNumIndices != 3) {
            out.allTriangles = false;
            continue;
        }
        for (int k = 0; k < 3; ++k) out.indices.push_back(mesh->mFaces[f].mIndices[k]);
    }
    return out;
}

struct Triangle {
    glm::vec3 a, b, c;
    glm::vec3 normal;  // mean vertex normal, unit
    glm::vec3 lo() const { return glm::min(a, glm::min(b, c)); }
    glm::vec3 hi() const { return glm::max(a, glm::max(b, c)); }
};

std::vector<Triangle> triangles(const ImportedMesh& mesh) {
    std::vector<Triangle> out;
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const unsigned i = mesh.indices[t], j = mesh.indices[t + 1], k = mesh.indices[t + 2];
        out.push_back({mesh.positions[i], mesh.positions[j], mesh.positions[k],
                       glm::normalize(mesh.normals[i] + mesh.normals[j] + mesh.normals[k])});
    }
    return out;
}

// Triangles whose counter-clockwise side (OpenGL's front face) is not the
// side their normals point to: they would be culled where they should show.
int backFacingTriangles(const ImportedMesh& mesh) {
    int wrong = 0;
    for (const Triangle& t : triangles(mesh)) {
        const glm::vec3 geometric = glm::cross(t.b - t.a, t.c - t.a);
        if (glm::length(geometric) > 1e-9f && glm::dot(geometric, t.normal) <= 0.0f) ++wrong;
    }
    return wrong;
}

struct Bounds {
    glm::vec3 lo{1e30f}, hi{-1e30f};
};

Bounds bounds(const std::vector<glm::vec3>& points) {
    Bounds b;
    for (const glm::vec3& p : points) {
        b.lo = glm::min(b.lo, p);
        b.hi = glm::max(b.hi, p);
    }
    return b;
}

// Whether `point` lies in the projection of `t` onto the axes axisU, axisV.
bool covers(const Triangle& t, glm::vec2 point, int axisU, int axisV) {
    auto project = [&](glm::vec3 p) { return glm::vec2(p[axisU], p[axisV]); };
    const glm::vec2 a = project(t.a), b = project(t.b), c = project(t.c);
    auto edge = [](glm::vec2 p, glm::vec2 q, glm::vec2 r) { return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x); };
    const float d0 = edge(a, b, point), d1 = edge(b, c, point), d2 = edge(c, a, point);
    const bool hasNeg = d0 < 0 || d1 < 0 || d2 < 0, hasPos = d0 > 0 || d1 > 0 || d2 > 0;
    return !(hasNeg && hasPos);
}

// Whether some triangle facing along `facing` lies in the plane axis = level
// and covers `point` (given in the two other axes).
bool surfaceCovers(const std::vector<Triangle>& tris, int axis, float level, glm::vec3 facing, glm::vec2 point) {
    const int u = axis == 0 ? 2 : 0, v = axis == 1 ? 2 : 1;
    for (const Triangle& t : tris) {
        if (glm::dot(t.normal, facing) < 0.99f) continue;
        if (std::fabs(t.lo()[axis] - level) > 1e-3f || std::fabs(t.hi()[axis] - level) > 1e-3f) continue;
        if (covers(t, point, u, v)) return true;
    }
    return false;
}

const std::string kSphere = "Objekte/cat/sphere.obj";
const std::string kCoin = "Objekte/coin/coin.obj";
const std::string kCorridor = "Objekte/corridor/corridor.obj";
const std::string kGrid = "Objekte/grid/grid.obj";
const std::string kHouseRow = "Objekte/hausreihen_zusammen/hausreihe_wuerfel_alleCords.obj";
const std::string kMouse = "Objekte/mouse/mouse_new.obj";

glm::mat4 corridorMatrix() {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(-10, 8, 0));
    return glm::rotate(m, glm::radians(90.0f), glm::vec3(0, 1, 0));
}

// The grid's model matrix after construction and translate(x, y, z), built as
// the grid class builds it. Local until the game's own gridModelMatrix exists
// in the core library; switch to it then.
glm::mat4 gridMatrix(float x, float y, float z) {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(-10, 8, -220));
    m = glm::rotate(m, glm::radians(90.0f), glm::vec3(1, 0, 0));
    return glm::translate(m, glm::vec3(x, y, z));
}

TEST(Models, AreSingleTriangleMeshesWithNormalsUvsAndOutwardWinding) {
    for (const std::string& path : {kSphere, kCoin, kCorridor, kGrid, kHouseRow, kMouse}) {
        SCOPED_TRACE(path);
        const ImportedMesh mesh = importPlaced(path, 1.0f, 1.0f, glm::mat4(1.0f));
        ASSERT_EQ(mesh.meshCount, 1u);
        EXPECT_TRUE(mesh.hasNormals);
        EXPECT_TRUE(mesh.hasUvs);
        EXPECT_TRUE(mesh.allTriangles);
        EXPECT_GT(mesh.indices.size(), 0u);
        EXPECT_EQ(backFacingTriangles(mesh), 0);
    }
}

TEST(Models, SphereMakesACatOf1Point8AndBeadsOf0Point2) {
    const Bounds cat = bounds(importPlaced(kSphere, 0.0009f, 1.0f, glm::mat4(1.0f)).positions);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(cat.hi[axis] - cat.lo[axis], 1.8f, 0.01f);
        EXPECT_NEAR(cat.hi[axis] + cat.lo[axis], 0.0f, 0.01f);
    }
    const Bounds bead = bounds(importPlaced(kSphere, 0.0001f, 1.0f, glm::mat4(1.0f)).positions);
    EXPECT_NEAR(bead.hi.x - bead.lo.x, 0.2f, 0.002f);
}

TEST(Models, CoinIsAnUprightDiscTwoUnitsAcrossFacingZ) {
    const ImportedMesh coin = importPlaced(kCoin, 0.5f, 30.0f, glm::mat4(1.0f));
    const Bounds b = bounds(coin.positions);
    EXPECT_NEAR(b.hi.x - b.lo.x, 2.0f, 0.02f);
    EXPECT_NEAR(b.hi.y - b.lo.y, 2.0f, 0.02f);
    EXPECT_LT(b.hi.z - b.lo.z, 0.4f);
    // After uv x 30 each face shows the coin picture once.
    for (const glm::vec2& uv : coin.uvs) {
        EXPECT_GE(uv.x, -1e-3f);
        EXPECT_LE(uv.x, 1.001f);
        EXPECT_GE(uv.y, -1e-3f);
        EXPECT_LE(uv.y, 1.001f);
    }
}

TEST(Models, CorridorIsTheStreetWithInwardFloorAndWallsOpenAbove) {
    const ImportedMesh corridor = importPlaced(kCorridor, 2.0f, 300.0f, corridorMatrix());
    const std::vector<Triangle> tris = triangles(corridor);
    const Bounds b = bounds(corridor.positions);
    EXPECT_NEAR(b.lo.y, kFloorY, 1e-3f);
    EXPECT_NEAR(b.hi.y, kCeilingY, 1e-3f);
    EXPECT_LE(b.lo.z, -600.0f);
    EXPECT_NEAR(b.hi.z, 0.0f, 1e-3f);
    for (float z = -1.0f; z > -600.0f; z -= 7.3f) {
        for (float x = -9.9f; x < 10.0f; x += 1.7f)
            ASSERT_TRUE(surfaceCovers(tris, 1, kFloorY, {0, 1, 0}, {x, z})) << "floor hole at " << x << ", " << z;
        for (float y = -4.4f; y < kCeilingY; y += 1.9f) {
            ASSERT_TRUE(surfaceCovers(tris, 0, -kStreetHalfWidth, {1, 0, 0}, {z, y})) << "left wall at " << y << ", " << z;
            ASSERT_TRUE(surfaceCovers(tris, 0, kStreetHalfWidth, {-1, 0, 0}, {z, y})) << "right wall at " << y << ", " << z;
        }
    }
    // Inside the street there is only the floor and the closing wall behind the start.
    for (const Triangle& t : tris) {
        const glm::vec3 centre = (t.a + t.b + t.c) / 3.0f;
        if (std::fabs(centre.x) >= kStreetHalfWidth - 1e-3f) continue;
        const bool onFloor = std::fabs(t.hi().y - kFloorY) < 1e-3f;
        const bool behindStart = std::fabs(t.lo().z) < 1e-3f && std::fabs(t.hi().z) < 1e-3f;
        EXPECT_TRUE(onFloor || behindStart) << "face inside the street at " << centre.x << ", " << centre.y << ", " << centre.z;
    }
    // uv x 300 repeats the metal a few times per 10 units along the street, not hundreds.
    const Bounds uv = bounds([&] {
        std::vector<glm::vec3> v;
        for (const glm::vec2& t : corridor.uvs) v.push_back(glm::vec3(t, 0.0f));
        return v;
    }());
    const float repeatsAlong = std::max(uv.hi.x - uv.lo.x, uv.hi.y - uv.lo.y);
    EXPECT_GT(repeatsAlong, 620.0f / 10.0f);
    EXPECT_LT(repeatsAlong, 620.0f);
}

TEST(Models, HouseRowLinesBothSidesOfTheCourseOutsideTheStreet) {
    const ImportedMesh row = importPlaced(kHouseRow, 180.0f, 300.0f, glm::translate(glm::mat4(1.0f), glm::vec3(-500, 0, -3030)));
    std::vector<Triangle> houses;
    for (const Triangle& t : triangles(row))
        if (t.hi().z > -1000.0f) houses.push_back(t);
    ASSERT_FALSE(houses.empty());
    for (const Triangle& t : houses) {
        const bool clear = t.lo().x >= 12.0f - 1e-3f || t.hi().x <= -12.0f + 1e-3f;
        ASSERT_TRUE(clear) << "house face reaches into the street near z " << t.lo().z;
        EXPECT_GE(t.lo().y, kFloorY - 1e-3f);
        EXPECT_LE(t.hi().y, kFloorY + 60.0f);
    }
    // Along the course each side is built up, with at most narrow alleys.
    for (float side : {-1.0f, 1.0f}) {
        float gap = 0.0f, widestGap = 0.0f;
        for (float z = -150.0f; z >= -650.0f; z -= 0.5f) {
            float top = -1e9f, bottom = 1e9f, nearest = 1e9f;
            for (const Triangle& t : houses) {
                if (t.lo().z > z || t.hi().z < z || t.lo().x * side < 0.0f) continue;
                top = std::max(top, t.hi().y);
                bottom = std::min(bottom, t.lo().y);
                nearest = std::min(nearest, std::min(std::fabs(t.lo().x), std::fabs(t.hi().x)));
            }
            if (top < bottom) {
                widestGap = std::max(widestGap, gap += 0.5f);
                continue;
            }
            gap = 0.0f;
            SCOPED_TRACE(testing::Message() << "z " << z << " side " << side);
            EXPECT_GT(top, kCeilingY + 2.0f);  // shows above the corridor walls
            EXPECT_NEAR(bottom, kFloorY, 0.01f);
            EXPECT_LT(nearest, 16.0f);
        }
        EXPECT_LE(widestGap, 5.0f) << "side " << side;
    }
}

TEST(Models, HouseRowFileAlsoHoldsAStarBackdropDownTheStreet) {
    // The sky copy: x 250 at translate(-1000, 700, -2300), turning about the world z axis.
    const ImportedMesh sky = importPlaced(kHouseRow, 250.0f, 15.0f, glm::translate(glm::mat4(1.0f), glm::vec3(-1000, 700, -2300)));
    const ImportedMesh row = importPlaced(kHouseRow, 180.0f, 300.0f, glm::translate(glm::mat4(1.0f), glm::vec3(-500, 0, -3030)));
    ASSERT_EQ(sky.positions.size(), row.positions.size());
    std::vector<glm::vec3> backdrop;
    for (size_t i = 0; i < sky.positions.size(); ++i) {
        // What the house row draws within the far plane (2000) of a camera on
        // the course (z -190 .. -560) must be houses, not backdrop pieces.
        if (row.positions[i].z < -1000.0f) {
            EXPECT_LT(row.positions[i].z, -2560.0f - 50.0f);
            backdrop.push_back(sky.positions[i]);
        }
    }
    ASSERT_FALSE(backdrop.empty());
    const Bounds b = bounds(backdrop);
    // Within the far plane from the start camera (z -190) and beyond the course.
    EXPECT_GT(b.lo.z, -190.0f - 1950.0f);
    EXPECT_LT(b.hi.z, -1000.0f);
    // Centred on the street axis, wide enough to fill the view down the street
    // (half-width about 1.15 x distance) at any turn.
    EXPECT_LT(b.lo.x, -2000.0f);
    EXPECT_GT(b.hi.x, 2000.0f);
    EXPECT_LT(b.lo.y, -2000.0f);
    EXPECT_GT(b.hi.y, 2000.0f);
    bool axisCovered = false;
    for (const Triangle& t : triangles(sky))
        if (t.hi().z < -1000.0f && covers(t, {0.0f, 0.0f}, 0, 1) && t.normal.z > 0.9f) axisCovered = true;
    EXPECT_TRUE(axisCovered);
}

// Collision box of an obstacle in world space, already limited to the street.
struct Box {
    float zLo, zHi, xLo, xHi, yLo, yHi;
};

// The game's obstacle table; a y condition "> 8" spans up to the ceiling,
// "< 7" and "< 5" down to the floor.
const Box kBoxes[18] = {
    {-311, -309, -5.5f, 5.5f, 8, kCeilingY},   {-371, -369, -11.5f, 1.5f, 8, kCeilingY},
    {-281, -279, -11.5f, 1.5f, 8, kCeilingY},  {-421, -419, -11.5f, 1.5f, 8, kCeilingY},
    {-491, -489, -5.5f, 5.5f, 8, kCeilingY},   {-531, -529, -5.5f, 5.5f, 8, kCeilingY},
    {-221, -219, -8.5f, 3.5f, kFloorY, 7},     {-251, -249, -3.5f, 8.5f, kFloorY, 7},
    {-281, -279, -8.5f, 3.5f, kFloorY, 7},     {-371, -369, -3.5f, 8.5f, kFloorY, 7},
    {-391, -389, -5.5f, 5.5f, kFloorY, 5},     {-411, -409, -8.5f, 3.5f, kFloorY, 7},
    {-421, -419, -3.5f, 8.5f, kFloorY, 5},     {-441, -439, -5.5f, 5.5f, kFloorY, 7},
    {-461, -459, -3.5f, 8.5f, kFloorY, 7},     {-471, -469, -8.5f, 3.5f, kFloorY, 5},
    {-491, -489, -3.5f, 8.5f, kFloorY, 5},     {-511, -509, -8.5f, 3.5f, kFloorY, 7},
};

// The grid placements, in creation order, and the box (1-based) each one covers.
struct Placement {
    float x, y, z;
    int box;
};
const Placement kPlacements[18] = {
    {1, 0, 0, 7},         {1, -60, 0, 9},      {9, -30, 0, 8},       {1, -60, -10, 3},   {4.5f, -90, -10, 1},
    {1, -150, -10, 2},    {9, -150, 0, 10},    {4.5f, -170, 2, 11},  {1, -190, 0, 12},   {1, -200, -10, 4},
    {9, -200, 2, 13},     {4.5f, -220, 0, 14}, {9, -240, 0, 15},     {1, -250, 2, 16},   {4.5f, -270, -10, 5},
    {9, -270, 2, 17},     {1, -290, 0, 18},    {4.5f, -310, -10, 6},
};

TEST(Models, EachObstacleBoxLiesInsideItsVisibleSlabWithLittleOverhang) {
    bool boxUsed[18] = {};
    float largestOverhang = 0.0f;
    for (int g = 0; g < 18; ++g) {
        const Placement& p = kPlacements[g];
        SCOPED_TRACE(testing::Message() << "grid" << g + 1 << " / box " << p.box);
        ASSERT_FALSE(boxUsed[p.box - 1]);
        boxUsed[p.box - 1] = true;
        const Box box = kBoxes[p.box - 1];
        const ImportedMesh slab = importPlaced(kGrid, 4.0f, 3.0f, gridMatrix(p.x, p.y, p.z));
        const std::vector<Triangle> faces = triangles(slab);
        // No invisible wall: every corner of the box (within the street) is
        // inside the convex slab, behind each of its faces.
        const float boxXLo = std::max(box.xLo, -kStreetHalfWidth), boxXHi = std::min(box.xHi, kStreetHalfWidth);
        for (int k = 0; k < 8; ++k) {
            const glm::vec3 corner(k & 1 ? boxXHi : boxXLo, k & 2 ? box.yHi : box.yLo, k & 4 ? box.zHi : box.zLo);
            for (const Triangle& f : faces)
                ASSERT_LE(glm::dot(corner - f.a, glm::cross(f.b - f.a, f.c - f.a)), 1e-3f)
                    << "box corner " << corner.x << ", " << corner.y << ", " << corner.z << " outside the slab";
        }
        // Overhang of the slab, limited to the street, beyond the box on each side.
        Bounds s = bounds(slab.positions);
        s.lo = glm::max(s.lo, glm::vec3(-kStreetHalfWidth, kFloorY, -1e9f));
        s.hi = glm::min(s.hi, glm::vec3(kStreetHalfWidth, kCeilingY, 1e9f));
        const float overhang[6] = {boxXLo - s.lo.x, s.hi.x - boxXHi, box.yLo - s.lo.y,
                                   s.hi.y - box.yHi, box.zLo - s.lo.z, s.hi.z - box.zHi};
        for (float o : overhang) {
            EXPECT_LE(o, 3.0f + 1e-3f);
            largestOverhang = std::max(largestOverhang, o);
        }
    }
    EXPECT_NEAR(largestOverhang, 2.625f, 1e-3f);  // the figure the slab was designed for
}

TEST(Models, MouseIsSmallAndNosesAlongItsWalkingDirection) {
    const ImportedMesh mouse = importPlaced(kMouse, 5.0f, 30.0f, glm::mat4(1.0f));
    const Bounds b = bounds(mouse.positions);
    EXPECT_GT(b.hi.z - b.lo.z, 1.5f);
    EXPECT_LT(b.hi.z - b.lo.z, 3.0f);
    EXPECT_NEAR(b.lo.y, 0.0f, 0.01f);  // stands on its own origin
    // It walks along its own -z, so the nose, at head height, is its lowest-z point.
    const glm::vec3 nose = *std::min_element(mouse.positions.begin(), mouse.positions.end(),
                                             [](glm::vec3 a, glm::vec3 c) { return a.z < c.z; });
    EXPECT_GT(nose.y, 0.25f);
}

}  // namespace
