// Model import and bounding spheres, on OBJ files each test writes itself.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "scene/scene_object.h"
#include "tests/helpers.h"
#include "tests/temp_dir.h"

using namespace vesk::scene;

namespace {

struct Mesh {
    std::vector<unsigned int> indices;
    std::vector<float> positions, uvs, normals;
};

Mesh load(const std::string& path, float positionScale = 1.0f, float uvScale = 1.0f) {
    Mesh m;
    loadModel(path, positionScale, uvScale, m.indices, m.positions, m.uvs, m.normals);
    return m;
}

TEST(ModelImport, ConvertsToLeftHandedFlipsUvsAndWindingThenScalesAndZeroesWhatIsMissing) {
    TempDir dir;
    const Mesh m = load(dir.write("tri.obj", "v 1 2 3\nv 4 5 6\nv 7 8 10\n"
                                             "vt 0.25 0.1\nvt 0.5 0.2\nvt 0.75 0.3\nvn 0 0 1\n"
                                             "f 1/1/1 2/2/1 3/3/1\n"),
                        2.0f, 10.0f);
    // Left-handed: z mirrored, normals with it, winding reversed to match.
    EXPECT_EQ(m.indices, (std::vector<unsigned int>{2, 1, 0}));
    EXPECT_EQ(m.positions, (std::vector<float>{2, 4, -6, 8, 10, -12, 14, 16, -20}));
    EXPECT_EQ(m.normals, (std::vector<float>{0, 0, -1, 0, 0, -1, 0, 0, -1}));
    // v becomes 1 - v before the scale; normals are never scaled.
    const std::vector<float> expectedUvs{2.5f, 9.0f, 5.0f, 8.0f, 7.5f, 7.0f};
    ASSERT_EQ(m.uvs.size(), expectedUvs.size());
    for (size_t i = 0; i < expectedUvs.size(); ++i) EXPECT_FLOAT_EQ(m.uvs[i], expectedUvs[i]) << i;

    const Mesh bare = load(dir.write("bare.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 3\n"));
    EXPECT_EQ(bare.normals, std::vector<float>(9, 0.0f)) << "missing normals: zero, one per vertex";
    EXPECT_EQ(bare.uvs, std::vector<float>(6, 0.0f)) << "missing uvs: zero, one per vertex";
}

TEST(ModelImport, OnlyTheFirstMeshIsKept) {
    TempDir dir;
    dir.write("m.mtl", "newmtl red\nKd 1 0 0\nnewmtl blue\nKd 0 0 1\n");
    const Mesh m = load(dir.write("two.obj", "mtllib m.mtl\n"
                                             "o a\nusemtl red\nv 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 3\n"
                                             "o b\nusemtl blue\nv 5 0 0\nv 6 0 0\nv 6 1 0\nv 5 1 0\nf 4 5 6 7\n"));
    EXPECT_EQ(m.indices.size(), 3u);
    for (size_t i = 0; i < m.positions.size(); i += 3) EXPECT_LE(m.positions[i], 1.0f);
}

struct RefusedModel {
    const char* name;     // ending in '/': a folder
    const char* content;  // nullptr: nothing is created
    const char* reason;
};

class RefusedModelTest : public ::testing::TestWithParam<RefusedModel> {};

TEST_P(RefusedModelTest, ReportsOneLineNamingFileAndReasonAndLeavesNoMesh) {
    TempDir dir;
    const RefusedModel& c = GetParam();
    const std::string path = c.content ? dir.write(c.name, c.content) : dir.path(c.name);
    if (path.back() == '/') std::filesystem::create_directories(path);
    Mesh m;
    m.indices = {1, 2, 3};
    m.positions = m.normals = {1, 2, 3};
    m.uvs = {1, 2};

    ::testing::internal::CaptureStderr();
    loadModel(path, 1.0f, 1.0f, m.indices, m.positions, m.uvs, m.normals);
    const std::string err = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(err.rfind("Failed to load model \"" + path + "\": ", 0), 0u) << err;
    EXPECT_NE(err.find(c.reason), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "not one line: " << err;
    EXPECT_TRUE(m.indices.empty() && m.positions.empty() && m.uvs.empty() && m.normals.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RefusedModelTest,
    ::testing::Values(RefusedModel{"missing.obj", nullptr, "missing"},
                      RefusedModel{"folder/", nullptr, "not a readable model"},
                      RefusedModel{"noise.bin", "\x01\x02\x03 not a model \xff\xfe", "not a readable model"},
                      RefusedModel{"prose.obj", "this is prose, not a model\n", "no mesh"},
                      // Assimp turns a face-less OBJ into a point cloud.
                      RefusedModel{"vertices.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\n", "points or lines"},
                      RefusedModel{"lines.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nl 1 2 3\n", "points or lines"},
                      RefusedModel{"points.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\np 1 2 3\n", "points or lines"},
                      RefusedModel{"mixed.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 3\nl 1 2\n", "points or lines"},
                      RefusedModel{"badindex.obj", "v 0 0 0\nv 1 0 0\nf 1 2 9\n", "not a readable model"}),
    [](const ::testing::TestParamInfo<RefusedModel>& info) {
        const std::string name = info.param.name;
        return name.substr(0, name.find_first_of("./"));
    });

TEST(BoundingSphere, CentreIsTheVertexMeanAndRadiusTheFarthestVertex) {
    glm::vec3 center;
    double radius = -1.0;
    // A vertex twice over pulls the centre towards it: the mean, not the box centre.
    computeBoundingSphere({0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4}, center, radius);
    EXPECT_EQ(center, glm::vec3(0.75f, 0.0f, 1.0f));
    EXPECT_DOUBLE_EQ(radius, std::sqrt(0.75 * 0.75 + 3.0 * 3.0));
    // Distances are doubles of float differences: 0.1f is not 0.1.
    computeBoundingSphere({0.1f, 0, 0, -0.1f, 0, 0}, center, radius);
    EXPECT_EQ(radius, static_cast<double>(0.1f));
    computeBoundingSphere({5, -6, 7}, center, radius);
    EXPECT_EQ(center, glm::vec3(5, -6, 7));
    EXPECT_EQ(radius, 0.0);
    computeBoundingSphere({}, center, radius);
    EXPECT_EQ(center, glm::vec3(0.0f));
    EXPECT_EQ(radius, 0.0);
}

}  // namespace
