// A home of its own for a test or benchmark process: HOME, XDG_CONFIG_HOME
// and XDG_DATA_HOME point at a fresh folder, so the game's settings and
// records never touch the real ones. XDG_CACHE_HOME keeps naming the real
// cache, where Mesa keeps its compiled shaders. The folder goes at exit.
#pragma once

#include <string>

// Returns the folder, the same one for every call.
const std::string& useTemporaryHome();
