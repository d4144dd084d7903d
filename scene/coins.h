// Coins and the coin field the player collects them from.
#pragma once

#include <vector>

#include "scene/scene_object.h"

class ViewFrustumCulling;

namespace vesk::scene {

// A coin spinning at 45 degrees per second about its own vertical axis.
class coin : public MeshObject {
public:
    coin(glm::mat4& modelMatrix, Shader* shader);
    void update(double deltaTime) override;
    virtual void translate(double x, double y, double z);
    // True when the point lies in the axis-aligned box of half-size 1.5 around
    // the coin's translation; both ends inclusive.
    virtual bool collides(double x, double y, double z);
};

// Where one coin of a layout goes, relative to the field's origin, from three
// draws of rand(): (x, y, z) after the layout rules.
struct CoinOffset {
    int x, y, z;
};
CoinOffset coinOffsetFromDraws(int drawX, int drawY, int drawZ, double fieldWidth,
                               double fieldHeight, double fieldLength);

// The field: 22 coins laid out at random at the start of every run.
class GameRaster {
public:
    glm::vec3 origin{0.0f, 0.0f, -215.0f};  // every coin is first moved here
    double fieldLength = 400.0;             // z offsets from 0 to fieldLength - 66
    double fieldWidth = 18.0;               // x draws from 0 to fieldWidth - 1
    double fieldHeight = 18.0;              // y draws from 0 to fieldHeight - 1
    ViewFrustumCulling* culler = nullptr;   // owned
    int collectedCount = 0;                 // coins taken in the current run

    static std::vector<coin*> coins;        // the live coins, in order of creation; owned

    GameRaster();
    ~GameRaster();  // frees the coins still in the field and the culler
    GameRaster(const GameRaster&) = delete;
    GameRaster& operator=(const GameRaster&) = delete;

    // Reseeds rand() from the clock and lays out 22 coins, one console line each.
    void build(Shader* shader);

    virtual void update(double deltaTime);
    // Draws the coins for the lit pass; returns how many passed the culling test.
    virtual int drawLit(Shader* shader, glm::mat4 biasMatrix, glm::mat4 lightViewProjection,
                        GLuint shadowMapTexture, bool cullingEnabled, glm::mat4 projection,
                        glm::mat4 view);
    virtual void drawDepth(Shader* shader, glm::mat4 lightViewProjection, bool cullingEnabled,
                           glm::mat4 projection, glm::mat4 view);
    virtual void clear();  // frees every coin; collectedCount back to 0
    virtual void translate(double x, double y, double z);
    // Takes (and frees) every coin whose box holds the point; one line per coin.
    virtual void collect(double x, double y, double z);
};

}  // namespace vesk::scene
