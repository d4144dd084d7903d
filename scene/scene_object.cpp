#include "scene/scene_object.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <glm/gtc/matrix_transform.hpp>
#include <iterator>
#include <sstream>

#include "base/assets.h"
#include "gpu/buffer.h"
#include "gpu/draw_count.h"
#include "gpu/shader.h"

namespace vesk::scene {

namespace {

constexpr unsigned int importFlags = aiProcess_JoinIdenticalVertices | aiProcess_MakeLeftHanded |
                                     aiProcess_Triangulate | aiProcess_OptimizeMeshes |
                                     aiProcess_FlipUVs | aiProcess_FlipWindingOrder;

// Why the first mesh of `scene` cannot be drawn as triangles, or empty when it can.
// Triangulation leaves points and lines alone, and nothing guarantees that an
// index stays inside the vertex array, so both are checked before any copy.
std::string meshProblem(const aiScene* scene) {
    if (scene->mNumMeshes == 0 || scene->mMeshes == nullptr || scene->mMeshes[0] == nullptr) return "no mesh";
    const aiMesh* mesh = scene->mMeshes[0];
    if (mesh->mPrimitiveTypes & (aiPrimitiveType_POINT | aiPrimitiveType_LINE))
        return "first mesh holds points or lines, not only triangles";
    if (mesh->mNumFaces == 0) return "first mesh has no faces";
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices != 3) return "first mesh holds a face that is not a triangle";
        for (unsigned int k = 0; k < 3; ++k)
            if (face.mIndices[k] >= mesh->mNumVertices) return "first mesh has an index out of range";
    }
    return {};
}

// Why the OBJ file at `path` could make Assimp's reader stray, or empty when
// it cannot. The reader throws on a face that names a vertex it does not
// have after it has built part of the scene, and leaks that part; which
// lines it counts as vertices is its own (a line is taken by its first
// letter, a backslash anywhere joins the next line, a cstype block hides
// what is in it, only spaces and tabs part words). So a file reaches it only when every line is one this
// check reads as the reader does: blank, a comment, o, g, s, usemtl or
// mtllib; v of 3, 4 or 6 numbers, vt of 2 or 3, vn of 3; and f, l or p of
// corners v, v/vt, v//vn or v/vt/vn that name ones defined before them.
std::string objIndexProblem(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(file), {});
    if (text.find_first_of("\\\v") != std::string::npos) return "a backslash or a vertical tab";
    for (char& c : text)
        if (c == '\r' || c == '\f' || c == '\0') c = '\n';  // each ends a line for the reader
    const char* const kinds[3] = {"vertex", "texture coordinate", "normal"};
    long defined[3] = {0, 0, 0};  // of each kind so far
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#') continue;
        if (line[0] == ' ' || line[0] == '\t') return "an indented line '" + line + "'";
        const int kind = word == "v" ? 0 : word == "vt" ? 1 : word == "vn" ? 2 : -1;
        if (kind >= 0) {
            int numbers = 0;
            for (std::string number; words >> number; ++numbers) {
                char* end = nullptr;
                std::strtod(number.c_str(), &end);
                if (*end != '\0' || std::string("0123456789+-").find(number[0]) == std::string::npos)
                    return std::string("a ") + kinds[kind] + " '" + line + "' that is not numbers";
            }
            if (kind == 0 ? numbers != 3 && numbers != 4 && numbers != 6 : kind == 1 ? numbers != 2 && numbers != 3 : numbers != 3)
                return std::string("a ") + kinds[kind] + " of " + std::to_string(numbers) + " numbers";
            ++defined[kind];
            continue;
        }
        if (word != "f" && word != "l" && word != "p") {
            if (word == "o" || word == "g" || word == "s" || word == "usemtl" || word == "mtllib") continue;
            return "a line '" + line + "' that this game's models never hold";
        }
        for (std::string corner; words >> corner;) {
            std::istringstream parts(corner);
            int part = 0;
            for (std::string index; std::getline(parts, index, '/'); ++part) {
                if (index.empty() && part > 0 && part < 3) continue;
                char* end = nullptr;
                const long number = std::strtol(index.c_str(), &end, 10);
                if (part > 2 || index.empty() || *end != '\0') return "a face corner '" + corner + "' that is not v/vt/vn";
                if (number == 0 || number > defined[part] || -number > defined[part])
                    return "a face names " + std::string(kinds[part]) + " " + index + " of " + std::to_string(defined[part]);
            }
        }
    }
    return {};
}

// Assimp's messages may span lines; the report must stay one line.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

void reportModelFailure(const std::string& path, const std::string& reason) {
    reportAssetFailure("Failed to load model: " + path, path, reason);
}

// Creates one buffer object holding `bytes` of `data` and leaves `target` unbound.
void uploadBuffer(GLenum target, GLuint& handle, size_t bytes, const void* data) {
    glGenBuffers(1, &handle);
    glBindBuffer(target, handle);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    glBindBuffer(target, 0);
}


}  // namespace

void loadModel(const std::string& path, float positionScale, float uvScale,
               std::vector<unsigned int>& indices, std::vector<float>& positions,
               std::vector<float>& uvs, std::vector<float>& normals) {
    indices.clear();
    positions.clear();
    uvs.clear();
    normals.clear();

    // Assimp's own message for a missing file is vague; say it plainly.
    if (!assetReadable(path)) {
        reportModelFailure(path, "cannot be opened");
        return;
    }
    if (const std::string problem = objIndexProblem(assetPath(path)); !problem.empty()) {
        reportModelFailure(path, problem);
        return;
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(assetPath(path), importFlags);
    if (scene == nullptr) {
        reportModelFailure(path, "not a readable model (" + oneLine(importer.GetErrorString()) + ")");
        return;
    }
    const std::string problem = meshProblem(scene);
    if (!problem.empty()) {
        reportModelFailure(path, problem);
        return;
    }

    const aiMesh* mesh = scene->mMeshes[0];
    indices.resize(3 * static_cast<size_t>(mesh->mNumFaces));
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f)
        for (unsigned int k = 0; k < 3; ++k) indices[3 * static_cast<size_t>(f) + k] = mesh->mFaces[f].mIndices[k];

    const size_t n = mesh->mNumVertices;
    positions.resize(3 * n);
    normals.resize(3 * n);
    uvs.resize(2 * n);
    for (size_t i = 0; i < n; ++i) {
        if (mesh->HasPositions()) {
            positions[3 * i] = mesh->mVertices[i].x;
            positions[3 * i + 1] = mesh->mVertices[i].y;
            positions[3 * i + 2] = mesh->mVertices[i].z;
        }
        if (mesh->HasNormals()) {
            normals[3 * i] = mesh->mNormals[i].x;
            normals[3 * i + 1] = mesh->mNormals[i].y;
            normals[3 * i + 2] = mesh->mNormals[i].z;
        }
        if (mesh->HasTextureCoords(0)) {
            uvs[2 * i] = mesh->mTextureCoords[0][i].x;
            uvs[2 * i + 1] = mesh->mTextureCoords[0][i].y;
        }
    }
    for (float& p : positions) p *= positionScale;
    for (float& t : uvs) t *= uvScale;
}

void computeBoundingSphere(const std::vector<float>& positions, glm::vec3& center, double& radius) {
    center = glm::vec3(0.0f);
    radius = 0.0;
    const unsigned int v = static_cast<unsigned int>(positions.size() / 3);
    if (v == 0) return;
    for (unsigned int i = 0; i < v; ++i) {
        center.x += positions[3 * i];
        center.y += positions[3 * i + 1];
        center.z += positions[3 * i + 2];
    }
    center /= static_cast<float>(v);
    for (unsigned int i = 0; i < v; ++i) {
        const double dx = positions[3 * i] - center.x;
        const double dy = positions[3 * i + 1] - center.y;
        const double dz = positions[3 * i + 2] - center.z;
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (i == 0 || d > radius) radius = d;
    }
}

glm::mat4 translated(const glm::mat4& m, double x, double y, double z) {
    return glm::translate(m, glm::vec3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)));
}

glm::mat4 rotatedDegrees(const glm::mat4& m, float degrees, glm::vec3 axis) {
    return glm::rotate(m, glm::radians(degrees), axis);
}

glm::mat4 rotationAboutZ(float radians) {
    const float c = static_cast<float>(std::cos(static_cast<double>(radians)));
    const float s = static_cast<float>(std::sin(static_cast<double>(radians)));
    glm::mat4 r(1.0f);
    r[0][0] = c;
    r[0][1] = s;
    r[1][0] = -s;
    r[1][1] = c;
    return r;
}

MeshObject::~MeshObject() {
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteBuffers(1, &normalBuffer);
    glDeleteBuffers(1, &uvBuffer);
    glDeleteVertexArrays(1, &vao);
}

void MeshObject::draw() {
    if (vao == 0 || indices.empty()) return;
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    noteDraw(GL_TRIANGLES, static_cast<long>(indices.size()));
    glBindVertexArray(0);
}

void MeshObject::drawTriangles(int first, int count) const {
    if (vao == 0 || count <= 0) return;
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, 3 * count, GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(3 * static_cast<size_t>(first) * sizeof(unsigned int)));
    noteDraw(GL_TRIANGLES, 3L * count);
    glBindVertexArray(0);
}

void MeshObject::loadModel(const std::string& path, float positionScale, float uvScale) {
    vesk::scene::loadModel(path, positionScale, uvScale, indices, positions, uvs, normals);
}

void MeshObject::computeBoundingSphere() {
    vesk::scene::computeBoundingSphere(positions, boundingCenter, boundingRadius);
}

void MeshObject::computeTriangleSpans() {
    triangleSpans.clear();
    auto world = [&](unsigned int vertex) {
        const float* p = &positions[3 * static_cast<size_t>(vertex)];
        return glm::vec3(modelMatrix * glm::vec4(p[0], p[1], p[2], 1.0f));
    };
    for (size_t i = 0; i + 3 <= indices.size(); i += 3) {
        const glm::vec3 a = world(indices[i]), b = world(indices[i + 1]), c = world(indices[i + 2]);
        triangleSpans.emplace_back(std::min({a.z, b.z, c.z}), std::max({a.z, b.z, c.z}), std::min({a.y, b.y, c.y}));
    }
}

void MeshObject::upload() {
    if (indices.empty()) return;
    uploadBuffer(GL_ARRAY_BUFFER, positionBuffer, sizeof(float) * positions.size(), positions.data());
    uploadBuffer(GL_ARRAY_BUFFER, normalBuffer, sizeof(float) * normals.size(), normals.data());
    uploadBuffer(GL_ARRAY_BUFFER, uvBuffer, sizeof(float) * uvs.size(), uvs.data());
    uploadBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer, sizeof(unsigned int) * indices.size(), indices.data());

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    pointVertexInput(positionInput, positionBuffer, 3);
    pointVertexInput(normalInput, normalBuffer, 3);
    pointVertexInput(uvInput, uvBuffer, 2);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBindVertexArray(0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

namespace {
glm::mat4 unplaced(1.0f);  // a stand-in borrows the placement of the object it stands in for
}

StandIn::StandIn(const std::string& path, float positionScale, float uvScale, Shader* shader)
    : MeshObject(unplaced, shader) {
    loadModel(path, positionScale, uvScale);
    upload();
}

}  // namespace vesk::scene
