// The scene objects of the game, one program-wide pointer each: made by scene
// assembly (app/scene_setup.h) in this order, deleted by shutdown. Each pass,
// rule and update reaches the object it needs by name.
#pragma once

#include "base/course.h"

class ViewFrustumCulling;
namespace vesk::scene {
class MeshObject;
class cat;
class hierarchy;
class hierarchyB;
class corridor;
class grid;
class Cube;
class mouse1;
class house_left3;
class house_left4;
class Street;
class coin;
class GameRaster;
}  // namespace vesk::scene

extern vesk::scene::GameRaster* coinField;    // the run's coins (scene/coins.h)
extern vesk::scene::cat* theCat;              // the player (scene/cat.h), and its two beads
extern vesk::scene::hierarchy* catChildA;
extern vesk::scene::hierarchyB* catChildB;
extern vesk::scene::corridor* corridorObject;  // the street's floor and walls (scene/level.h)
extern vesk::scene::grid* grids[slabCount];    // grid1 .. grid18, one per slab of the course
extern vesk::scene::Cube* cubeA;
extern vesk::scene::Cube* cubeB;
extern vesk::scene::mouse1* mouseObject;
extern vesk::scene::house_left3* skyBox;       // the star sphere
extern vesk::scene::house_left4* houseRow;
extern vesk::scene::Street* streetObject;
extern vesk::scene::coin* coinObject;          // the lone coin beside the cat
extern vesk::scene::MeshObject* coarseCat;     // drawn in place of the cat, its beads and the
extern vesk::scene::MeshObject* coarseBead;    // coins at the lowest quality: fewer faces
extern vesk::scene::MeshObject* coarseCoin;
extern ViewFrustumCulling* frustumCuller;      // scene/culling.h
