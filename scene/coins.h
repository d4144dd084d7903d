// Coins and the coin field the player collects them from.
#pragma once

#include <string>
#include <vector>

#include "base/course.h"
#include "scene/scene_object.h"

namespace vesk::scene {

// The coin model (radius 2) scaled to a coin 2 across, its picture stretched to fit.
constexpr float coinScale = 0.5f;
constexpr float coinUvScale = 30.0f;
constexpr const char* coinModel = "Objekte/coin/coin.obj";
constexpr const char* coarseCoinModel = "Objekte/coin/coin_coarse.obj";  // the lowest quality's

// A coin spinning at 45 degrees per second about its own vertical axis.
class coin : public MeshObject {
public:
    // Reads the coin model and uploads it: this coin owns its mesh.
    coin(glm::mat4& modelMatrix, Shader* shader);
    // Draws the mesh of `meshOwner`, which must outlive it. The field's coins
    // share one, so that a new layout reads and uploads nothing.
    coin(glm::mat4& modelMatrix, const coin& meshOwner);
    ~coin() override;  // a shared mesh is left to its owner
    void update(double deltaTime) override;
    virtual void translate(double x, double y, double z);
    // How far along the way from `from` to `to` (0 at `from`, 1 at `to`) it
    // first reaches the coin's pick-up box, or -1 when it does not. The box is
    // the coin's translation plus and minus 1.5 on every axis, faces included,
    // and does not turn with the coin; a way of length 0 is a point test.
    double reachedAlong(glm::vec3 from, glm::vec3 to) const;

private:
    bool ownsMesh = true;
};

// Where one coin of a layout goes, relative to the field's origin, from three
// raw draws of rand(): x = drawX % width, y = drawY % height, z = -(drawZ %
// (length - 65)); then x > 9 becomes -(x / 2), y > 15 becomes -(y / 2), and
// y < 2 (also a y the previous rule made negative) becomes y / 2 + 2y, all
// divisions truncating towards zero. Coins thus land at x in -8..9, y in
// {-20, 0, 2..15} and z in -(length - 66)..0 for the default field.
struct CoinOffset {
    int x, y, z;
};
CoinOffset coinOffsetFromDraws(int drawX, int drawY, int drawZ, double fieldWidth,
                               double fieldHeight, double fieldLength);

// The console line a laid-out coin gets, "COIN 0 X:3 Y:7 Z:-120", and the
// reverse for the programs that read the game's console: true only for
// exactly such a line.
std::string coinLayoutLine(int index, CoinOffset offset);
bool parseCoinLayoutLine(const std::string& line, int& index, CoinOffset& offset);

// The field: coinsPerLayout coins laid out at random at the start of every
// run, spinning in place until the cat takes them. The passes draw them.
class GameRaster {
public:
    glm::vec3 origin = coinFieldOrigin;        // every coin is first moved here
    double fieldLength = coinFieldLength;      // z offsets from 0 to fieldLength - 66
    double fieldWidth = coinFieldWidth;        // x draws from 0 to fieldWidth - 1
    double fieldHeight = coinFieldHeight;      // y draws from 0 to fieldHeight - 1
    int collectedCount = 0;                    // coins taken in the current run

    std::vector<coin*> coins;               // the live coins, in order of creation; owned
    coin* meshOwner = nullptr;              // owned; holds the mesh the field's coins draw,
                                            // loaded by the first build and kept for the next

    GameRaster() = default;
    virtual ~GameRaster();  // frees the coins still in the field and their mesh
    GameRaster(const GameRaster&) = delete;
    GameRaster& operator=(const GameRaster&) = delete;

    // Reseeds rand() from the clock and lays out coinsPerLayout coins, one
    // console line each. The first build loads the coin mesh against `shader`.
    void build(Shader* shader);
    // One coin's offset from `origin`: draws x, y and z from rand(), in this
    // order, and applies the layout rules. Needs no GL.
    CoinOffset drawCoinOffset() const;

    virtual void update(double deltaTime);
    virtual void clear();  // frees every coin but keeps their mesh; collectedCount back to 0
    // Takes (and frees) every coin whose box the way from `from` to `to`
    // reaches within its first `part` (a fraction, 1 for the whole way), in
    // the order the way reaches them; "Goodies Collected: " and the count for
    // each.
    virtual void collect(glm::vec3 from, glm::vec3 to, double part = 1.0);
};

}  // namespace vesk::scene
