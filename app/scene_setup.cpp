#include "app/scene_setup.h"

#include <glm/gtc/matrix_transform.hpp>
#include <iostream>

#include "app/audio.h"
#include "app/lab_overlay.h"
#include "base/course.h"
#include "app/window.h"
#include "base/globals.h"
#include "base/platform.h"
#include "gpu/render_targets.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "play/input.h"
#include "render/batches.h"
#include "render/text2d.h"
#include "render/debug_views.h"
#include "render/particles.h"
#include "scene/cat.h"
#include "scene/coins.h"
#include "scene/culling.h"
#include "scene/level.h"
#include "scene/world.h"

using namespace vesk::scene;

namespace {

// One of the two start-up log lines about grid positions. It adds the turned
// frame offset's (x, z, y) to the frame's origin, which gives the slab's world
// x and z but mirrors its height about y 8: the line for a slab standing at
// y 6 says 10.
void logGridPosition(const Slab& slab, const char* truePosition) {
    const glm::vec3 offset = slabOffset(slab.origin);
    const glm::vec3 position = slabFrameOrigin + glm::vec3(offset.x, offset.z, offset.y);
    std::cout << "grid Position.xyz" << "X: " << position.x << "Y: " << position.y << "Z: " << position.z
              << "true Position gridObject" << truePosition << std::endl;
}

template <typename T>
void release(T*& object) {
    delete object;
    object = nullptr;
}

}  // namespace

namespace {

void buildPrograms() {
    depthShader = new Shader("Shader/depthShader.vert", "Shader/depthShader.frag");
    normalsShader = new Shader("Shader/normals.vert", "Shader/normals.frag");
    sceneShader = new Shader("Shader/normals2.vert", "Shader/normals2.frag");
    unshadowedSceneShader = new Shader("Shader/normals2.vert", "Shader/normals2.frag", "#define OUTSIDE_THE_LIGHTS_VIEW\n");
    skyboxShader = new Shader("Shader/normalsSkybox.vert", "Shader/normalsSkybox.frag");
    textShader = new Shader("Shader/normalsText2D.vert", "Shader/normalsText2D.frag");
    particleShader = new Shader("Shader/ParticleShader.vert", "Shader/ParticleShader.frag");
    blurShader = new Shader("Shader/blurShader.vert", "Shader/blurShader.frag");
    scaleUpShader = new Shader("Shader/blurShader.vert", "Shader/scaleUp.frag");
    ghostShader = new Shader("Shader/ghost.vert", "Shader/ghost.frag");
    depthViewShader = new Shader("Shader/blurShader.vert", "Shader/depthView.frag");
    lineShader = new Shader("Shader/lines.vert", "Shader/lines.frag");
}

// Every scene object, each from the identity and its own start transform;
// the slabs placed where the course puts them.
void buildObjects() {
    glm::mat4 identity(1.0f);
    theCat = new cat(identity);
    catChildA = new hierarchy(identity);
    catChildB = new hierarchyB(identity);
    corridorObject = new corridor(identity);
    for (grid*& slab : grids) slab = new grid(identity);
    for (int i = 0; i < slabCount; ++i) {
        const glm::vec3 offset = slabOffset(courseSlabs[i].origin);
        grids[i]->translate(offset.x, offset.y, offset.z);
        if (i == 7) {
            logGridPosition(courseSlabs[0], "9.0, 8.0, -220.0");
            logGridPosition(courseSlabs[7], "-5.5, 10, -390");
        }
    }
    cubeA = new Cube(identity, normalsShader);
    mouseObject = new mouse1(identity);
    skyBox = new house_left3(identity);
    houseRow = new house_left4(identity);
    streetObject = new Street(identity);
    coinObject = new coin(identity, sceneShader);
    cubeB = new Cube(identity, skyboxShader);

    coarseCat = new StandIn(coarseSphereModel, catScale, 1.0f, sceneShader);
    coarseBead = new StandIn(coarseSphereModel, beadScale, 1.0f, sceneShader);
    coarseCoin = new StandIn(coarseCoinModel, coinScale, coinUvScale, sceneShader);
    coinBatch = new WorldBatch();
    slabBatch = new WorldBatch();
}

void loadTextures() {
    catFurTexture = new Texture("Textur/katzenfell.jpg");
    asphaltTexture = new Texture("Textur/asphalt2.jpg");
    starsTexture = new Texture("Textur/sterne.jpg");
    roofTexture = new Texture("Textur/dach2.jpg");
    greyTexture = new Texture("Textur/grau.jpg");
    metalTexture = new Texture("Textur/metall.jpg");
    whiteTexture = new Texture("Textur/weiss.jpg");
    grassTexture = new Texture("Textur/grass.jpg");
    coinTexture = new Texture("Textur/coin.jpg");
    oldMetalTexture = new Texture("Textur/metallOld.jpg");
    fontTexture = new Texture("Textur/font8.jpg");
}

}  // namespace

void initScene() {
    resetRenderSettings();
    textureFilter = startTextureFilter;
    mipmapFilter = startMipmapFilter;
    glEnable(GL_DEPTH_TEST);
    glfwSetWindowTitle(window, "KIVO");

    buildPrograms();
    coinField = new GameRaster();
    coinField->build(sceneShader);
    buildObjects();
    text2D = new Text2D();
    frustumCuller = new ViewFrustumCulling();

    glUseProgram(normalsShader->programHandle);
    glEnable(GL_CULL_FACE);
    // Built once: a later window resize does not change the aspect ratio.
    projectionMatrix = glm::perspective(glm::radians(fieldOfView),
                                        float(screenWidth) / float(screenHeight), 0.1f, 2000.0f);

    loadTextures();
    playMusic("Audio/ffxiii.WAV");
    loadSoundEffects();
    startFirstRun();

    glDepthFunc(GL_LESS);
    createShadowMapTarget();
    createSceneTargets();
    initParticles();
}

void deleteScene() {
    // A program still in use would only be flagged for deletion.
    glUseProgram(0);
    releaseLabOverlay();
    for (Shader** shader : {&normalsShader, &sceneShader, &unshadowedSceneShader, &skyboxShader, &textShader, &depthShader,
                            &particleShader, &blurShader, &scaleUpShader, &ghostShader, &depthViewShader, &lineShader})
        release(*shader);

    release(cubeA);
    release(theCat);
    release(catChildA);
    release(catChildB);
    release(corridorObject);
    for (grid*& slab : grids) release(slab);
    release(mouseObject);
    release(skyBox);
    release(houseRow);
    release(streetObject);
    release(coinObject);
    release(cubeB);

    release(coinField);
    release(coarseCat);
    release(coarseBead);
    release(coarseCoin);
    release(coinBatch);
    release(slabBatch);

    for (Texture** texture : {&catFurTexture, &asphaltTexture, &starsTexture, &roofTexture, &greyTexture,
                              &coinTexture, &metalTexture, &oldMetalTexture, &grassTexture, &fontTexture,
                              &whiteTexture})
        release(*texture);

    release(text2D);
    release(frustumCuller);
    releaseParticles();
    releaseDebugViews();
    // Not strictly needed before the context goes, but a clean shutdown makes
    // real leaks stand out in the sanitizer runs.
    releaseRenderTargets();
    stopMusic();
}
