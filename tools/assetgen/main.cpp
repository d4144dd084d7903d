// kivo_assetgen [outputRoot]: writes every texture, the font atlas, the music
// and every model of the game below outputRoot (default "."), in the folder
// layout the game reads: Textur/, Audio/ (music and sounds), Objekte/, and the desktop icon
// under packaging/. The output depends on
// nothing but this code and the DejaVu font, so repeated runs give the same
// bytes and the committed assets can be checked against a fresh run.
#include <filesystem>
#include <cstdio>
#include <string>

#include "font_atlas.h"
#include "icon.h"
#include "models.h"
#include "music.h"
#include "sounds.h"
#include "textures.h"

namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
constexpr int kAtlasSize = 512;

bool makeFolders(const std::filesystem::path& root) {
    const char* folders[] = {"Textur", "Audio", "Objekte/cat", "Objekte/coin", "Objekte/corridor",
                             "Objekte/grid", "Objekte/hausreihen_zusammen", "Objekte/mouse", "packaging"};
    for (const char* folder : folders) {
        std::error_code error;
        std::filesystem::create_directories(root / folder, error);
        if (error) {
            std::fprintf(stderr, "kivo_assetgen: cannot create %s: %s\n", (root / folder).c_str(),
                         error.message().c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: kivo_assetgen [outputRoot]\n");
        return 2;
    }
    const std::filesystem::path root = argc == 2 ? argv[1] : ".";
    if (!makeFolders(root)) return 1;
    const std::string textur = (root / "Textur").string();
    const bool ok = assetgen::writeSurfaceTextures(textur) &&
                    assetgen::writeFontAtlas(kFontPath, textur + "/font8.jpg", kAtlasSize) &&
                    assetgen::writeMusic((root / "Audio" / "ffxiii.WAV").string()) &&
                    assetgen::writeSounds((root / "Audio").string()) &&
                    assetgen::writeModels((root / "Objekte").string()) &&
                    assetgen::writeIcon((root / "packaging" / "kivo.png").string(), 256);
    return ok ? 0 : 1;
}
