#include "scene/world.h"

vesk::scene::GameRaster* coinField = nullptr;
vesk::scene::cat* theCat = nullptr;
vesk::scene::hierarchy* catChildA = nullptr;
vesk::scene::hierarchyB* catChildB = nullptr;
vesk::scene::corridor* corridorObject = nullptr;
vesk::scene::grid* grids[slabCount] = {};
vesk::scene::Cube* cubeA = nullptr;
vesk::scene::Cube* cubeB = nullptr;
vesk::scene::mouse1* mouseObject = nullptr;
vesk::scene::house_left3* skyBox = nullptr;
vesk::scene::house_left4* houseRow = nullptr;
vesk::scene::Street* streetObject = nullptr;
vesk::scene::coin* coinObject = nullptr;
vesk::scene::MeshObject* coarseCat = nullptr;
vesk::scene::MeshObject* coarseBead = nullptr;
vesk::scene::MeshObject* coarseCoin = nullptr;
ViewFrustumCulling* frustumCuller = nullptr;
