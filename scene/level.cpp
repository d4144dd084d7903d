#include "scene/level.h"

#include "base/course.h"
#include "gpu/shader.h"

namespace vesk::scene {

namespace {

const char* const houseRowModel = "Objekte/hausreihen_zusammen/hausreihe_wuerfel_alleCords.obj";

// A box given as six faces of four vertices each; every face is the two
// triangles (0, 1, 2) and (0, 2, 3) of its corners and carries one normal.
struct BoxFace {
    glm::vec3 normal;
    glm::vec3 corner[4];
    glm::vec2 uv[4];
};

const glm::vec3 faceNormals[6] = {{0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, -1}, {0, 0, 1}};

// The normals are fixed per face as listed, not derived from the corners.
const BoxFace cubeFaces[6] = {
    {faceNormals[0], {{-50, -450, -150}, {-50, -350, -150}, {50, -350, -150}, {50, -450, -150}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
    {faceNormals[1], {{-50, -450, 50}, {50, -450, 50}, {50, -350, 50}, {-50, -350, 50}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {faceNormals[2], {{50, -350, 50}, {50, -350, -150}, {-50, -350, -150}, {-50, -350, 50}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {faceNormals[3], {{50, -450, 50}, {-50, -450, 50}, {-50, -450, -50}, {50, -450, -50}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
    {faceNormals[4], {{50, -350, 50}, {50, -450, 50}, {50, -450, -150}, {50, -350, -150}}, {{1, 1}, {1, 0}, {0, 0}, {0, 1}}},
    {faceNormals[5], {{-50, -350, 50}, {-50, -350, -150}, {-50, -450, -150}, {-50, -450, 50}}, {{0, 1}, {1, 1}, {1, 0}, {0, 0}}},
};

// A slab a unit thick under the street, its top the street's floor.
constexpr float top = streetFloorY, bottom = streetFloorY - 1.0f;
const BoxFace streetFaces[6] = {
    {faceNormals[0], {{-500, bottom, -600}, {-500, top, -600}, {500, top, -600}, {500, bottom, -600}}, {{50, 0}, {50, 50}, {0, 50}, {0, 0}}},
    {faceNormals[1], {{-500, bottom, 50}, {500, bottom, 50}, {500, top, 50}, {-500, top, 50}}, {{0, 0}, {50, 0}, {50, 50}, {0, 50}}},
    {faceNormals[2], {{500, top, 50}, {500, top, -600}, {-500, top, -600}, {-500, top, 50}}, {{0, 0}, {50, 0}, {50, 50}, {0, 50}}},
    {faceNormals[3], {{500, bottom, 50}, {-500, bottom, 50}, {-500, bottom, -600}, {500, bottom, -600}}, {{0, 0}, {50, 0}, {50, 50}, {0, 50}}},
    {faceNormals[4], {{500, top, 50}, {500, bottom, 50}, {500, bottom, -600}, {500, top, -600}}, {{50, 50}, {50, 0}, {0, 0}, {0, 50}}},
    {faceNormals[5], {{-80, top, 50}, {-80, top, -600}, {-80, bottom, -600}, {-80, bottom, 50}}, {{0, 50}, {50, 50}, {50, 0}, {0, 0}}},
};

// Fills an object's mesh vectors from a fixed box table.
void fillFromTable(const BoxFace (&faces)[6], MeshObject& mesh) {
    for (unsigned int k = 0; k < 6; ++k) {
        for (int v = 0; v < 4; ++v) {
            const glm::vec3& p = faces[k].corner[v];
            mesh.positions.insert(mesh.positions.end(), {p.x, p.y, p.z});
            mesh.normals.insert(mesh.normals.end(), {faces[k].normal.x, faces[k].normal.y, faces[k].normal.z});
            mesh.uvs.insert(mesh.uvs.end(), {faces[k].uv[v].x, faces[k].uv[v].y});
        }
        const unsigned int first = 4 * k;
        mesh.indices.insert(mesh.indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
    }
}

// Where every grid stands before its placement: at the start of the course,
// turned upright.
glm::mat4 gridStartMatrix(const glm::mat4& m) {
    const glm::vec3 at = slabFrameOrigin;
    return rotatedDegrees(translated(m, at.x, at.y, at.z), 90.0f, glm::vec3(1.0f, 0.0f, 0.0f));
}

}  // namespace

corridor::corridor(glm::mat4& modelMatrix) : MeshObject(modelMatrix, sceneShader) {
    loadModel("Objekte/corridor/corridor.obj", 2.0f, 300.0f);
    computeBoundingSphere();
    upload();
    this->modelMatrix = translated(this->modelMatrix, corridorOrigin.x, corridorOrigin.y, corridorOrigin.z);
    this->modelMatrix = rotatedDegrees(this->modelMatrix, 90.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    computeTriangleSpans();
}

grid::grid(glm::mat4& modelMatrix) : MeshObject(modelMatrix, sceneShader) {
    loadModel("Objekte/grid/grid.obj", 4.0f, 3.0f);
    computeBoundingSphere();
    upload();
    this->modelMatrix = gridStartMatrix(this->modelMatrix);
}

void grid::translate(double x, double y, double z) { modelMatrix = translated(modelMatrix, x, y, z); }

house_left3::house_left3(glm::mat4& modelMatrix) : MeshObject(modelMatrix, skyboxShader) {
    loadModel(houseRowModel, 250.0f, 15.0f);
    upload();
    this->modelMatrix = translated(this->modelMatrix, -1000.0, 700.0, -2300.0);
}

// Turns about the world z axis, which runs through the sky's centre
// (skyCentre), so the star sphere spins in place.
void house_left3::update(double deltaTime) {
    modelMatrix = rotationAboutZ(static_cast<float>(deltaTime * 0.05)) * modelMatrix;
}

house_left4::house_left4(glm::mat4& modelMatrix) : MeshObject(modelMatrix, sceneShader) {
    loadModel(houseRowModel, 180.0f, 300.0f);
    computeBoundingSphere();
    upload();
    this->modelMatrix = translated(this->modelMatrix, -500.0, 0.0, -3030.0);
    computeTriangleSpans();
}

mouse1::mouse1(glm::mat4& modelMatrix) : MeshObject(modelMatrix, normalsShader) {
    loadModel("Objekte/mouse/mouse_new.obj", 5.0f, 30.0f);
    upload();
    this->modelMatrix = translated(this->modelMatrix, 135.0, streetFloorY, -200.0);
    this->modelMatrix = rotatedDegrees(this->modelMatrix, 45.0f, glm::vec3(0.0f, 1.0f, 0.0f));
}

// A fixed step per call, whatever the frame time.
void mouse1::update(double) { modelMatrix = translated(modelMatrix, 0.0, 0.0, -0.2); }

Cube::Cube(glm::mat4& modelMatrix, Shader* shader) : MeshObject(modelMatrix, shader) {
    fillFromTable(cubeFaces, *this);
    upload();
    this->modelMatrix = translated(this->modelMatrix, 10.0, 3.0, -190.0);
}

Street::Street(glm::mat4& modelMatrix) : MeshObject(modelMatrix, sceneShader) {
    fillFromTable(streetFaces, *this);
    upload();
}

}  // namespace vesk::scene
