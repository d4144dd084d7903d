// Any bytes as a texture file: never a crash, and an image it gives holds
// every row it claims.
#include "gpu/image.h"
#include "tests/fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string problem;
    const std::optional<Image> image = decodeImage(inputAsFile("texture.jpg", data, size), problem);
    if (image && image->pixels.size() < size_t(image->height) * image->width * (image->colour ? 3 : 1)) __builtin_trap();
    return 0;
}
