#include "ModelFileReader.h"
#include "ModelViews.h"

#include "tools/PngFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace tavren {
namespace {

class FishModel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        file = new ModelFile(ReadModelFile(AssetPath("models/Tavren.pp1")));
    }
    static void TearDownTestSuite() {
        delete file;
        file = nullptr;
    }
    static const ModelText& Model() { return file->Model; }
    static ModelFile* file;
};

ModelFile* FishModel::file = nullptr;

struct BoneExpectation {
    const char* Name;
    const char* Parent;
    bool Swims;
};

const BoneExpectation Bones[] = {
    {"Middle", "", true},
    {"FinBase", "Middle", true},
    {"Back1", "FinBase", true},
    {"Back2", "Back1", true},
    {"Back3", "Back2", true},
    {"TailBegin", "Back3", true},
    {"TailJoint", "TailBegin", true},
    {"UpperFin1", "TailJoint", true},
    {"UpperFin2", "UpperFin1", true},
    {"UpperFin3", "UpperFin2", true},
    {"LowerFin1", "TailJoint", true},
    {"LowerFin2", "LowerFin1", true},
    {"TopMFin1", "FinBase", true},
    {"TopMFin2", "TopMFin1", false},
    {"Forward", "Middle", true},
    {"Head", "Forward", true},
    {"DorsalRight", "Middle", false},
    {"DorsalLeft", "Middle", false},
};

TEST_F(FishModel, HeaderAndSections) {
    const std::vector<std::string>& lines = file->Lines;
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "// MilkShape 3D ASCII");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Frames: 30");
    EXPECT_EQ(lines[3], "Frame: 7");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "Meshes: 3");
    ASSERT_LT(file->LineAfterLastTriangle, lines.size());
    EXPECT_EQ(lines[file->LineAfterLastTriangle], "");
    EXPECT_EQ(Model().ElementFlags, 1);
    ASSERT_EQ(Model().Materials.size(), 1u);
    EXPECT_EQ(Model().Materials[0].Name, "Material01");
    EXPECT_EQ(Model().Materials[0].Texture, "Tavren201.bmp");
}

TEST_F(FishModel, MeshesFollowTheirBones) {
    ASSERT_EQ(Model().Meshes.size(), 3u);
    const struct {
        const char* Name;
        std::set<int> Bones;
    } expected[] = {
        {"Regroup03", {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"DorsalFin", {17}},
        {"Duplicate05", {16}},
    };
    for (size_t m = 0; m < 3; ++m) {
        const ModelMesh& mesh = Model().Meshes[m];
        EXPECT_EQ(mesh.Name, expected[m].Name);
        EXPECT_EQ(mesh.Flags, 1);
        EXPECT_EQ(mesh.Material, 0);
        std::set<int> bones;
        for (const ModelVertex& v : mesh.Vertices) {
            bones.insert(v.Bone);
        }
        EXPECT_EQ(bones, expected[m].Bones) << mesh.Name;
    }
    const ModelMesh& body = Model().Meshes[0];
    EXPECT_GE(body.Vertices.size(), 250u);
    EXPECT_LE(body.Vertices.size(), 450u);
    EXPECT_GE(body.Triangles.size(), 550u);
    EXPECT_LE(body.Triangles.size(), 800u);
}

TEST_F(FishModel, BonesKeysAndSwing) {
    ASSERT_EQ(Model().Bones.size(), std::size(Bones));
    std::map<std::string, size_t> seen;
    for (size_t i = 0; i < Model().Bones.size(); ++i) {
        const ModelBone& bone = Model().Bones[i];
        SCOPED_TRACE(bone.Name);
        EXPECT_EQ(bone.Name, Bones[i].Name);
        EXPECT_EQ(bone.Parent, Bones[i].Parent);
        EXPECT_TRUE(bone.Parent.empty() || seen.count(bone.Parent)) << "parent comes first";
        EXPECT_EQ(bone.Flags, bone.Name == "Back1" ? 29 : 21);
        seen.emplace(bone.Name, i);
        if (!Bones[i].Swims) {
            ASSERT_EQ(bone.PositionKeys.size(), 1u);
            ASSERT_EQ(bone.RotationKeys.size(), 1u);
            for (const ModelKey& key : {bone.PositionKeys[0], bone.RotationKeys[0]}) {
                EXPECT_EQ(key.Time, 1.0f);
                EXPECT_EQ(Length(key.Value), 0.0f);
            }
            continue;
        }
        for (const auto* keys : {&bone.PositionKeys, &bone.RotationKeys}) {
            ASSERT_EQ(keys->size(), 3u);
            EXPECT_EQ((*keys)[0].Time, 1.0f);
            EXPECT_EQ((*keys)[1].Time, 16.0f);
            EXPECT_EQ((*keys)[2].Time, 30.0f);
            EXPECT_LT(Length((*keys)[2].Value - (*keys)[0].Value), 0.001f) << "the swim loops";
        }
        const Vec3 swing = bone.RotationKeys[1].Value;
        EXPECT_EQ(swing.X, 0.0f);
        EXPECT_EQ(swing.Z, 0.0f);
        EXPECT_NEAR(bone.RotationKeys[0].Value.Y, -swing.Y, 1e-6f);
        EXPECT_GT(std::fabs(swing.Y), 0.01f);
        EXPECT_LT(std::fabs(swing.Y), 0.15f);
    }
    EXPECT_NEAR(Model().Bones[0].RotationKeys[1].Value.Y, 0.069813f, 1e-6f);
    // The body bends more toward the tail.
    float previous = 0.0f;
    for (const char* name : {"FinBase", "Back1", "Back2", "Back3", "TailBegin", "TailJoint"}) {
        const float swing = Model().Bones[seen.at(name)].RotationKeys[1].Value.Y;
        EXPECT_GE(swing, previous) << name;
        previous = swing;
    }
}

TEST_F(FishModel, BoundsAndHead) {
    Vec3 low{1e9f, 1e9f, 1e9f};
    Vec3 high{-1e9f, -1e9f, -1e9f};
    bool headNearNose = false;
    for (const ModelMesh& mesh : Model().Meshes) {
        for (const ModelVertex& v : mesh.Vertices) {
            low = {std::min(low.X, v.Position.X), std::min(low.Y, v.Position.Y),
                   std::min(low.Z, v.Position.Z)};
            high = {std::max(high.X, v.Position.X), std::max(high.Y, v.Position.Y),
                    std::max(high.Z, v.Position.Z)};
            headNearNose |= v.Bone == 15 && std::fabs(v.Position.Z + 69.0f) < 1.0f;
        }
    }
    EXPECT_TRUE(headNearNose);
    EXPECT_NEAR(low.X, -32.0f, 2.0f);
    EXPECT_NEAR(high.X, 33.0f, 2.0f);
    EXPECT_NEAR(low.Y, -24.0f, 2.0f);
    EXPECT_NEAR(high.Y, 28.0f, 2.0f);
    EXPECT_NEAR(low.Z, -70.0f, 1.5f);
    EXPECT_NEAR(high.Z, 97.0f, 2.0f);
}

// Every mesh is closed: each edge is used once in each direction, so the surface has no holes
// and consistent winding.
TEST_F(FishModel, MeshesAreClosedWithUnitNormals) {
    for (const ModelMesh& mesh : Model().Meshes) {
        SCOPED_TRACE(mesh.Name);
        std::map<std::pair<int, int>, int> edges;
        for (const ModelTriangle& t : mesh.Triangles) {
            for (int k = 0; k < 3; ++k) {
                ASSERT_GE(t.Vertices[k], 0);
                ASSERT_LT(t.Vertices[k], static_cast<int>(mesh.Vertices.size()));
                ASSERT_GE(t.Normals[k], 0);
                ASSERT_LT(t.Normals[k], static_cast<int>(mesh.Normals.size()));
                ++edges[{t.Vertices[k], t.Vertices[(k + 1) % 3]}];
            }
        }
        for (const auto& [edge, count] : edges) {
            EXPECT_EQ(count, 1) << edge.first << "-" << edge.second;
            EXPECT_EQ(edges.count({edge.second, edge.first}), 1u)
                << edge.first << "-" << edge.second;
        }
        for (const Vec3& n : mesh.Normals) {
            EXPECT_NEAR(Length(n), 1.0f, 1e-3f);
        }
    }
}

// Texture coordinates lie on the picture and on the fish painted in it, not on the black.
TEST_F(FishModel, TextureCoordinatesLandOnTheFish) {
    const RgbaPicture skin = ReadPng(AssetPath("pictures/Tavren201.png"));
    ASSERT_EQ(skin.Width, 405);
    ASSERT_EQ(skin.Height, 257);
    for (const ModelMesh& mesh : Model().Meshes) {
        int dark = 0;
        for (const ModelVertex& v : mesh.Vertices) {
            ASSERT_GE(v.U, 0.0f);
            ASSERT_LE(v.U, 1.0f);
            ASSERT_GE(v.V, 0.0f);
            ASSERT_LE(v.V, 1.0f);
            const int x = std::min(skin.Width - 1, static_cast<int>(v.U * skin.Width));
            const int y = std::min(skin.Height - 1, static_cast<int>(v.V * skin.Height));
            const uint8_t* p = &skin.Pixels[(static_cast<size_t>(y) * skin.Width + x) * 4];
            dark += p[0] + p[1] + p[2] < 3 * 12;
        }
        // Fin edges fray into the black; the rest of every mesh is painted.
        EXPECT_LE(dark, static_cast<int>(mesh.Vertices.size()) / 10) << mesh.Name;
    }
}

// Posed at the middle key, the tail has swung to the side and the body bends progressively.
TEST_F(FishModel, TheTailSwingsFurtherThanTheHead) {
    const std::vector<Mat4> first = PoseBones(Model(), 1.0f);
    const std::vector<Mat4> middle = PoseBones(Model(), 16.0f);
    auto sideways = [&](size_t bone) {
        return std::fabs(middle[bone].TransformPoint({0, 0, 0}).X -
                         first[bone].TransformPoint({0, 0, 0}).X);
    };
    EXPECT_GT(sideways(9), sideways(5));
    EXPECT_GT(sideways(5), sideways(2));
    EXPECT_GT(sideways(9), 10.0f);
    EXPECT_LT(sideways(15), sideways(9));
}

} // namespace
} // namespace tavren
