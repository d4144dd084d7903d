// The whole game world, built once per test suite by the real start-up code
// and released by the real shutdown, for tests that drive the game rules and
// the passes. Runs from the repository root, where the assets live.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/scene_setup.h"
#include "app/window.h"
#include "base/globals.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "render/batches.h"
#include "render/passes.h"
#include "render/text2d.h"
#include "scene/world.h"
#include "tests/support/quiet_console.h"

class GameWorldTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // no sound card: play into nothing
        QuietConsole quiet;                     // the start-up coin and grid lines
        initScene();
    }
    static void TearDownTestSuite() { deleteScene(); }
};
