// The player's cat and the two beads that orbit above it.
#pragma once

#include "scene/scene_object.h"

namespace vesk::scene {

// The sphere model (radius 1000) scaled to the cat, 1.8 across, and to a bead, 0.2.
constexpr float catScale = 0.0009f;
constexpr float beadScale = 0.0001f;
constexpr const char* sphereModel = "Objekte/cat/sphere.obj";
constexpr const char* coarseSphereModel = "Objekte/cat/sphere_coarse.obj";  // the lowest quality's

// A sphere that spins about its own vertical axis at 90 degrees per second
// and starts at courseStart. Its position is the translation of modelMatrix.
class cat : public MeshObject {
public:
    explicit cat(glm::mat4& modelMatrix);
    void update(double deltaTime) override;
    // Moves the translation along the normalised `direction` by speed * deltaTime,
    // in world space, so the spin never bends the path.
    virtual void move(glm::vec3 direction, float speed, float deltaTime);
};

// A bead whose modelMatrix the frame update overwrites with the cat's before
// every update; update() then lifts it 1.2 above the cat and places it on a
// circle of radius 2 about the world z axis, turning at 5 radians per second.
class hierarchy : public MeshObject {
public:
    glm::mat4 localRotation{1.0f};  // accumulated spin; only the upper-left 2x2 is read

    explicit hierarchy(glm::mat4& modelMatrix);
    void update(double deltaTime) override;
    virtual void move(glm::vec3 direction, float speed, float deltaTime);  // beads follow, never move

protected:
    void followCat(double deltaTime, float xOffset);
};

// The second bead, on the opposite side of the circle.
class hierarchyB : public hierarchy {
public:
    explicit hierarchyB(glm::mat4& modelMatrix);
    void update(double deltaTime) override;
};

}  // namespace vesk::scene
