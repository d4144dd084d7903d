// Scene objects: everything solid in the world derives from SceneObject.
//
// An object owns its model matrix and one triangle mesh on the GPU (a vertex
// array over separate position, normal and texture-coordinate buffers plus an
// index buffer). The passes choose the program and set every uniform before
// they call draw(); draw() only binds the mesh and issues one indexed draw.
// The vertex array points at the fixed input locations every program shares
// (gpu/shader.h), so any program draws any mesh; objects never own a Shader.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>
#include <string>
#include <vector>

class Shader;

namespace vesk::scene {

class SceneObject {
public:
    glm::mat4 modelMatrix;  // model to world; public: passes, frame update and input read it

    explicit SceneObject(glm::mat4& modelMatrix) : modelMatrix(modelMatrix) {}
    virtual ~SceneObject() = default;
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    virtual void update(double deltaTime) = 0;  // seconds since the previous frame
    virtual void draw() = 0;
};

// Reads the first mesh of a model file with the game's import flags, scales
// positions by `positionScale` and texture coordinates by `uvScale`.
// A file that is missing, unreadable, holds a line the game's models never
// hold or a face that names a vertex it does not define (see
// objIndexProblem in the source), holds no mesh or whose first mesh is not
// made of triangles is reported ("Failed to load model: " and the path,
// base/assets.h) and leaves the four vectors empty (the object then draws
// nothing). `path` is relative to the game's asset folder.
void loadModel(const std::string& path, float positionScale, float uvScale,
               std::vector<unsigned int>& indices, std::vector<float>& positions,
               std::vector<float>& uvs, std::vector<float>& normals);

// Bounding sphere of a vertex list (x y z per vertex): the centroid summed in
// float, and the distance in double to the farthest vertex. An empty list gives
// centre (0, 0, 0) and radius 0.
void computeBoundingSphere(const std::vector<float>& positions, glm::vec3& center, double& radius);

// The model-matrix steps the objects share. GLM's rotate takes radians; the
// scene's start transforms and spins are written in degrees.
glm::mat4 translated(const glm::mat4& m, double x, double y, double z);  // in m's own frame
glm::mat4 rotatedDegrees(const glm::mat4& m, float degrees, glm::vec3 axis);
// Rotation by `radians` about z, cos and sin taken in double and stored as floats.
glm::mat4 rotationAboutZ(float radians);

// The part every mesh-carrying object shares: GPU buffers, the CPU copy and,
// for the culled classes, a bounding sphere in model space.
class MeshObject : public SceneObject {
public:
    glm::vec3 boundingCenter{0.0f};  // model space; set by computeBoundingSphere()
    double boundingRadius = 0.0;     // model units
    GLuint vao = 0;
    GLuint positionBuffer = 0;
    GLuint indexBuffer = 0;
    GLuint uvBuffer = 0;
    GLuint normalBuffer = 0;
    Shader* shader = nullptr;        // the program it is meant to be drawn with; not owned
    std::vector<unsigned int> indices;
    std::vector<float> positions;
    std::vector<float> uvs;
    std::vector<float> normals;
    // For the street and the house row, which never move: of each triangle in
    // index order, its lowest and highest world z and its lowest world y, so
    // the lit pass can tell the triangles the light's view may reach from the
    // rest. Empty for every other object.
    std::vector<glm::vec3> triangleSpans;

    MeshObject(glm::mat4& modelMatrix, Shader* shader) : SceneObject(modelMatrix), shader(shader) {}
    ~MeshObject() override;  // deletes the four buffers, then the vertex array

    // One indexed draw of the whole mesh; an object without a mesh draws nothing.
    void draw() override;
    // One indexed draw of the `count` triangles from triangle `first` on.
    void drawTriangles(int first, int count) const;

protected:
    void loadModel(const std::string& path, float positionScale, float uvScale = 1.0f);
    void computeBoundingSphere();  // centroid of the vertices and the farthest vertex
    void computeTriangleSpans();   // under modelMatrix as it is now
    // Creates the buffers and the vertex array. An empty mesh creates no GL
    // object at all, so every handle stays 0.
    void upload();
};

// A mesh of its own that the passes draw in another object's place, with
// that object's model matrix: the coarser cat, beads and coins of the lowest
// quality. It never moves by itself.
class StandIn : public MeshObject {
public:
    // Loads `path` like loadModel() and uploads it.
    StandIn(const std::string& path, float positionScale, float uvScale, Shader* shader);
    void update(double) override {}
};

}  // namespace vesk::scene
