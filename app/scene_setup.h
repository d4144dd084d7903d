// Creation of the whole game world at start-up and its release at the end.
#pragma once

// Builds everything the game uses, in a fixed order: shader programs, the coin
// field with its first layout, every scene object, the text renderer and the
// frustum tester, the projection, the textures, the music, the initial render
// settings, the first run (play/input.h), the render targets and the particle buffers. Needs `window`, the
// chosen screen size and a current context with GLEW loaded.
void initScene();

// Releases everything initScene created, with the context still current. Each
// pointer is tested, so it is safe after a partial start-up.
void deleteScene();
