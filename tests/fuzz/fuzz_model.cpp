// Any bytes as a model file, read as the game reads its models: never a
// crash, and every index it keeps names a vertex it has.
#include "scene/scene_object.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned int> indices;
    std::vector<float> positions, uvs, normals;
    vesk::scene::loadModel(inputAsFile("model.obj", data, size), 1.0f, 1.0f, indices, positions, uvs, normals);
    for (const unsigned int index : indices)
        if (index >= positions.size() / 3) __builtin_trap();
    return 0;
}
