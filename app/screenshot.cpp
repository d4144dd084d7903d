#include "app/screenshot.h"

#include <GL/glew.h>

#include <ctime>

#include "app/window.h"
#include "base/console.h"
#include "base/storage.h"

bool screenshotWanted = false;

Image readWindow() {
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    Image image;
    image.width = unsigned(width);
    image.height = unsigned(height);
    // GL packs rows to 4 bytes by default, as FreeImage lays them out.
    image.pixels.resize(size_t((width * 3 + 3) / 4 * 4) * size_t(height));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, image.pixels.data());
    return image;
}

std::optional<std::string> takeScreenshot() {
    const std::optional<std::string> folder = picturesFolder();
    if (!folder) {
        report("no screenshot: no home folder to keep it in");
        return std::nullopt;
    }
    const std::string png = encodePng(readWindow());
    if (png.empty()) {
        report("no screenshot: the picture could not be encoded as PNG");
        return std::nullopt;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string problem;
    const std::optional<std::string> path = writeNewPicture(*folder, local, png, problem);
    if (path) report("screenshot saved: " + *path);
    else report("no screenshot: cannot write in " + *folder + ": " + problem + "; playing on");
    return path;
}
