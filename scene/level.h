// The static and decorative world: street corridor, obstacle slabs, the house
// row, the star backdrop, the mouse, two helper cubes and the street slab.
#pragma once

#include "scene/scene_object.h"

namespace vesk::scene {

class corridor : public MeshObject {
public:
    explicit corridor(glm::mat4& modelMatrix);
    void update(double) override {}
};

// An obstacle slab. After construction it stands at (-10, 8, -220) turned
// 90 degrees about x; translate() then places it in that turned frame, so a
// local offset (x, y, z) moves it by (x, -z, y) in world space.
class grid : public MeshObject {
public:
    explicit grid(glm::mat4& modelMatrix);
    void update(double) override {}
    virtual void translate(double x, double y, double z);
};

// The star-textured backdrop: slowly turns about the world z axis.
class house_left3 : public MeshObject {
public:
    explicit house_left3(glm::mat4& modelMatrix);
    void update(double deltaTime) override;
};

// The row of houses along the street.
class house_left4 : public MeshObject {
public:
    explicit house_left4(glm::mat4& modelMatrix);
    void update(double) override {}
};

// Loaded and released, never drawn.
class mouse1 : public MeshObject {
public:
    explicit mouse1(glm::mat4& modelMatrix);
    void update(double deltaTime) override;  // 0.2 along its own -z per call
};

// A fixed box; updated every frame, never drawn.
class Cube : public MeshObject {
public:
    Cube(glm::mat4& modelMatrix, Shader* shader);
    void update(double) override {}
};

// A fixed slab under the street; created and released only.
class Street : public MeshObject {
public:
    explicit Street(glm::mat4& modelMatrix);
    void update(double) override {}
};

}  // namespace vesk::scene
