#include "ModelFileReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tavren {
namespace {

TEST(TerrainModel, FormAndGrid) {
    const ModelFile file = ReadModelFile(AssetPath("models/Tavren.pp2"));
    const ModelText& model = file.Model;
    ASSERT_GE(file.Lines.size(), 6u);
    EXPECT_EQ(file.Lines[0], "// MilkShape 3D ASCII");
    EXPECT_EQ(file.Lines[2], "Frames: 30");
    EXPECT_EQ(file.Lines[3], "Frame: 1");
    EXPECT_EQ(file.Lines.back(), "Bones: 0");
    EXPECT_EQ(file.Lines[file.LineAfterLastTriangle], "");
    EXPECT_EQ(model.ElementFlags, 0);
    ASSERT_EQ(model.Materials.size(), 1u);
    EXPECT_EQ(model.Materials[0].Name, "Sand");
    EXPECT_EQ(model.Materials[0].Texture, ".\\Tavren202.bmp");
    EXPECT_TRUE(model.Bones.empty());
    ASSERT_EQ(model.Meshes.size(), 1u);
    const ModelMesh& mesh = model.Meshes[0];
    EXPECT_EQ(mesh.Name, "terrain");
    EXPECT_EQ(mesh.Flags, 0);
    EXPECT_EQ(mesh.Material, 0);
    EXPECT_EQ(mesh.Triangles.size(), 31u * 31u * 2u);

    std::set<float> xs;
    std::set<float> zs;
    float lowest = 1e9f;
    float highest = -1e9f;
    float widestU = 0.0f;
    for (const ModelVertex& v : mesh.Vertices) {
        EXPECT_EQ(v.Bone, -1);
        xs.insert(v.Position.X);
        zs.insert(v.Position.Z);
        lowest = std::min(lowest, v.Position.Y);
        highest = std::max(highest, v.Position.Y);
        widestU = std::max(widestU, v.U);
    }
    ASSERT_EQ(xs.size(), 32u);
    ASSERT_EQ(zs.size(), 32u);
    EXPECT_EQ(*xs.begin(), -242.5f);
    EXPECT_EQ(*xs.rbegin(), 222.5f);
    EXPECT_EQ(*zs.begin(), -165.0f);
    EXPECT_EQ(*zs.rbegin(), 145.0f);
    EXPECT_NEAR(lowest, 43.0f, 0.5f);
    EXPECT_NEAR(highest, 93.0f, 0.5f);
    EXPECT_GE(widestU, 3.0f) << "the sand tiles several times across";
    for (const Vec3& n : mesh.Normals) {
        EXPECT_NEAR(Length(n), 1.0f, 1e-3f);
        EXPECT_GT(n.Y, 0.5f) << "gentle dunes face upward";
    }
}

} // namespace
} // namespace tavren
