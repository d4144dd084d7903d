// Many copies of one mesh in a single draw call. Below full quality the coins
// and the slabs of a pass are drawn this way instead of one call each: on
// llvmpipe every call costs its uniforms and state a validation of their
// own, which for a slab of twelve triangles is most of what it costs. The
// copies are placed in world space on the CPU, so the passes draw the batch
// with an identity model matrix; at full quality every object keeps its own
// call and the GPU places it, as it always did.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>
#include <vector>

namespace vesk::scene {
class MeshObject;
}

// A mesh as the GPU takes it: per vertex a position, a normal and a texture
// coordinate; three indices a triangle.
struct MeshData {
    std::vector<float> positions;  // x, y, z
    std::vector<float> normals;    // x, y, z
    std::vector<float> uvs;        // u, v
    std::vector<unsigned int> indices;
};

// One copy of `mesh` for each of `placements`, in that order, each moved into
// world space by its matrix (normals turned by its upper 3x3), all in `out`,
// which is cleared first. Needs no GL.
void placeCopies(const vesk::scene::MeshObject& mesh, const std::vector<glm::mat4>& placements, MeshData& out);

class WorldBatch {
public:
    WorldBatch();  // creates the vertex array and its buffers; leaves no vertex array bound
    ~WorldBatch();
    WorldBatch(const WorldBatch&) = delete;
    WorldBatch& operator=(const WorldBatch&) = delete;

    // Uploads the copies of `mesh` for `placements` (placeCopies()). The old
    // storage is let go rather than overwritten, so a draw from it still
    // waiting for the rasteriser never holds the upload up.
    void fill(const vesk::scene::MeshObject& mesh, const std::vector<glm::mat4>& placements);

    // One indexed draw of what fill() uploaded; nothing when that was empty.
    void draw() const;

private:
    GLuint vao_ = 0;
    GLuint positionBuffer_ = 0;
    GLuint normalBuffer_ = 0;
    GLuint uvBuffer_ = 0;
    GLuint indexBuffer_ = 0;
    GLsizei indexCount_ = 0;
    MeshData placed_;  // kept between fills, so a frame allocates nothing once warm
};

// Below full quality, the coins and the slabs of a pass in one draw call each;
// made by scene assembly, deleted by shutdown.
extern WorldBatch* coinBatch;
extern WorldBatch* slabBatch;
