#include "mesh.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace assetgen {

uint32_t Mesh::addVertex(glm::vec3 position, glm::vec3 normal, glm::vec2 uv) {
    positions.push_back(position);
    normals.push_back(glm::normalize(normal));
    uvs.push_back(uv);
    return static_cast<uint32_t>(positions.size() - 1);
}

void Mesh::addTriangle(uint32_t a, uint32_t b, uint32_t c) {
    indices.push_back(a);
    indices.push_back(b);
    indices.push_back(c);
}

void Mesh::addQuad(const glm::vec3 corners[4], glm::vec3 normal, const glm::vec2 quadUvs[4]) {
    uint32_t v[4];
    for (int k = 0; k < 4; ++k) v[k] = addVertex(corners[k], normal, quadUvs[k]);
    addTriangle(v[0], v[1], v[2]);
    addTriangle(v[0], v[2], v[3]);
}

void Mesh::addFlatTriangle(const glm::vec3 corners[3], glm::vec3 normal, const glm::vec2 triUvs[3]) {
    uint32_t v[3];
    for (int k = 0; k < 3; ++k) v[k] = addVertex(corners[k], normal, triUvs[k]);
    addTriangle(v[0], v[1], v[2]);
}

void Mesh::append(const Mesh& other) {
    const uint32_t base = static_cast<uint32_t>(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (uint32_t i : other.indices) indices.push_back(base + i);
}

void Mesh::transform(const std::function<glm::vec3(glm::vec3)>& position,
                     const std::function<glm::vec3(glm::vec3)>& normal) {
    for (glm::vec3& p : positions) p = position(p);
    for (glm::vec3& n : normals) n = glm::normalize(normal(n));
}

void Mesh::orientToNormals() {
    for (size_t t = 0; t + 2 < indices.size(); t += 3) {
        const glm::vec3 a = positions[indices[t]], b = positions[indices[t + 1]], c = positions[indices[t + 2]];
        const glm::vec3 n = normals[indices[t]] + normals[indices[t + 1]] + normals[indices[t + 2]];
        if (glm::dot(glm::cross(b - a, c - a), n) < 0.0f) std::swap(indices[t + 1], indices[t + 2]);
    }
}

glm::vec3 mirrorZ(glm::vec3 v) { return {v.x, v.y, -v.z}; }

namespace {

// Shortest fixed-point text for `value`: six decimals, trailing zeros dropped.
std::string number(float value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    char* end = text + std::strlen(text);
    while (end > text && end[-1] == '0') --end;
    if (end > text && end[-1] == '.') --end;
    *end = '\0';
    if (std::strcmp(text, "-0") == 0) return "0";
    return text;
}

}  // namespace

bool writeObj(const Mesh& mesh, const std::string& path, const std::string& objectName,
              const std::vector<std::string>& header) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    for (const std::string& line : header) std::fprintf(file, "# %s\n", line.c_str());
    std::fprintf(file, "o %s\n", objectName.c_str());
    for (const glm::vec3& p : mesh.positions)
        std::fprintf(file, "v %s %s %s\n", number(p.x).c_str(), number(p.y).c_str(), number(p.z).c_str());
    for (const glm::vec2& uv : mesh.uvs)
        std::fprintf(file, "vt %s %s\n", number(uv.x).c_str(), number(1.0f - uv.y).c_str());
    for (const glm::vec3& n : mesh.normals)
        std::fprintf(file, "vn %s %s %s\n", number(n.x).c_str(), number(n.y).c_str(), number(n.z).c_str());
    for (size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        std::fprintf(file, "f");
        for (int k = 0; k < 3; ++k) {
            const uint32_t i = mesh.indices[t + k] + 1;
            std::fprintf(file, " %u/%u/%u", i, i, i);
        }
        std::fprintf(file, "\n");
    }
    return std::fclose(file) == 0;
}

}  // namespace assetgen
