#include "render/batches.h"

#include "gpu/buffer.h"
#include "gpu/draw_count.h"
#include "gpu/shader.h"
#include "scene/scene_object.h"

WorldBatch* coinBatch = nullptr;
WorldBatch* slabBatch = nullptr;

void placeCopies(const vesk::scene::MeshObject& mesh, const std::vector<glm::mat4>& placements, MeshData& out) {
    out.positions.clear();
    out.normals.clear();
    out.uvs.clear();
    out.indices.clear();
    const size_t vertices = mesh.positions.size() / 3;
    for (const glm::mat4& place : placements) {
        const auto first = static_cast<unsigned int>(out.positions.size() / 3);
        const glm::mat3 turn(place);
        for (size_t v = 0; v < vertices; ++v) {
            const glm::vec4 p = place * glm::vec4(mesh.positions[3 * v], mesh.positions[3 * v + 1],
                                                  mesh.positions[3 * v + 2], 1.0f);
            out.positions.insert(out.positions.end(), {p.x, p.y, p.z});
            const glm::vec3 n = turn * glm::vec3(mesh.normals[3 * v], mesh.normals[3 * v + 1], mesh.normals[3 * v + 2]);
            out.normals.insert(out.normals.end(), {n.x, n.y, n.z});
        }
        out.uvs.insert(out.uvs.end(), mesh.uvs.begin(), mesh.uvs.end());
        for (const unsigned int index : mesh.indices) out.indices.push_back(first + index);
    }
}

WorldBatch::WorldBatch() {
    glGenVertexArrays(1, &vao_);
    glGenBuffers(1, &positionBuffer_);
    glGenBuffers(1, &normalBuffer_);
    glGenBuffers(1, &uvBuffer_);
    glGenBuffers(1, &indexBuffer_);
    glBindVertexArray(vao_);
    pointVertexInput(positionInput, positionBuffer_, 3);
    pointVertexInput(normalInput, normalBuffer_, 3);
    pointVertexInput(uvInput, uvBuffer_, 2);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

WorldBatch::~WorldBatch() {
    glDeleteBuffers(1, &positionBuffer_);
    glDeleteBuffers(1, &normalBuffer_);
    glDeleteBuffers(1, &uvBuffer_);
    glDeleteBuffers(1, &indexBuffer_);
    glDeleteVertexArrays(1, &vao_);
}

void WorldBatch::fill(const vesk::scene::MeshObject& mesh, const std::vector<glm::mat4>& placements) {
    placeCopies(mesh, placements, placed_);
    indexCount_ = static_cast<GLsizei>(placed_.indices.size());
    if (indexCount_ == 0) return;
    refillBuffer(GL_ARRAY_BUFFER, positionBuffer_, placed_.positions);
    refillBuffer(GL_ARRAY_BUFFER, normalBuffer_, placed_.normals);
    refillBuffer(GL_ARRAY_BUFFER, uvBuffer_, placed_.uvs);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    // The index buffer belongs to the vertex array: bind that to reach it.
    glBindVertexArray(vao_);
    refillBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_, placed_.indices);
    glBindVertexArray(0);
}

void WorldBatch::draw() const {
    if (indexCount_ == 0) return;
    glBindVertexArray(vao_);
    glDrawElements(GL_TRIANGLES, indexCount_, GL_UNSIGNED_INT, nullptr);
    noteDraw(GL_TRIANGLES, indexCount_);
    glBindVertexArray(0);
}
