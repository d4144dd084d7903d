// The course, in one place: the street the cat flies down, where a run starts
// and ends, how fast the cat goes, the eighteen obstacle slabs with the boxes
// that stop it and the field the coins are laid out in. World units; z falls
// along the street.
//
// Every number of the course lives here and everything that needs one reads
// it from here: the program state starts from the start angle and the walking
// speed, the cat from the start, scene assembly places the slabs, the
// corridor stands where the street is, the coin field lays its coins out in
// its box, the rules test the boxes and the bounds, the asset tool builds the
// street and the slab model around them, and the tests' autopilot plans its
// route through them. It sits at the bottom of the game, below every layer
// that reads it. This header is data and GLM only, so the asset tool includes
// it without linking the game.
#pragma once

#include <glm/glm.hpp>
#include <glm/gtc/constants.hpp>

// ---- Start, finish, speeds ---------------------------------------------------
constexpr glm::vec3 courseStart(0.0f, 5.0f, -200.0f);  // where the cat stands when a run begins
constexpr float courseStartYaw = glm::pi<float>();     // radians: looking down the street (-z)
constexpr float finishLineZ = -550.0f;                 // the run ends once the cat is beyond it
constexpr float walkSpeed = 10.0f;                     // units per second while W is held
constexpr float sprintBonus = 20.0f;                   // units per second on top while Space is held

// ---- Checkpoints -----------------------------------------------------------------
// Lines across the street where a run's time is taken and set against the
// record's: one every checkpointSpacing units from the start, and the finish
// line as the last. A checkpoint is passed where the cat's way first goes
// beyond it, as the finish is.
constexpr float checkpointSpacing = 50.0f;
constexpr int checkpointCount = 7;  // the finish included
constexpr float checkpointZ(int index) {  // index 0 .. checkpointCount - 1
    return index + 1 < checkpointCount ? courseStart.z - checkpointSpacing * float(index + 1) : finishLineZ;
}

// ---- The street ----------------------------------------------------------------
// What the player sees: a floor between two walls, open above and at the far end.
constexpr float streetFloorY = -4.5f;
constexpr float streetWallX = 10.0f;       // the walls' inner faces stand at x = -10 and +10
constexpr float streetWallTopY = 15.5f;
constexpr float streetWallThickness = 0.5f;
constexpr float streetEndZ = -620.0f;      // floor and walls run from z 0 to here
// The corridor model, which is the street's floor and walls, is placed here
// and turned 90 degrees about y.
constexpr glm::vec3 corridorOrigin(-10.0f, 8.0f, 0.0f);

// Where the cat may fly: beyond any of these limits the run starts over. The
// box keeps half a unit from the walls and two units above the floor; it has
// no far end, because the finish line ends the run first.
constexpr glm::vec2 streetLimitX(-9.5f, 9.5f);
constexpr glm::vec2 streetLimitY(-2.5f, 15.5f);
constexpr float streetLimitZ = -198.0f;    // two units behind the start

// ---- Obstacle slabs ----------------------------------------------------------
// A slab's collision box: the cat is stopped where z and x lie strictly inside
// their ranges and y lies strictly beyond yLimit on the blocked side.
struct ObstacleBox {
    float zMin, zMax;  // both exclusive
    float xMin, xMax;  // both exclusive
    float yLimit;
    bool blocksAbove;  // true: a hanging slab, solid above yLimit; false: a standing one, solid below

    // How far along the way from `from` to `to` the cat first enters the box
    // (0 at `from`, 1 at `to`), or -1 when it never does. A way of length 0
    // tests one point.
    double entryAlong(glm::vec3 from, glm::vec3 to) const;
};

// One slab: where the slab model's origin stands, and its box.
struct Slab {
    glm::vec3 origin;
    ObstacleBox box;
};

// The slab model spans this box around its origin (world axes, once placed):
// read against the table in course.cpp, every collision box lies inside its
// slab, and within the street the slab overhangs its box by at most 3 units.
constexpr glm::vec3 slabLow(-2.625f, -12.625f, -1.375f);
constexpr glm::vec3 slabHigh(12.75f, -0.5f, 1.375f);

constexpr int slabCount = 18;
extern const Slab courseSlabs[slabCount];  // grid1 .. grid18, in the order they are placed

// A grid is built standing upright at this point, turned 90 degrees about x,
// and grid::translate() then moves it within that turned frame: an offset
// (x, y, z) moves it by (x, -z, y) in the world. This is the offset that puts
// a slab's origin at `origin`.
constexpr glm::vec3 slabFrameOrigin(-10.0f, 8.0f, -220.0f);
constexpr glm::vec3 slabOffset(glm::vec3 origin) {
    return {origin.x - slabFrameOrigin.x, origin.z - slabFrameOrigin.z, slabFrameOrigin.y - origin.y};
}

// ---- Coins ----------------------------------------------------------------------
// Every run lays out this many coins at random: each first moved to the
// field's origin, then by whole-unit offsets drawn within its width, height
// and length (scene/coins.h has the rules, and where they can land).
constexpr int coinsPerLayout = 22;
constexpr glm::vec3 coinFieldOrigin(0.0f, 0.0f, -215.0f);
constexpr double coinFieldLength = 400.0;
constexpr double coinFieldWidth = 18.0;
constexpr double coinFieldHeight = 18.0;

// ---- The night sky -------------------------------------------------------------
// The star backdrop is a sphere around everything else in the world, centred
// on the street's axis halfway down the course: its slow turn about that axis
// spins it in place, and from any camera on the course it lies within the far
// plane (2000) in every direction. It hides whatever lies beyond it, which
// includes the copy of it that the house row's model file holds.
constexpr glm::vec3 skyCentre(0.0f, 0.0f, -375.0f);
constexpr float skyRadius = 650.0f;

// ---- Where the cat is and where it went ---------------------------------------
bool outsideStreet(glm::vec3 point);  // above, below, beside or behind the street's limits

// How far along the way from `from` to `to` the cat first enters any slab's
// box, as entryAlong(), or -1 when it enters none.
double obstacleEntryAlong(glm::vec3 from, glm::vec3 to);

// How far along the way from `from` to `to` a point first lies within the box
// low .. high: strictly inside every face when `open`, faces included when
// not; -1 when no point of the way does. Infinite bounds leave a side open.
double entryAlong(glm::dvec3 from, glm::dvec3 to, glm::dvec3 low, glm::dvec3 high, bool open);
