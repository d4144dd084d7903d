// Triangle meshes as the game imports them, and their Wavefront OBJ text.
#pragma once

#include <glm/glm.hpp>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

// One mesh with per-vertex position, normal and texture coordinate.
// Texture coordinates are stored as the game sees them after import and
// before its uv scale: (u, v) with v = 1 at the top of the picture.
struct Mesh {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;   // unit length
    std::vector<glm::vec2> uvs;
    std::vector<uint32_t> indices;    // three per triangle

    uint32_t addVertex(glm::vec3 position, glm::vec3 normal, glm::vec2 uv);
    void addTriangle(uint32_t a, uint32_t b, uint32_t c);
    // A flat four-cornered face, corners in order around its edge.
    void addQuad(const glm::vec3 corners[4], glm::vec3 normal, const glm::vec2 uvs[4]);
    // A flat three-cornered face.
    void addFlatTriangle(const glm::vec3 corners[3], glm::vec3 normal, const glm::vec2 uvs[3]);
    // Appends `other`'s vertices and triangles.
    void append(const Mesh& other);
    // Maps every position with `position` and every normal with `normal`
    // (then renormalised); winding is fixed later by orientToNormals.
    void transform(const std::function<glm::vec3(glm::vec3)>& position,
                   const std::function<glm::vec3(glm::vec3)>& normal);
    // Reorders each triangle so it runs counter-clockwise seen from the side
    // its vertex normals point to, which is what the importer expects.
    void orientToNormals();
};

// Undoes the importer's handedness change on a point or a direction: the game
// sees a file's z negated, so geometry designed in game space is written with
// z negated as well.
glm::vec3 mirrorZ(glm::vec3 v);

// Writes `mesh` as one OBJ object with v, vt, vn and f a/b/c lines; `header`
// lines become comments at the top. Texture coordinates are written with v
// flipped, since the importer flips them back. Returns false when the file
// cannot be written.
bool writeObj(const Mesh& mesh, const std::string& path, const std::string& objectName,
              const std::vector<std::string>& header);

}  // namespace assetgen
