// Shader programs and textures on a real context: the game's seven programs
// and what the code requires of them, every way a program can fail, and
// textures' colours, filters and unreadable files.
#include <gtest/gtest.h>

#include <FreeImage.h>
#include <unistd.h>

#include "app/globals.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "tests/support/temp_dir.h"

namespace {

struct ProgramContract {
    const char* name;  // Shader/<name>.vert and .frag
    std::vector<const char*> attributes, uniforms;
    // Inputs at locations the draw code fixes rather than looks up: location, type.
    std::vector<std::pair<GLuint, GLenum>> fixedInputs;
};

// The mesh programs draw from one vertex array per object, so they share its layout.
const std::vector<std::pair<GLuint, GLenum>> meshLayout = {{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC3}, {2, GL_FLOAT_VEC2}};
const ProgramContract contracts[] = {
    {"depthShader", {"position"}, {"depthMVP"}, {{0, GL_FLOAT_VEC3}}},
    {"normals", {"position", "normal", "uv"}, {}, meshLayout},
    {"normals2", {"position", "normal", "uv"},
     {"projectionMatrix", "viewMatrix", "modelMatrix", "DepthBiasMVP", "lightPosition_worldspace", "lightPower",
      "transparency", "colorTexture", "shadowMap"},
     meshLayout},
    {"normalsSkybox", {"position", "uv"}, {"projectionMatrix", "viewMatrix", "modelMatrix", "colorTexture"},
     {{0, GL_FLOAT_VEC3}, {2, GL_FLOAT_VEC2}}},
    {"normalsText2D", {}, {"myTextureSampler"}, {{3, GL_FLOAT_VEC2}, {4, GL_FLOAT_VEC2}}},
    {"ParticleShader", {}, {"CameraRight_worldspace", "CameraUp_worldspace", "VP", "myTextureSampler"},
     {{0, GL_FLOAT_VEC3}, {1, GL_FLOAT_VEC4}, {2, GL_FLOAT_VEC4}}},
    {"blurShader", {}, {"blurTexture", "depthBlurTexture", "vpInverse", "vpPrevious", "deltaT"}, {{0, GL_FLOAT_VEC3}}},
};

// The type of the active attribute or uniform at `location`, else GL_NONE.
GLenum typeAt(GLuint program, GLint location, bool uniform) {
    GLint count = 0;
    glGetProgramiv(program, uniform ? GL_ACTIVE_UNIFORMS : GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint i = 0; i < count; ++i) {
        char name[128];
        GLint size = 0;
        GLenum type = GL_NONE;
        if (uniform) glGetActiveUniform(program, GLuint(i), sizeof name, nullptr, &size, &type, name);
        else glGetActiveAttrib(program, GLuint(i), sizeof name, nullptr, &size, &type, name);
        if ((uniform ? glGetUniformLocation(program, name) : glGetAttribLocation(program, name)) == location) return type;
    }
    return GL_NONE;
}

TEST(GameShaders, AllSevenPairsCompileLinkAndDeclareTheirInputs) {
    for (const ProgramContract& contract : contracts) {
        const std::string path = std::string("Shader/") + contract.name;
        SCOPED_TRACE(path);
        Shader shader(path + ".vert", path + ".frag");
        const GLuint program = shader.programHandle;
        for (const char* attribute : contract.attributes) EXPECT_GE(glGetAttribLocation(program, attribute), 0) << attribute;
        for (const char* uniform : contract.uniforms) EXPECT_GE(glGetUniformLocation(program, uniform), 0) << uniform;
        for (const auto& [location, type] : contract.fixedInputs)
            EXPECT_EQ(typeAt(program, GLint(location), false), type) << "input at location " << location;
        EXPECT_EQ(glGetFragDataLocation(program, "fragColor"), 0);
        if (contract.name == std::string("normals2")) {
            EXPECT_EQ(typeAt(program, glGetUniformLocation(program, "shadowMap"), true), GLenum(GL_SAMPLER_2D_SHADOW));
        }
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Builds a Shader in a death-test child with stdout folded into stderr (the
// messages are split across both) and no console input, so the pause returns.
void buildExpectingDeath(const std::string& vertex, const std::string& fragment) {
    dup2(2, 1);
    if (!std::freopen("/dev/null", "r", stdin)) std::abort();
    Shader shader(vertex, fragment);
}

TEST(ShaderFailureDeathTest, EachFailureIsReportedAndEndsTheProgramAfterThePause) {
    TempDir dir;
    const std::string good = dir.write("good.vert", "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n");
    const std::string fragment = dir.write("good.frag", "#version 330 core\nout vec4 fragColor;\n"
                                                        "void main() { fragColor = vec4(1.0); }\n");
    const std::string missing = dir.path("none.frag");
    struct Case {
        const char* what;
        std::string vertex, fragment, expected;
    };
    const Case cases[] = {
        {"missing vertex file: stops before the fragment file", dir.path("none.vert"), missing,
         "^Failed to open File\nPress Enter to continue . . .\n$"},
        {"missing fragment file after the vertex shader compiled", good, missing, "^Failed to open File\nPress Enter"},
        {"empty file", dir.write("empty.vert", ""), fragment, "^Failed to compile shader\n"},
        {"compile error: the driver's log", dir.write("oops.vert", "#version 330 core\nvoid main() { oops; }\n"),
         fragment, "^Failed to compile shader\n.*oops.*Press Enter"},
        // Compiles on its own, but a program needs a main in every stage.
        {"link error: the driver's log", good, dir.write("nomain.frag", "#version 330 core\nout vec4 fragColor;\n"),
         "^Failed to link shader program\n.*main.*Press Enter"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(buildExpectingDeath(c.vertex, c.fragment), ::testing::ExitedWithCode(255), c.expected);
    }
}

class Textures : public ::testing::Test {
protected:
    TempDir dir;

    void TearDown() override {
        textureFilter = GL_LINEAR;
        mipmapFilter = GL_LINEAR_MIPMAP_LINEAR;
        glActiveTexture(GL_TEXTURE0);
        while (glGetError() != GL_NO_ERROR) {  // an empty texture's queries may leave errors
        }
    }

    // Saves a 16 x 16 image of one colour at `bpp` bits per pixel.
    std::string save(const std::string& name, FREE_IMAGE_FORMAT format, int bpp, BYTE r, BYTE g, BYTE b) {
        FIBITMAP* image = FreeImage_Allocate(16, 16, 24);
        RGBQUAD colour{b, g, r, 255};
        FreeImage_FillBackground(image, &colour);
        FIBITMAP* saved = bpp == 8 ? FreeImage_ConvertToGreyscale(image) : bpp == 32 ? FreeImage_ConvertTo32Bits(image) : image;
        const std::string path = dir.path(name);
        EXPECT_TRUE(FreeImage_Save(format, saved, path.c_str(), 0));
        if (saved != image) FreeImage_Unload(saved);
        FreeImage_Unload(image);
        return path;
    }

    // Loads `path` and returns what it wrote to stderr, then level 0's width
    // and its centre texel's RGB.
    static std::string load(const std::string& path, std::vector<int>& widthAndTexel) {
        ::testing::internal::CaptureStderr();
        Texture texture(path);
        std::fflush(stderr);
        const std::string err = ::testing::internal::GetCapturedStderr();
        GLint width = 0;
        glBindTexture(GL_TEXTURE_2D, texture.handle);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        widthAndTexel = {width};
        if (width > 0) {
            std::vector<unsigned char> pixels(size_t(width) * width * 3);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
            const size_t centre = (size_t(width / 2) * width + width / 2) * 3;
            widthAndTexel.insert(widthAndTexel.end(), {pixels[centre], pixels[centre + 1], pixels[centre + 2]});
        }
        return err;
    }
};

TEST_F(Textures, KeepTheirColoursAtEveryBitDepthAndUnreadableFilesGiveAnEmptyOne) {
    std::vector<int> got;
    EXPECT_EQ(load(save("red.jpg", FIF_JPEG, 24, 230, 20, 10), got), "");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_TRUE(got[0] == 16 && got[1] > 200 && got[3] < 40) << "red and blue in place";
    load(save("grey.jpg", FIF_JPEG, 8, 120, 120, 120), got);
    EXPECT_TRUE(got.size() == 4 && std::abs(got[1] - 120) < 5 && got[1] == got[2] && got[2] == got[3]) << "grey in all channels";
    load(save("blue.png", FIF_PNG, 32, 10, 20, 230), got);
    EXPECT_EQ(got, (std::vector<int>{16, 10, 20, 230})) << "converted from 32 bits";
    for (const std::string& path : {dir.path("missing.jpg"), dir.write("text.jpg", "this is not an image\n")}) {
        EXPECT_EQ(load(path, got), "Failed to load texture: " + path + "\n");
        EXPECT_EQ(got, std::vector<int>{0});
    }
}

TEST_F(Textures, BindAppliesTheCurrentFiltersOnItsUnit) {
    Texture texture(save("any.jpg", FIF_JPEG, 24, 1, 2, 3));
    textureFilter = GL_NEAREST;
    mipmapFilter = GL_NEAREST_MIPMAP_NEAREST;
    texture.bind(3);
    GLint active = 0, bound = 0, minFilter = 0, magFilter = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(std::vector<GLint>({active, bound, minFilter, magFilter}),
              std::vector<GLint>({GL_TEXTURE3, GLint(texture.handle), GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST}));
}

}  // namespace
