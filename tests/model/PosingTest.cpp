#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace tavren {
namespace {

using test::ChainModelText;
using test::RealModel;
using test::RecordingTextureLoader;
using test::WriteModelFile;

std::vector<TKeyFrame> Keys(std::initializer_list<TKeyFrame> keys) {
    return keys;
}

// Keys at 1, 16 and 30 as in the fish.
const std::vector<TKeyFrame> SwimKeys =
    Keys({{1, 0, -0.069813f, 2}, {16, 0, 0.069813f, 4}, {30, 0, -0.069813f, 8}});

TEST(InterpolateKeys, TakesTheFirstKeyBeforeTheLastKeyAfterAndLinearBetween) {
    struct Case {
        float Frame;
        TPoint Value;
    };
    const Case cases[] = {
        {0.5f, {0, -0.069813f, 2}}, {1, {0, -0.069813f, 2}},   {8.5f, {0, 0, 3}},
        {16, {0, 0.069813f, 4}},    {23, {0, 0, 6}},           {30, {0, -0.069813f, 8}},
        {40, {0, -0.069813f, 8}},   {NAN, {0, -0.069813f, 2}},
    };
    for (const Case& test : cases) {
        const TPoint value = InterpolateKeys(SwimKeys, test.Frame);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(value[axis], test.Value[axis], 1e-6f) << test.Frame << " axis " << axis;
        }
    }
    const std::vector<TKeyFrame> single = Keys({{1, 0.5f, 0.25f, 0.125f}});
    for (const float frame : {0.0f, 1.0f, 15.0f, 1e9f}) {
        EXPECT_EQ(InterpolateKeys(single, frame), (TPoint{0.5f, 0.25f, 0.125f}));
    }
}

TEST(InterpolateKeys, AssertsOnAnEmptyListAndOnAUsedPairThatDoesNotIncrease) {
    struct Case {
        std::vector<TKeyFrame> Keys;
        float Frame;
        bool Fails;
    };
    const Case cases[] = {
        {{}, 1, true},
        {Keys({{1, 0, 0, 0}, {1, 1, 1, 1}}), 1.5f, true},
        {Keys({{1, 0, 0, 0}, {1, 1, 1, 1}}), 0.5f, false},
        {Keys({{5, 0, 0, 0}, {2, 1, 1, 1}}), 6, true},
        {Keys({{1, 0, 0, 0}, {16, 1, 1, 1}, {10, 2, 2, 2}}), 5, false},
        {Keys({{1, 0, 0, 0}, {16, 1, 1, 1}, {10, 2, 2, 2}}), 20, true},
    };
    for (const Case& test : cases) {
        if (test.Fails) {
            try {
                InterpolateKeys(test.Keys, test.Frame);
                ADD_FAILURE() << "frame " << test.Frame << " gave no error";
            } catch (const ModelAssertionError& error) {
                EXPECT_EQ(std::string(error.what())
                              .rfind("Assertion failure (Boids\\Model.cpp, line ", 0),
                          0u)
                    << error.what();
            }
        } else {
            EXPECT_NO_THROW(InterpolateKeys(test.Keys, test.Frame)) << test.Frame;
        }
    }
}

class ChainModel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Model.LoadFromFile(WriteModelFile("chain.txt", ChainModelText()).string()));
    }
    std::vector<TPoint> Corners() const {
        std::vector<TPoint> corners;
        Model.ForEachCorner(Model.Meshes[0], [&](const TNormal*, const TVec&, const TPoint& at) {
            corners.push_back(at);
        });
        return corners;
    }
    void ExpectCorners(const std::vector<TPoint>& expected) const {
        const std::vector<TPoint> corners = Corners();
        ASSERT_EQ(corners.size(), expected.size());
        for (size_t corner = 0; corner < corners.size(); ++corner) {
            for (int axis = 0; axis < 3; ++axis) {
                EXPECT_NEAR(corners[corner][axis], expected[corner][axis], 1e-5f)
                    << "corner " << corner << " axis " << axis;
            }
        }
    }
    RecordingTextureLoader Textures;
    TModel Model{false, false, Textures.Function()};
};

TEST_F(ChainModel, BindsVerticesIntoTheirBonesSpace) {
    const std::vector<TVec>& vertices = Model.Meshes[0].Vertices;
    EXPECT_EQ((TPoint{vertices[1].X, vertices[1].Y, vertices[1].Z}), (TPoint{1, 0, 0}));
    EXPECT_EQ(Model.Bones[1].WorldMatrix[12], 1.0f);
    ExpectCorners({{1, 0, 0}, {2, 0, 0}, {0, 0, 3}});
}

TEST_F(ChainModel, APoseTurnsTheChildWithItsParent) {
    Model.Advance(5);
    EXPECT_EQ(Model.CurrentFrame, 6.0f);
    const float half = std::sqrt(0.5f);
    ExpectCorners({{half, half, 0}, {2 * half, 2 * half, 0}, {0, 0, 3}});
    Model.Advance(5);
    ExpectCorners({{0, 1, 0}, {0, 2, 0}, {0, 0, 3}});
    Model.Advance(100);
    EXPECT_EQ(Model.CurrentFrame, 1.0f);
    ExpectCorners({{1, 0, 0}, {2, 0, 0}, {0, 0, 3}});
}

TEST_F(ChainModel, AdvanceWrapsPastTheLastFrameToFrameOne) {
    struct Case {
        float From;
        float By;
        float To;
    };
    const Case cases[] = {
        {29.5f, 0.75f, 1}, {29.5f, 0.5f, 30}, {1, 0, 1}, {30, 1e-3f, 1}, {7, -3, 4}};
    for (const Case& test : cases) {
        Model.CurrentFrame = test.From;
        Model.Advance(test.By);
        EXPECT_EQ(Model.CurrentFrame, test.To) << test.From << " + " << test.By;
    }
    Model.CurrentFrame = 29.5f;
    Model.Advance(0.5f);
    ExpectCorners({{0, 1, 0}, {0, 2, 0}, {0, 0, 3}});
}

TEST(LoadFromFile, PosesAtTheStartFrameOrAtFrameOneWhenItIsBeyondTheEnd) {
    struct Case {
        const char* StartLine;
        float Frame;
    };
    for (const Case test : {Case{"Frame: 6", 6}, Case{"Frame: 31", 1}, Case{"", 0}}) {
        std::string text = ChainModelText();
        text.replace(text.find("Frame: 1"), 8, test.StartLine);
        TModel model(false, false, test::NoTextures());
        ASSERT_TRUE(model.LoadFromFile(WriteModelFile("start.txt", text).string()));
        EXPECT_EQ(model.CurrentFrame, test.Frame) << test.StartLine;
    }
}

TEST(LoadFromFile, ABoneWithoutKeysFailsWithTheAssertionError) {
    TModel model(false, false, test::NoTextures());
    try {
        model.LoadFromFile(RealModel("scorched3d_kenny2.txt").string());
        FAIL() << "loaded";
    } catch (const ModelAssertionError& error) {
        const std::string message = error.what();
        EXPECT_NE(
            message.find(
                "scorched3d_kenny2.txt: bone \"body\": Assertion failure (Boids\\Model.cpp, line "),
            std::string::npos)
            << message;
    }
}

struct RealModelCounts {
    const char* File;
    float TotalFrames;
    float CurrentFrame;
    size_t Meshes, Vertices, Normals, Triangles, Materials, Bones, UnmaterialedMeshes;
};

TEST(RealModels, LoadWithTheCountsTheirFilesHold) {
    const RealModelCounts cases[] = {
        {"scorched3d_arara.txt", 25, 1, 8, 131, 155, 201, 1, 7, 0},
        {"scorched3d_bird.txt", 40, 1, 14, 422, 376, 487, 3, 17, 7},
        {"scorched3d_burntsmallpine.txt", 30, 1, 1, 4, 4, 3, 1, 0, 0},
        {"scorched3d_cannon.txt", 30, 1, 11, 2556, 852, 852, 11, 0, 0},
        {"scorched3d_eagle2.txt", 30, 1, 3, 141, 153, 274, 1, 0, 2},
        {"scorched3d_flare.txt", 30, 1, 1, 20, 6, 12, 0, 0, 1},
        {"scorched3d_seagull.txt", 25, 1, 8, 131, 157, 201, 1, 7, 0},
        {"scorched3d_sub.txt", 40, 38, 1, 155, 148, 264, 1, 1, 0},
        {"stepmania_kb7_orbital_note.txt", 30, 1, 2, 82, 66, 128, 2, 0, 0},
    };
    for (const RealModelCounts& test : cases) {
        RecordingTextureLoader textures;
        TModel model(false, false, textures.Function());
        EXPECT_TRUE(model.LoadFromFile(RealModel(test.File).string())) << test.File;
        size_t vertices = 0, normals = 0, triangles = 0, unmaterialed = 0;
        for (size_t mesh = 0; mesh < model.Meshes.size(); ++mesh) {
            vertices += model.Meshes[mesh].Vertices.size();
            normals += model.Meshes[mesh].Normals.size();
            triangles += model.Meshes[mesh].Triangles.size();
            unmaterialed += model.MeshMaterials[mesh] < 0 ? 1 : 0;
        }
        EXPECT_EQ(model.TotalFrames, test.TotalFrames) << test.File;
        EXPECT_EQ(model.CurrentFrame, test.CurrentFrame) << test.File;
        EXPECT_EQ(model.Meshes.size(), test.Meshes) << test.File;
        EXPECT_EQ(vertices, test.Vertices) << test.File;
        EXPECT_EQ(normals, test.Normals) << test.File;
        EXPECT_EQ(triangles, test.Triangles) << test.File;
        EXPECT_EQ(model.Materials.size(), test.Materials) << test.File;
        EXPECT_EQ(model.Bones.size(), test.Bones) << test.File;
        EXPECT_EQ(unmaterialed, test.UnmaterialedMeshes) << test.File;
        // Every texture named is resolved once; the empty names are not.
        size_t named = 0;
        for (const TMaterial& material : model.Materials) {
            named += material.TextureFile.empty() ? 0 : 1;
        }
        EXPECT_EQ(textures.Files.size(), named) << test.File;
    }
}

TEST(RealModels, KeepTheirNamesAndParents) {
    TModel bird(false, false, test::NoTextures());
    ASSERT_TRUE(bird.LoadFromFile(RealModel("scorched3d_bird.txt").string()));
    EXPECT_EQ(bird.Bones[0].Name, "Torso*");
    EXPECT_EQ(bird.Bones[1].Name, "H\xfc"
                                  "fte");
    for (const TBone& bone : bird.Bones) {
        EXPECT_EQ(bone.Parent == nullptr, bone.ParentName.empty()) << bone.Name;
        if (bone.Parent != nullptr) {
            EXPECT_EQ(bone.Parent->Name, bone.ParentName);
        }
    }
    TModel cannon(false, false, test::NoTextures());
    ASSERT_TRUE(cannon.LoadFromFile(RealModel("scorched3d_cannon.txt").string()));
    EXPECT_EQ(cannon.Materials[0].Name, "main");
    EXPECT_EQ(cannon.Materials[0].TextureFile, ".\\cannon.jpg");
    // The vertex line "0 0.5104 4.2321 -0.2187 0.62787 4e-05 -1".
    size_t found = 0;
    for (const TShape& mesh : cannon.Meshes) {
        for (const TVec& vertex : mesh.Vertices) {
            if (vertex.X == 0.5104f && vertex.Y == 4.2321f && vertex.Z == -0.2187f &&
                vertex.U == 0.62787f) {
                EXPECT_EQ(vertex.V, 1.0f - 4e-05f);
                EXPECT_EQ(vertex.Bone, -1);
                ++found;
            }
        }
    }
    EXPECT_GE(found, 1u);
}

// Every vertex position of a model's file, in file order, for each mesh.
std::vector<std::vector<TPoint>> FilePositions(const TModel& unbound) {
    std::vector<std::vector<TPoint>> positions;
    for (const TShape& mesh : unbound.Meshes) {
        positions.emplace_back();
        for (const TVec& vertex : mesh.Vertices) {
            positions.back().push_back({vertex.X, vertex.Y, vertex.Z});
        }
    }
    return positions;
}

void ExpectPosedAtFilePositionsPlus(const TModel& model,
                                    const std::vector<std::vector<TPoint>>& file,
                                    const TPoint& shift, float tolerance) {
    for (size_t mesh = 0; mesh < model.Meshes.size(); ++mesh) {
        const std::vector<TVec>& vertices = model.Meshes[mesh].Vertices;
        for (size_t vertex = 0; vertex < vertices.size(); ++vertex) {
            const TPoint posed = model.PosedPosition(vertices[vertex]);
            for (int axis = 0; axis < 3; ++axis) {
                EXPECT_NEAR(posed[axis], file[mesh][vertex][axis] + shift[axis], tolerance)
                    << "mesh " << mesh << " vertex " << vertex << " axis " << axis;
            }
        }
    }
}

// The file positions of a real model: loaded without its bones, no vertex is bound.
std::vector<std::vector<TPoint>> FilePositionsOf(const char* name) {
    std::ifstream file(RealModel(name), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    text.erase(text.find("Bones: "));
    TModel unbound(false, false, test::NoTextures());
    EXPECT_TRUE(unbound.LoadFromFile(WriteModelFile("unbound.txt", text).string()));
    return FilePositions(unbound);
}

TEST(RealModels, ComeBackToTheirFilePositionsWhereEveryKeyIsZero) {
    const auto seagullFile = FilePositionsOf("scorched3d_seagull.txt");
    TModel seagull(false, false, test::NoTextures());
    ASSERT_TRUE(seagull.LoadFromFile(RealModel("scorched3d_seagull.txt").string()));
    seagull.Advance(24);
    EXPECT_EQ(seagull.CurrentFrame, 25.0f);
    ExpectPosedAtFilePositionsPlus(seagull, seagullFile, {0, 0, 0}, 2e-4f);

    // The sub's one bone has zero keys at 1 and from 31 on, (0, -5, 0) at 25 and (0, -4, 0) at
    // 27; the load poses it at frame 38.
    const auto subFile = FilePositionsOf("scorched3d_sub.txt");
    TModel sub(false, false, test::NoTextures());
    ASSERT_TRUE(sub.LoadFromFile(RealModel("scorched3d_sub.txt").string()));
    ExpectPosedAtFilePositionsPlus(sub, subFile, {0, 0, 0}, 1e-4f);
    sub.Advance(3);
    EXPECT_EQ(sub.CurrentFrame, 1.0f);
    sub.Advance(24);
    ExpectPosedAtFilePositionsPlus(sub, subFile, {0, -5, 0}, 1e-4f);
    sub.Advance(1);
    EXPECT_EQ(sub.CurrentFrame, 26.0f);
    ExpectPosedAtFilePositionsPlus(sub, subFile, {0, -4.5f, 0}, 1e-4f);
    const TPoint first = sub.PosedPosition(sub.Meshes[0].Vertices[0]);
    EXPECT_NEAR(first[1], 34.134750f - 4.5f, 1e-4f);
    EXPECT_NEAR(first[2], -0.042387f, 1e-4f);
}

TEST(RealModels, TheSeagullsWingsMoveBetweenFrames) {
    TModel seagull(false, false, test::NoTextures());
    ASSERT_TRUE(seagull.LoadFromFile(RealModel("scorched3d_seagull.txt").string()));
    const auto& vertices = seagull.Meshes[2].Vertices; // "rightwing"
    std::vector<TPoint> before;
    for (const TVec& vertex : vertices) {
        before.push_back(seagull.PosedPosition(vertex));
    }
    seagull.Advance(7);
    float largest = 0;
    for (size_t vertex = 0; vertex < vertices.size(); ++vertex) {
        const TPoint after = seagull.PosedPosition(vertices[vertex]);
        for (int axis = 0; axis < 3; ++axis) {
            largest = std::max(largest, std::abs(after[axis] - before[vertex][axis]));
        }
    }
    EXPECT_GT(largest, 1.0f);
}

} // namespace
} // namespace tavren
