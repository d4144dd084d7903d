#include "scene/coins.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "base/course.h"

namespace vesk::scene {

coin::coin(glm::mat4& modelMatrix, Shader* shader) : MeshObject(modelMatrix, shader) {
    loadModel(coinModel, coinScale, coinUvScale);
    computeBoundingSphere();
    upload();
}

coin::coin(glm::mat4& modelMatrix, const coin& meshOwner) : MeshObject(modelMatrix, meshOwner.shader), ownsMesh(false) {
    boundingCenter = meshOwner.boundingCenter;
    boundingRadius = meshOwner.boundingRadius;
    vao = meshOwner.vao;
    positionBuffer = meshOwner.positionBuffer;
    indexBuffer = meshOwner.indexBuffer;
    uvBuffer = meshOwner.uvBuffer;
    normalBuffer = meshOwner.normalBuffer;
    indices = meshOwner.indices;  // its size is the draw's count
}

coin::~coin() {
    if (ownsMesh) return;
    // Handle 0 is none: the base destructor then deletes nothing of the owner's.
    vao = positionBuffer = indexBuffer = uvBuffer = normalBuffer = 0;
}

void coin::update(double deltaTime) {
    modelMatrix = rotatedDegrees(modelMatrix, static_cast<float>(deltaTime) * 45.0f, glm::vec3(0.0f, 1.0f, 0.0f));
}

void coin::translate(double x, double y, double z) { modelMatrix = translated(modelMatrix, x, y, z); }

double coin::reachedAlong(glm::vec3 from, glm::vec3 to) const {
    // The faces are rounded to float, as the coin's position is.
    const glm::vec3 centre(modelMatrix[3]), half(1.5f);
    return entryAlong(from, to, glm::dvec3(centre - half), glm::dvec3(centre + half), false);
}

CoinOffset coinOffsetFromDraws(int drawX, int drawY, int drawZ, double fieldWidth, double fieldHeight,
                               double fieldLength) {
    int x = drawX % static_cast<int>(fieldWidth);
    int y = drawY % static_cast<int>(fieldHeight);
    const int z = -(drawZ % static_cast<int>(fieldLength - 65.0));
    if (x > 9) x = -(x / 2);
    if (y > 15) y = -(y / 2);
    if (y < 2) y = y / 2 + 2 * y;
    return {x, y, z};
}

std::string coinLayoutLine(int index, CoinOffset offset) {
    return "COIN " + std::to_string(index) + " X:" + std::to_string(offset.x) + " Y:" + std::to_string(offset.y) +
           " Z:" + std::to_string(offset.z);
}

bool parseCoinLayoutLine(const std::string& line, int& index, CoinOffset& offset) {
    int i = 0;
    CoinOffset o{};
    if (std::sscanf(line.c_str(), "COIN %d X:%d Y:%d Z:%d", &i, &o.x, &o.y, &o.z) != 4) return false;
    // Printed back, the numbers must give the very same text: no other
    // spacing, signs or trailing words pass.
    if (line != coinLayoutLine(i, o)) return false;
    index = i;
    offset = o;
    return true;
}

GameRaster::~GameRaster() {
    for (coin* c : coins) delete c;
    coins.clear();
    delete meshOwner;
}

CoinOffset GameRaster::drawCoinOffset() const {
    // Separate statements: the order of the three draws is part of the layout.
    const int drawX = std::rand();
    const int drawY = std::rand();
    const int drawZ = std::rand();
    return coinOffsetFromDraws(drawX, drawY, drawZ, fieldWidth, fieldHeight, fieldLength);
}

void GameRaster::build(Shader* shader) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    glm::mat4 identity(1.0f);
    if (!meshOwner) meshOwner = new coin(identity, shader);
    for (int i = 0; i < coinsPerLayout; ++i) {
        coin* c = new coin(identity, *meshOwner);
        c->translate(origin.x, origin.y, origin.z);
        const CoinOffset offset = drawCoinOffset();
        std::cout << coinLayoutLine(i, offset) << std::endl;
        c->translate(offset.x, offset.y, offset.z);
        coins.push_back(c);
    }
}

void GameRaster::update(double deltaTime) {
    for (coin* c : coins) c->update(deltaTime);
}

void GameRaster::clear() {
    for (coin* c : coins) delete c;
    coins.clear();
    collectedCount = 0;
}

void GameRaster::collect(glm::vec3 from, glm::vec3 to, double part) {
    std::vector<std::pair<double, coin*>> reached;  // where the way reaches each coin, in list order
    for (coin* c : coins) {
        const double at = c->reachedAlong(from, to);
        if (at >= 0.0 && at <= part) reached.emplace_back(at, c);
    }
    std::stable_sort(reached.begin(), reached.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : reached) {
        coins.erase(std::find(coins.begin(), coins.end(), entry.second));
        delete entry.second;
        ++collectedCount;
        std::cout << "Goodies Collected: " << collectedCount << std::endl;
    }
}

}  // namespace vesk::scene
