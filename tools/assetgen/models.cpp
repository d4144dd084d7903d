// Models of the game. The importer negates z (left-handed conversion) and
// reverses the winding, so a file written counter-clockwise around outward
// normals stays front-facing in the game, but mirrored in z. The placed models
// (corridor, grids, house row) are therefore designed in game world
// coordinates and mapped back into file coordinates through the exact inverse
// of "scale, mirror z, then the object's start transform".
//
// Obstacle slabs (grid.obj) and the street (corridor.obj) are built around the
// course of base/course.h: the slab model fills slabLow .. slabHigh around its
// origin, the corridor's floor and walls stand where the street is.
#include "models.h"

#include <cmath>
#include <glm/gtc/constants.hpp>
#include <cstdio>
#include <functional>

#include "base/course.h"
#include "mesh.h"
#include "noise.h"

namespace assetgen {
namespace {

constexpr float kPi = glm::pi<float>();

struct SurfacePoint {
    glm::vec3 position, normal;
    glm::vec2 uv;
};

// A (rows+1) x (cols+1) vertex grid from `at(i, j)`, two triangles per cell;
// triangles that collapse to a line or a point (poles, tips) are dropped.
void addSurface(Mesh& mesh, int rows, int cols, const std::function<SurfacePoint(int, int)>& at) {
    const uint32_t base = static_cast<uint32_t>(mesh.positions.size());
    for (int i = 0; i <= rows; ++i)
        for (int j = 0; j <= cols; ++j) {
            const SurfacePoint p = at(i, j);
            mesh.addVertex(p.position, p.normal, p.uv);
        }
    auto index = [&](int i, int j) { return base + static_cast<uint32_t>(i * (cols + 1) + j); };
    auto addIfProper = [&](uint32_t a, uint32_t b, uint32_t c) {
        const glm::vec3 e = glm::cross(mesh.positions[b] - mesh.positions[a], mesh.positions[c] - mesh.positions[a]);
        const float scale = glm::length(mesh.positions[b] - mesh.positions[a]) + glm::length(mesh.positions[c] - mesh.positions[a]);
        if (glm::length(e) > 1e-6f * scale * scale) mesh.addTriangle(a, b, c);
    };
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            addIfProper(index(i, j), index(i + 1, j), index(i + 1, j + 1));
            addIfProper(index(i, j), index(i + 1, j + 1), index(i, j + 1));
        }
}

// Ellipsoid with smooth normals; uvs wrap once around and once pole to pole,
// multiplied by `uvSpan`.
void addEllipsoid(Mesh& mesh, glm::vec3 centre, glm::vec3 radii, int rings, int segments, float uvSpan) {
    addSurface(mesh, rings, segments, [=](int i, int j) {
        const float phi = kPi * i / rings, theta = 2.0f * kPi * j / segments;
        const glm::vec3 unit(std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta));
        const glm::vec3 normal = glm::normalize(unit / radii);
        return SurfacePoint{centre + unit * radii, normal,
                            glm::vec2(uvSpan * j / segments, uvSpan * (1.0f - static_cast<float>(i) / rings))};
    });
}

// ---------------------------------------------------------------- sphere
// Radius 1000: the cat (x 0.0009) is 1.8 across, the beads (x 0.0001) 0.2.
// The coarse one stands in for both at the lowest quality, where the cat is
// some 30 pixels across and a bead 3.
Mesh sphereWith(int rings, int segments) {
    Mesh mesh;
    addEllipsoid(mesh, glm::vec3(0.0f), glm::vec3(1000.0f), rings, segments, 1.0f);
    return mesh;
}
Mesh sphereModel() { return sphereWith(32, 64); }
Mesh coarseSphereModel() { return sphereWith(12, 24); }

// ---------------------------------------------------------------- coin
// Disc of radius 2 about the z axis (1 unit after x 0.5) with a raised rim.
// Each face maps onto the coin picture of coin.jpg exactly once after the
// game's uv x 30; the picture reads unmirrored from either side in the game.
Mesh coinWith(int segments) {
    constexpr float uvScale = 30.0f, pictureRadius = 0.47f, coinRadius = 2.0f;
    // (radius, z) profile from the centre of the front face round to the back.
    const glm::vec2 profile[] = {{0.0f, 0.2f},   {1.55f, 0.2f},  {1.7f, 0.27f}, {2.0f, 0.27f},
                                 {2.0f, -0.27f}, {1.7f, -0.27f}, {1.55f, -0.2f}, {0.0f, -0.2f}};
    Mesh mesh;
    for (int s = 0; s + 1 < 8; ++s) {
        const glm::vec2 a = profile[s], b = profile[s + 1];
        const glm::vec2 along = b - a;
        const glm::vec2 outward = glm::normalize(glm::vec2(-along.y, along.x));  // (radial, z)
        const bool rimBand = a.x == coinRadius && b.x == coinRadius;
        addSurface(mesh, 1, segments, [&](int i, int j) {
            const glm::vec2 q = i == 0 ? a : b;
            const float theta = 2.0f * kPi * j / segments;
            const float c = std::cos(theta), sn = std::sin(theta);
            const glm::vec3 position(q.x * c, q.x * sn, q.y);
            const glm::vec3 normal(outward.x * c, outward.x * sn, outward.y);
            glm::vec2 picture;
            if (rimBand) {
                // The plain gold strip along the picture's bottom edge.
                picture = glm::vec2(static_cast<float>(j) / segments, 0.005f + 0.01f * i);
            } else {
                // The game sees z negated: the file's +z face is watched from
                // the game's -z side, where the file's +x is on the left.
                const float k = pictureRadius / coinRadius;
                const float side = position.z > 0.0f ? -1.0f : 1.0f;
                picture = glm::vec2(0.5f + side * position.x * k, 0.5f + position.y * k);
            }
            return SurfacePoint{position, normal, picture / uvScale};
        });
    }
    return mesh;
}
Mesh coinModel() { return coinWith(64); }
// For the lowest quality: a coin is at most a few hundred pixels across there.
Mesh coarseCoinModel() { return coinWith(24); }

// ---------------------------------------------------------------- corridor
// Street: the floor between the walls' inner faces, walls up to their top
// with tops as wide as the walls are thick, a closing wall behind the start
// at z 0, open above and at the far end. The walls have no outer faces: the camera
// trails the cat by 10 units and swings outside the street when the player
// looks sideways, and from there it must see through the wall to the cat.
// File point p lands at (-10 - 2 pz, 8 + 2 py, -2 px) (x 2, mirror z, rotate
// 90 deg about y, translate to corridorOrigin, (-10, 8, 0)).
glm::vec3 corridorToFile(glm::vec3 w) {
    const glm::vec3 o = corridorOrigin;
    return {-(w.z - o.z) / 2.0f, (w.y - o.y) / 2.0f, -(w.x - o.x) / 2.0f};
}
glm::vec3 corridorNormalToFile(glm::vec3 n) { return {-n.z, n.y, -n.x}; }

// An axis-aligned rectangle from corner `lo` to corner `hi` (equal in one
// axis); uvs are the two spanned world coordinates times `uvPerUnit`.
void addRect(Mesh& mesh, glm::vec3 lo, glm::vec3 hi, glm::vec3 normal, float uvPerUnit) {
    const int flat = lo.x == hi.x ? 0 : lo.y == hi.y ? 1 : 2;
    // Spanned axes, the horizontal one first so textures run along walls.
    const int a = flat == 2 ? 0 : 2, b = flat == 1 ? 0 : 1;
    glm::vec3 corners[4];
    glm::vec2 uv[4];
    for (int k = 0; k < 4; ++k) {
        glm::vec3 p = lo;
        p[a] = (k == 1 || k == 2) ? hi[a] : lo[a];
        p[b] = k >= 2 ? hi[b] : lo[b];
        corners[k] = p;
        uv[k] = glm::vec2(p[a], p[b]) * uvPerUnit;
    }
    mesh.addQuad(corners, normal, uv);
}

Mesh corridorModel() {
    // metall.jpg once per 4 world units after the game's uv x 300.
    constexpr float uvPerUnit = 1.0f / (4.0f * 300.0f);
    constexpr float floorY = streetFloorY, topY = streetWallTopY, inner = streetWallX;
    constexpr float outer = streetWallX + streetWallThickness, length = -streetEndZ, piece = 20.0f;
    Mesh world;
    for (int k = 0; k * piece < length; ++k) {
        const float z0 = -k * piece, z1 = -(k + 1) * piece;
        addRect(world, {-inner, floorY, z0}, {inner, floorY, z1}, {0, 1, 0}, uvPerUnit);
        for (float side : {-1.0f, 1.0f}) {
            addRect(world, {side * inner, floorY, z0}, {side * inner, topY, z1}, {-side, 0, 0}, uvPerUnit);
            addRect(world, {side * inner, topY, z0}, {side * outer, topY, z1}, {0, 1, 0}, uvPerUnit);
        }
    }
    for (float side : {-1.0f, 1.0f}) {
        addRect(world, {side * inner, floorY, 0.0f}, {side * outer, topY, 0.0f}, {0, 0, 1}, uvPerUnit);
        addRect(world, {side * inner, floorY, -length}, {side * outer, topY, -length}, {0, 0, -1}, uvPerUnit);
    }
    addRect(world, {-inner, floorY, 0.0f}, {inner, topY, 0.0f}, {0, 0, -1}, uvPerUnit);
    world.transform(corridorToFile, corridorNormalToFile);
    return world;
}

// ---------------------------------------------------------------- grid
// A placed grid's matrix is translate(slabFrameOrigin) * rotate(90 deg, x) *
// translate(slabOffset(origin)), so a file point p lands at origin + (4 px,
// 4 pz, 4 py) (x 4, mirror z, turn upright).
glm::vec3 gridToFile(glm::vec3 w) { return {w.x / 4.0f, w.z / 4.0f, w.y / 4.0f}; }
glm::vec3 gridNormalToFile(glm::vec3 n) { return {n.x, n.z, n.y}; }

// The slab fills slabLow .. slabHigh around its origin. Its half-thickness
// shrinks by a quarter unit from bottom to top, so where a hanging and a
// standing slab overlap in one plane the hanging one's faces lie in front of
// the standing one's instead of fighting over the same depth.
Mesh gridModel() {
    constexpr float x0 = slabLow.x, x1 = slabHigh.x, y0 = slabLow.y, y1 = slabHigh.y;
    constexpr float halfBottom = slabHigh.z, halfTop = slabHigh.z - 0.25f;
    // metallOld.jpg spread once over the whole face (after the game's uv x 3):
    // repeated, the mirrored wrap would show rust patches as mirror images.
    constexpr float uvPerUnit = 1.0f / ((x1 - x0) * 3.0f);
    const float lean = (halfBottom - halfTop) / (y1 - y0);  // slope of the front face
    Mesh world;
    auto corner = [&](bool right, bool top, bool front) {
        return glm::vec3(right ? x1 : x0, top ? y1 : y0, (front ? 1.0f : -1.0f) * (top ? halfTop : halfBottom));
    };
    for (bool front : {true, false}) {
        const float s = front ? 1.0f : -1.0f;
        const glm::vec3 c[4] = {corner(false, false, front), corner(true, false, front), corner(true, true, front),
                                corner(false, true, front)};
        glm::vec2 uv[4];
        for (int k = 0; k < 4; ++k) uv[k] = glm::vec2(s * (c[k].x - x0), c[k].y - y0) * uvPerUnit;
        world.addQuad(c, glm::vec3(0.0f, lean, s), uv);
    }
    for (bool top : {true, false}) {
        const glm::vec3 c[4] = {corner(false, top, true), corner(true, top, true), corner(true, top, false),
                                corner(false, top, false)};
        glm::vec2 uv[4];
        for (int k = 0; k < 4; ++k) uv[k] = glm::vec2(c[k].x - x0, c[k].z) * uvPerUnit;
        world.addQuad(c, glm::vec3(0.0f, top ? 1.0f : -1.0f, 0.0f), uv);
    }
    for (bool right : {true, false}) {
        const glm::vec3 c[4] = {corner(right, false, true), corner(right, true, true), corner(right, true, false),
                                corner(right, false, false)};
        glm::vec2 uv[4];
        for (int k = 0; k < 4; ++k) uv[k] = glm::vec2(c[k].z, c[k].y - y0) * uvPerUnit;
        world.addQuad(c, glm::vec3(right ? 1.0f : -1.0f, 0.0f, 0.0f), uv);
    }
    world.transform(gridToFile, gridNormalToFile);
    return world;
}

// ---------------------------------------------------------------- house row
// One file, two uses. As the house row (x 180, translate(-500, 0, -3030))
// file point p lands at (-500 + 180 px, 180 py, -3030 - 180 pz); as the star
// backdrop (x 250, translate(-1000, 700, -2300), turning about the world z
// axis) at (-1000 + 250 px, 700 + 250 py, -2300 - 250 pz). The houses are
// designed in the first frame, the backdrop in the second. Each use's copy of
// the other part lands outside the backdrop's sphere (the houses' copy of the
// sphere, 0.72 its size, at least 900 from its centre), where the sphere hides it.
glm::vec3 houseRowToFile(glm::vec3 w) { return {(w.x + 500.0f) / 180.0f, w.y / 180.0f, -(w.z + 3030.0f) / 180.0f}; }
glm::vec3 backdropToFile(glm::vec3 w) {
    return {(w.x + 1000.0f) / 250.0f, (w.y - 700.0f) / 250.0f, -(w.z + 2300.0f) / 250.0f};
}

// A house on the street side `side` (-1 left, +1 right): walls from the floor
// up to `wallTop`, a gable roof `roofHeight` high whose ridge runs along z
// (parallel to the street) or along x.
struct House {
    float side, front, depth;  // front: distance of the street-facing wall from x = 0
    float zNear, zFar;         // zNear > zFar
    float wallTop, roofHeight;
    bool ridgeAlongZ;
};

void addHouse(Mesh& mesh, const House& h, float floorY, float uvPerUnit) {
    const float xa = h.side * h.front, xb = h.side * (h.front + h.depth);
    const float xMin = std::fmin(xa, xb), xMax = std::fmax(xa, xb);
    const float zMin = h.zFar, zMax = h.zNear;
    // Four walls.
    addRect(mesh, {xMin, floorY, zMax}, {xMax, h.wallTop, zMax}, {0, 0, 1}, uvPerUnit);
    addRect(mesh, {xMin, floorY, zMin}, {xMax, h.wallTop, zMin}, {0, 0, -1}, uvPerUnit);
    addRect(mesh, {xMin, floorY, zMin}, {xMin, h.wallTop, zMax}, {-1, 0, 0}, uvPerUnit);
    addRect(mesh, {xMax, floorY, zMin}, {xMax, h.wallTop, zMax}, {1, 0, 0}, uvPerUnit);
    const float ridgeY = h.wallTop + h.roofHeight;
    if (h.ridgeAlongZ) {
        const float xMid = 0.5f * (xMin + xMax), half = 0.5f * (xMax - xMin);
        const float slope = std::hypot(half, h.roofHeight);
        for (float s : {-1.0f, 1.0f}) {
            const float xEave = s < 0 ? xMin : xMax;
            const glm::vec3 c[4] = {{xEave, h.wallTop, zMin}, {xEave, h.wallTop, zMax}, {xMid, ridgeY, zMax}, {xMid, ridgeY, zMin}};
            const glm::vec2 uv[4] = {glm::vec2(zMin, 0) * uvPerUnit, glm::vec2(zMax, 0) * uvPerUnit,
                                     glm::vec2(zMax, slope) * uvPerUnit, glm::vec2(zMin, slope) * uvPerUnit};
            mesh.addQuad(c, {s * h.roofHeight, half, 0.0f}, uv);
        }
        for (float z : {zMin, zMax}) {
            const glm::vec3 c[3] = {{xMin, h.wallTop, z}, {xMax, h.wallTop, z}, {xMid, ridgeY, z}};
            const glm::vec2 uv[3] = {glm::vec2(xMin, h.wallTop) * uvPerUnit, glm::vec2(xMax, h.wallTop) * uvPerUnit,
                                     glm::vec2(xMid, ridgeY) * uvPerUnit};
            mesh.addFlatTriangle(c, {0, 0, z == zMax ? 1.0f : -1.0f}, uv);
        }
    } else {
        const float zMid = 0.5f * (zMin + zMax), half = 0.5f * (zMax - zMin);
        const float slope = std::hypot(half, h.roofHeight);
        for (float s : {-1.0f, 1.0f}) {
            const float zEave = s < 0 ? zMin : zMax;
            const glm::vec3 c[4] = {{xMin, h.wallTop, zEave}, {xMax, h.wallTop, zEave}, {xMax, ridgeY, zMid}, {xMin, ridgeY, zMid}};
            const glm::vec2 uv[4] = {glm::vec2(xMin, 0) * uvPerUnit, glm::vec2(xMax, 0) * uvPerUnit,
                                     glm::vec2(xMax, slope) * uvPerUnit, glm::vec2(xMin, slope) * uvPerUnit};
            mesh.addQuad(c, {0.0f, half, s * h.roofHeight}, uv);
        }
        for (float x : {xMin, xMax}) {
            const glm::vec3 c[3] = {{x, h.wallTop, zMin}, {x, h.wallTop, zMax}, {x, ridgeY, zMid}};
            const glm::vec2 uv[3] = {glm::vec2(zMin, h.wallTop) * uvPerUnit, glm::vec2(zMax, h.wallTop) * uvPerUnit,
                                     glm::vec2(zMid, ridgeY) * uvPerUnit};
            mesh.addFlatTriangle(c, {x == xMax ? 1.0f : -1.0f, 0, 0}, uv);
        }
    }
}

// Both sides of the street from z -80 to about -680: fronts 12 to 14.5 units
// from the axis (the corridor walls' tops reach 10.5), bottoms on the
// street floor, walls 22 to 48 high plus roofs of 4 to 9, so the tops show
// above the 20-unit corridor walls.
Mesh houseRowPart() {
    constexpr float floorY = streetFloorY, start = -80.0f, end = -680.0f;
    // grass.jpg once per 6 world units after the game's uv x 300.
    constexpr float uvPerUnit = 1.0f / (6.0f * 300.0f);
    Mesh world;
    Rng rng(2024);
    for (float side : {-1.0f, 1.0f}) {
        float z = start;
        while (z > end) {
            House h;
            h.side = side;
            h.front = rng.range(12.0f, 14.5f);
            h.depth = rng.range(9.0f, 15.0f);
            h.zNear = z;
            h.zFar = z - rng.range(9.0f, 17.0f);
            h.wallTop = floorY + rng.range(22.0f, 48.0f);
            h.roofHeight = rng.range(4.0f, 9.0f);
            h.ridgeAlongZ = rng.unit() < 0.5f;
            addHouse(world, h, floorY, uvPerUnit);
            z = h.zFar - (rng.unit() < 0.3f ? rng.range(1.5f, 4.0f) : 0.5f);
        }
    }
    world.transform(houseRowToFile, mirrorZ);
    return world;
}

// The backdrop: a sphere of stars around the whole world (skyCentre,
// skyRadius), facing inwards. Each of the six faces of a cube is divided into
// a grid pushed out onto the sphere and shows sterne.jpg 4 times across, after
// the game's uv x 15: stars of even size in every direction, no pinched poles.
Mesh backdropPart() {
    constexpr int cells = 12;
    constexpr float uvPerFace = 4.0f / 15.0f;
    Mesh world;
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {-1.0f, 1.0f}) {
            const int u = (axis + 1) % 3, v = (axis + 2) % 3;
            addSurface(world, cells, cells, [&](int i, int j) {
                glm::vec3 cube(0.0f);
                cube[axis] = side;
                cube[u] = 2.0f * i / cells - 1.0f;
                cube[v] = 2.0f * j / cells - 1.0f;
                const glm::vec3 out = glm::normalize(cube);
                return SurfacePoint{skyCentre + skyRadius * out, -out,
                                    glm::vec2(i, j) * (uvPerFace / cells)};
            });
        }
    world.transform(backdropToFile, mirrorZ);
    return world;
}

Mesh houseRowModel() {
    Mesh mesh = houseRowPart();
    mesh.append(backdropPart());
    return mesh;
}

// ---------------------------------------------------------------- mouse
// About 0.45 long (2.2 after x 5), nose towards file +z, which the game sees
// as the mouse's -z, the direction it walks in.
Mesh mouseModel() {
    constexpr float uvSpan = 1.0f / 30.0f;  // fur/whatever texture once after uv x 30
    Mesh mesh;
    addEllipsoid(mesh, {0.0f, 0.05f, 0.0f}, {0.055f, 0.05f, 0.1f}, 16, 24, uvSpan);    // body
    addEllipsoid(mesh, {0.0f, 0.07f, 0.11f}, {0.04f, 0.038f, 0.05f}, 12, 20, uvSpan);  // head
    addEllipsoid(mesh, {0.0f, 0.07f, 0.162f}, {0.012f, 0.012f, 0.012f}, 6, 10, uvSpan);  // nose
    for (float s : {-1.0f, 1.0f})
        addEllipsoid(mesh, {s * 0.032f, 0.112f, 0.095f}, {0.024f, 0.026f, 0.006f}, 8, 12, uvSpan);  // ears
    // Tail: a tapering tube along a curve from the rump, ending in a point.
    const glm::vec3 a(0.0f, 0.04f, -0.09f), b(0.0f, 0.0f, -0.2f), c(0.0f, 0.03f, -0.3f);
    constexpr int along = 12, around = 8;
    addSurface(mesh, along, around, [&](int i, int j) {
        const float t = static_cast<float>(i) / along;
        const glm::vec3 centre = (1 - t) * (1 - t) * a + 2 * (1 - t) * t * b + t * t * c;
        const glm::vec3 tangent = glm::normalize(2 * (1 - t) * (b - a) + 2 * t * (c - b));
        const glm::vec3 side(1.0f, 0.0f, 0.0f);
        const glm::vec3 up = glm::normalize(glm::cross(tangent, side));
        const float theta = 2.0f * kPi * j / around;
        const glm::vec3 radial = std::cos(theta) * side + std::sin(theta) * up;
        const float r = 0.009f * (1.0f - t);
        return SurfacePoint{centre + r * radial, radial, glm::vec2(static_cast<float>(j) / around, t) * uvSpan};
    });
    return mesh;
}

struct ModelJob {
    const char* path;
    const char* name;
    const char* purpose;
    Mesh (*make)();
};

}  // namespace

bool writeModels(const std::string& objekteDir) {
    const ModelJob jobs[] = {
        {"cat/sphere.obj", "sphere", "UV sphere of radius 1000 (cat x 0.0009, beads x 0.0001)", sphereModel},
        {"cat/sphere_coarse.obj", "sphere_coarse", "the sphere with fewer faces, for the lowest quality", coarseSphereModel},
        {"coin/coin.obj", "coin", "coin of radius 2 about the z axis (x 0.5, uv x 30)", coinModel},
        {"coin/coin_coarse.obj", "coin_coarse", "the coin with fewer faces, for the lowest quality", coarseCoinModel},
        {"corridor/corridor.obj", "corridor", "street floor and walls (x 2, uv x 300)", corridorModel},
        {"grid/grid.obj", "grid", "obstacle slab (x 4, uv x 3)", gridModel},
        {"hausreihen_zusammen/hausreihe_wuerfel_alleCords.obj", "hausreihe",
         "house rows (x 180, uv x 300) and star backdrop (x 250, uv x 15)", houseRowModel},
        {"mouse/mouse_new.obj", "mouse", "small mouse (x 5, uv x 30)", mouseModel},
    };
    for (const ModelJob& job : jobs) {
        Mesh mesh = job.make();
        mesh.orientToNormals();
        const std::string path = objekteDir + "/" + job.path;
        if (!writeObj(mesh, path, job.name, {"KIVO model, generated by kivo_assetgen: do not edit by hand.", job.purpose})) {
            std::fprintf(stderr, "kivo_assetgen: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace assetgen
