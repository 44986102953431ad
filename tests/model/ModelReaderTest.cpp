#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

namespace tavren {
namespace {

using test::ChainModelText;
using test::RecordingTextureLoader;
using test::WriteModelFile;

// Loads text written as a file; throws what the loader throws.
struct LoadedModel {
    explicit LoadedModel(std::string_view text, bool multitexture = false, bool caustics = false)
        : Model(multitexture, caustics, Textures.Function()) {
        Loaded = Model.LoadFromFile(WriteModelFile("model.txt", text).string());
    }
    RecordingTextureLoader Textures;
    TModel Model;
    bool Loaded = false;
};

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

// The chain model cut right after the first occurrence of a line.
std::string CutAfter(std::string_view line) {
    const std::string text = ChainModelText();
    const size_t at = text.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    return text.substr(0, at + line.size());
}

TEST(ClassifyModelLine, TakesTheFirstTestALinePasses) {
    struct Case {
        const char* Line;
        ModelLineKind Kind;
    };
    const Case cases[] = {
        {"// MilkShape 3D ASCII", ModelLineKind::Comment},
        {"//Frames: 3", ModelLineKind::Comment},
        {"", ModelLineKind::Empty},
        {"Frames: 30", ModelLineKind::TotalFrames},
        {"Frames:30", ModelLineKind::TotalFrames},
        {"Frame: 7", ModelLineKind::StartFrame},
        {"Meshes: 3", ModelLineKind::Meshes},
        {"Materials: 1", ModelLineKind::Materials},
        {"Bones: 18", ModelLineKind::Bones},
        {" Frames: 30", ModelLineKind::Other},
        {"frames: 30", ModelLineKind::Other},
        {"Meshes:3", ModelLineKind::Other},
        {"Materials:1", ModelLineKind::Other},
        {"Bones:0", ModelLineKind::Other},
        {"GroupComments: 0", ModelLineKind::Other},
        {" ", ModelLineKind::Other},
        {"/", ModelLineKind::Other},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(ClassifyModelLine(test.Line), test.Kind) << test.Line;
    }
}

TEST(KeywordValue, IsConvertedAsAWholeInteger) {
    struct Case {
        const char* Line;
        std::optional<int32_t> Value;
    };
    const Case cases[] = {
        {"Frames: 30", 30},
        {"Frames:30", 30},
        {"Frames:   -4", -4},
        {"Frame: 7", 7},
        {"Frame:+7", 7},
        {"Meshes: 3", 3},
        {"Meshes: Meshes: 3", 3},
        {"Bones: 0", 0},
        {"Frames: 30 ", std::nullopt},
        {"Frames: 3x", std::nullopt},
        {"Frames: ", std::nullopt},
        {"Frame: 1.0", std::nullopt},
        {"Meshes: 99999999999", std::nullopt},
        {"Materials: 1 2", std::nullopt},
    };
    for (const Case& test : cases) {
        const ModelLineKind kind = ClassifyModelLine(test.Line);
        EXPECT_EQ(ParseWholeInteger(KeywordValueText(kind, test.Line)), test.Value) << test.Line;
    }
}

TEST(ParseDecimalReal, TakesDecimalRealsWithAPointOnly) {
    EXPECT_EQ(ParseDecimalReal("-0.958969"), -0.958969f);
    EXPECT_EQ(ParseDecimalReal("4e-05"), 4e-05f);
    EXPECT_EQ(ParseDecimalReal("+1.5"), 1.5f);
    EXPECT_EQ(ParseDecimalReal(".5"), 0.5f);
    EXPECT_EQ(ParseDecimalReal("7"), 7.0f);
    EXPECT_EQ(ParseDecimalReal("1e-60"), 0.0f);
    EXPECT_EQ(ParseDecimalReal("-1e-400"), -0.0f);
    for (const char* bad :
         {"", "-", "1,5", "nan", "inf", "-inf", "0x1p3", "1.5.2", "--1", "1e", "1e39", "-1e400"}) {
        EXPECT_FALSE(ParseDecimalReal(bad)) << bad;
    }
}

TEST(ModelTextReader, ReadsNumbersAcrossBlanksAndLineEndsAndZeroAtTheEnd) {
    ModelTextReader reader("numbers.txt", "  12\t-3 extra\r\n\r\n 0.5\n7");
    EXPECT_EQ(reader.ReadInteger(), 12);
    EXPECT_EQ(reader.ReadInteger(), -3);
    reader.SkipLine();
    EXPECT_EQ(reader.ReadReal(), 0.5f);
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_EQ(reader.ReadInteger(), 7);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadInteger(), 0);
    EXPECT_EQ(reader.ReadLine(), "");
}

TEST(ModelTextReader, NamesTheFileAndLineOfAWordThatIsNoNumber) {
    ModelTextReader reader("bad.txt", "1 2\r\n3 x4\r\n");
    reader.ReadInteger();
    reader.ReadInteger();
    reader.ReadInteger();
    try {
        reader.ReadInteger();
        FAIL() << "no error";
    } catch (const ModelInputError& error) {
        EXPECT_STREQ(error.what(), "bad.txt, line 2: \"x4\" is not a valid integer");
    }
    ModelTextReader reals("bad.txt", "1.5.5");
    EXPECT_THROW(reals.ReadReal(), ModelInputError);
    ModelTextReader huge("bad.txt", "3000000000");
    EXPECT_THROW(huge.ReadInteger(), ModelInputError);
}

TEST(MeshHeader, GivesTheMaterialIndexAfterTheNameAndFlags) {
    const ModelTextReader file("mesh.txt", "");
    EXPECT_EQ(MeshHeaderMaterial(file, "\"terrain\" 0 0"), 0);
    EXPECT_EQ(MeshHeaderMaterial(file, "\"flare\" 0 -1"), -1);
    EXPECT_EQ(MeshHeaderMaterial(file, "\"Regroup03\" 1 12"), 12);
    EXPECT_EQ(MeshHeaderMaterial(file, "\"a\"b\" 1 2"), 2);
    for (const char* bad : {"\"two words\" 1 0", "\"x\" 1 0 ", "\"x\" 1", "\"x\"", "\"x\"  1 0",
                            "\"x\" 1.0 0", "\"x\" 1 zero"}) {
        EXPECT_THROW(MeshHeaderMaterial(file, bad), ModelConversionError) << bad;
    }
}

TEST(LoadFromFile, ReadsEveryFieldOfTheChainModel) {
    LoadedModel loaded(ChainModelText());
    const TModel& model = loaded.Model;
    EXPECT_TRUE(loaded.Loaded);
    EXPECT_EQ(model.TotalFrames, 30.0f);
    EXPECT_EQ(model.CurrentFrame, 1.0f);
    ASSERT_EQ(model.Meshes.size(), 1u);
    EXPECT_EQ(model.MeshMaterials, std::vector<int32_t>{0});
    const TShape& mesh = model.Meshes[0];
    EXPECT_EQ(mesh.VertexCount, 3);
    ASSERT_EQ(mesh.Vertices.size(), 3u);
    EXPECT_EQ(mesh.Vertices[0].U, 0.25f);
    EXPECT_EQ(mesh.Vertices[0].V, 0.25f);
    EXPECT_EQ(mesh.Vertices[1].Bone, 1);
    EXPECT_EQ(mesh.Vertices[2].Bone, -1);
    EXPECT_EQ(mesh.Vertices[2].Z, 3.0f);
    ASSERT_EQ(mesh.Triangles.size(), 1u);
    EXPECT_EQ(mesh.Triangles[0].VertexIndices, (std::array<int32_t, 3>{0, 1, 2}));

    ASSERT_EQ(model.Materials.size(), 1u);
    const TMaterial& material = model.Materials[0];
    EXPECT_EQ(material.Name, "skin");
    EXPECT_EQ(material.Ambient, (std::array<float, 4>{0.2f, 0.2f, 0.2f, 1.0f}));
    EXPECT_EQ(material.Diffuse, (std::array<float, 4>{0.8f, 0.8f, 0.8f, 1.0f}));
    EXPECT_EQ(material.Transparency, 1.0f);
    EXPECT_EQ(material.Texture, 0u);
    EXPECT_TRUE(loaded.Textures.Files.empty());

    ASSERT_EQ(model.Bones.size(), 2u);
    EXPECT_EQ(model.Bones[0].Parent, nullptr);
    EXPECT_EQ(model.Bones[1].Parent, &model.Bones[0]);
    EXPECT_EQ(model.Bones[1].Position, (TPoint{1, 0, 0}));
    EXPECT_EQ(model.Bones[0].RotationKeys.size(), 2u);
    EXPECT_EQ(model.Bones[0].RotationKeys[1].Z, 1.570796f);
}

TEST(LoadFromFile, ReadsAVertexLineWithOrWithoutExtraValues) {
    for (const char* extra : {"", " 99 x"}) {
        const std::string line =
            std::string("1 -0.958969 -2.714286 -68.994423 0.133731 0.560487 15") + extra;
        LoadedModel loaded(Replaced(
            Replaced(ChainModelText(), "1 1.000000 0.000000 0.000000 0.250000 0.750000 0", line),
            "Bones: 2", "Bones: 0"));
        const TVec& vertex = loaded.Model.Meshes[0].Vertices[0];
        EXPECT_EQ(vertex.X, -0.958969f);
        EXPECT_EQ(vertex.Y, -2.714286f);
        EXPECT_EQ(vertex.Z, -68.994423f);
        EXPECT_EQ(vertex.U, 0.133731f);
        EXPECT_EQ(vertex.V, 1.0f - 0.560487f);
        EXPECT_FLOAT_EQ(vertex.V, 0.439513f);
        EXPECT_EQ(vertex.Bone, 15);
    }
}

TEST(LoadFromFile, IgnoresKeywordsThatAreNotAtTheStartOrWithoutTheirBlank) {
    // With no blank after "Meshes:" the mesh lines are read at the top level and ignored.
    LoadedModel loaded(Replaced(Replaced(ChainModelText(), "Meshes: 1", "Meshes:1"), "Frames: 30",
                                " Frames: 12\r\nframes: 13"));
    EXPECT_TRUE(loaded.Loaded);
    EXPECT_TRUE(loaded.Model.Meshes.empty());
    EXPECT_EQ(loaded.Model.MeshCount, 0);
    EXPECT_EQ(loaded.Model.TotalFrames, 0.0f);
    EXPECT_EQ(loaded.Model.Materials.size(), 1u);
}

TEST(LoadFromFile, RaisesTheLoadersErrorsNamingFileAndLine) {
    struct Case {
        const char* From;
        const char* To;
        const char* Message;
    };
    const Case cases[] = {
        {"Frames: 30", "Frames: 30 ", "model.txt, line 3: \" 30 \" is not a valid integer value"},
        {"Meshes: 1", "Meshes: one", "model.txt, line 6: \"one\" is not a valid integer value"},
        {"\"body\" 1 0", "\"the body\" 1 0", "line 7: \"body\" is not a valid integer value"},
        {"0.000000 0.000000 1.000000", "0.000000 0,5 1.000000",
         "model.txt, line 13: \"0,5\" is not a valid number"},
        {"3\r\n1 1.0", "// 3\r\n1 1.0", "line 8: \"//\" is not a valid integer"},
    };
    for (const Case& test : cases) {
        try {
            LoadedModel loaded(Replaced(ChainModelText(), test.From, test.To));
            ADD_FAILURE() << test.To << " loaded";
        } catch (const ModelError& error) {
            EXPECT_NE(std::string(error.what()).find(test.Message), std::string::npos)
                << error.what();
        }
    }
    EXPECT_THROW(LoadedModel(Replaced(ChainModelText(), "Frame: 1", "Frame: x")),
                 ModelConversionError);
    EXPECT_THROW(LoadedModel(Replaced(ChainModelText(), "1.000000\r\n\"\"", "1.0x\r\n\"\"")),
                 ModelInputError);

    TModel model(false, false, test::NoTextures());
    try {
        model.LoadFromFile("/no/such/folder/Tavren.pp1");
        FAIL() << "no error";
    } catch (const ModelInputError& error) {
        EXPECT_NE(std::string(error.what()).find("\"/no/such/folder/Tavren.pp1\""),
                  std::string::npos);
    }
}

TEST(LoadFromFile, AssertsThatTriangleVertexIndicesLieInTheMesh) {
    for (const char* triangle : {"1 0 1 3 0 0 0 1", "1 -1 1 2 0 0 0 1"}) {
        try {
            LoadedModel loaded(Replaced(ChainModelText(), "1 0 1 2 0 0 0 1", triangle));
            ADD_FAILURE() << triangle << " loaded";
        } catch (const ModelAssertionError& error) {
            const std::string message = error.what();
            EXPECT_NE(
                message.find("model.txt, line 15: Assertion failure (Boids\\Model.cpp, line "),
                std::string::npos)
                << message;
        }
    }
    // Normal indices are not checked while loading; the drawing leaves such a normal out.
    LoadedModel loaded(Replaced(ChainModelText(), "1 0 1 2 0 0 0 1", "1 0 1 2 0 1 -7 1"));
    EXPECT_TRUE(loaded.Loaded);
    std::vector<const TNormal*> normals;
    loaded.Model.ForEachCorner(
        loaded.Model.Meshes[0],
        [&](const TNormal* normal, const TVec&, const TPoint&) { normals.push_back(normal); });
    EXPECT_EQ(normals,
              (std::vector<const TNormal*>{&loaded.Model.Meshes[0].Normals[0], nullptr, nullptr}));
}

TEST(LoadFromFile, StopsAtAnEarlyEndOfFileKeepingOnlyWhatWasRead) {
    struct Case {
        std::string Text;
        size_t Meshes, Vertices, Triangles, Materials, Bones;
    };
    const Case cases[] = {
        // The last triangle line ends the file: the parse stops there.
        {CutAfter("1 0 1 2 0 0 0 1\r\n"), 1, 3, 1, 0, 0},
        {CutAfter("1 0 1 2 0 0 0 1"), 1, 3, 1, 0, 0},
        // Announced but never delivered: neither made nor read.
        {Replaced(CutAfter("1 0 1 2 0 0 0 1\r\n\r\n"), "Meshes: 1", "Meshes: 4"), 1, 3, 1, 0, 0},
        {CutAfter("1 1.000000 0.000000 0.000000 0.250000 0.750000 0\r\n"), 1, 1, 0, 0, 0},
        {CutAfter("\"body\" 1 0\r\n"), 0, 0, 0, 0, 0},
        {CutAfter("0.200000 0.200000 0.200000 1.000000\r\n"), 1, 3, 1, 1, 0},
        {Replaced(CutAfter("\"\"\r\n\"\"\r\n"), "Materials: 1", "Materials: 2000000000"), 1, 3, 1,
         1, 0},
        {Replaced(ChainModelText(), "Bones: 2", "Bones: 1000"), 1, 3, 1, 1, 2},
        {Replaced(ChainModelText(), "Meshes: 1", "Meshes: -5"), 0, 0, 0, 1, 2},
    };
    for (const Case& test : cases) {
        LoadedModel loaded(test.Text);
        const TModel& model = loaded.Model;
        EXPECT_TRUE(loaded.Loaded);
        ASSERT_EQ(model.Meshes.size(), test.Meshes) << test.Text;
        EXPECT_EQ(model.MeshMaterials.size(), test.Meshes);
        if (test.Meshes > 0) {
            EXPECT_EQ(model.Meshes[0].Vertices.size(), test.Vertices) << test.Text;
            EXPECT_EQ(model.Meshes[0].Triangles.size(), test.Triangles) << test.Text;
            EXPECT_EQ(model.Meshes[0].VertexCount, 3);
        }
        EXPECT_EQ(model.Materials.size(), test.Materials) << test.Text;
        EXPECT_EQ(model.Bones.size(), test.Bones) << test.Text;
    }
}

TEST(LoadFromFile, TakesEveryCutOfAFileWithAResultOrAModelError) {
    std::ifstream seagullFile(test::RealModel("scorched3d_seagull.txt"), std::ios::binary);
    const std::string seagull((std::istreambuf_iterator<char>(seagullFile)),
                              std::istreambuf_iterator<char>());
    std::vector<std::string> cuts;
    const std::string chain = ChainModelText();
    for (size_t length = 0; length <= chain.size(); ++length) {
        cuts.push_back(chain.substr(0, length));
    }
    for (size_t end = seagull.find('\n'); end != std::string::npos;
         end = seagull.find('\n', end + 1)) {
        cuts.push_back(seagull.substr(0, end + 1));
        cuts.push_back(seagull.substr(0, end - 3));
    }
    size_t loaded = 0;
    for (const std::string& cut : cuts) {
        try {
            LoadedModel model(cut);
            loaded += model.Loaded ? 1 : 0;
        } catch (const ModelError&) {
        }
    }
    EXPECT_GT(loaded, cuts.size() / 2);
}

TEST(LoadFromFile, KeepsTheKeysABoneBlockDeliversBeforeTheFileEnds) {
    // The root announces two rotation keys and the file ends after the first.
    LoadedModel loaded(
        Replaced(CutAfter("2\r\n1.000000 0.000000 0.000000 0.000000\r\n"), "Bones: 2", "Bones: 1"));
    EXPECT_TRUE(loaded.Loaded);
    ASSERT_EQ(loaded.Model.Bones.size(), 1u);
    EXPECT_EQ(loaded.Model.Bones[0].RotationKeyCount, 2);
    EXPECT_EQ(loaded.Model.Bones[0].RotationKeys.size(), 1u);

    // Cut before its key lists, a bone has none, and posing it fails.
    EXPECT_THROW(LoadedModel(CutAfter("\"child\"\r\n\"root\"\r\n")), ModelAssertionError);
}

TEST(LoadFromFile, KeepsIndicesOutsideTheListsFromBeingRead) {
    // Bone 7 of two, material 5 of one, and a last triangle naming vertex 9 of three: it ends
    // the file, so the loader does not check it.
    const std::string chain = ChainModelText();
    const size_t meshes = chain.find("Meshes:");
    const size_t materials = chain.find("Materials:");
    std::string mesh = chain.substr(meshes, materials - meshes);
    mesh = Replaced(mesh, "0.500000 0.500000 1", "0.500000 0.500000 7");
    mesh = Replaced(mesh, "\"body\" 1 0", "\"body\" 1 5");
    mesh =
        Replaced(mesh, "1\r\n1 0 1 2 0 0 0 1\r\n\r\n", "2\r\n1 0 1 2 0 0 0 1\r\n1 0 9 2 0 0 0 1");
    const std::string text = chain.substr(0, meshes) + chain.substr(materials) + "\r\n" + mesh;
    LoadedModel loaded(text);
    TModel& model = loaded.Model;
    EXPECT_TRUE(loaded.Loaded);
    EXPECT_EQ(model.MeshMaterial(0), nullptr);
    ASSERT_EQ(model.Meshes[0].Triangles.size(), 2u);
    std::vector<TPoint> positions;
    model.ForEachCorner(model.Meshes[0], [&](const TNormal*, const TVec&, const TPoint& position) {
        positions.push_back(position);
    });
    EXPECT_EQ(positions, (std::vector<TPoint>{{1, 0, 0}, {2, 0, 0}, {0, 0, 3}}));
}

TEST(LinkBones, FindsParentsByExactNameAndFailsOnTheFirstThatIsMissing) {
    LoadedModel caseDiffers(
        Replaced(ChainModelText(), "\"child\"\r\n\"root\"", "\"child\"\r\n\"Root\""));
    EXPECT_FALSE(caseDiffers.Loaded);
    // Neither set up nor posed: the bone's matrix is still the identity.
    EXPECT_EQ(caseDiffers.Model.Bones[0].WorldMatrix.Data(), TMatrix().Data());
    EXPECT_EQ(caseDiffers.Model.Meshes[0].Vertices[1].X, 2.0f);

    LoadedModel itself(
        Replaced(ChainModelText(), "\"child\"\r\n\"root\"", "\"child\"\r\n\"child\""));
    EXPECT_TRUE(itself.Loaded);
    EXPECT_EQ(itself.Model.Bones[1].Parent, &itself.Model.Bones[1]);
}

// Sets TAVREN_DATA for one test and works in a scratch folder of its own.
class TextureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = test::WriteModelFile("model.txt", "").parent_path() / "textures";
        std::filesystem::create_directories(Folder / "data");
        OldDirectory = std::filesystem::current_path();
        std::filesystem::current_path(Folder);
        setenv("TAVREN_DATA", (Folder / "data").c_str(), 1);
    }
    void TearDown() override {
        std::filesystem::current_path(OldDirectory);
        unsetenv("TAVREN_DATA");
    }
    std::filesystem::path Folder;
    std::filesystem::path OldDirectory;
};

TEST_F(TextureFiles, LoadsATextureFromTheCurrentFolderOrElseTheDataFolder) {
    std::ofstream(Folder / "here.bmp") << "x";
    struct Case {
        const char* Name;
        std::filesystem::path Loaded;
    };
    const Case cases[] = {
        {"here.bmp", "here.bmp"},
        {"Tavren201.bmp", Folder / "data" / "Tavren201.bmp"},
        {".\\Tavren202.bmp", Folder / "data" / "Tavren202.bmp"},
    };
    for (const Case& test : cases) {
        LoadedModel loaded(Replaced(ChainModelText(), "1.000000\r\n\"\"",
                                    std::string("1.000000\r\n\"") + test.Name + "\""));
        ASSERT_EQ(loaded.Textures.Files.size(), 1u);
        EXPECT_EQ(std::filesystem::path(loaded.Textures.Files[0]).lexically_normal(),
                  test.Loaded.lexically_normal());
        EXPECT_EQ(loaded.Model.Materials[0].Texture, 1u);
        EXPECT_EQ(loaded.Model.Materials[0].TextureFile, test.Name);
    }
}

TEST_F(TextureFiles, LoadsThirtyTwoCausticFramesOnlyWithBothSwitchesOn) {
    LoadedModel terrain(ChainModelText(), true, true);
    const std::vector<std::string>& files = terrain.Textures.Files;
    ASSERT_EQ(files.size(), 32u);
    EXPECT_EQ(std::filesystem::path(files[0]), Folder / "data" / "Tavren100.bmp");
    EXPECT_EQ(std::filesystem::path(files[31]), Folder / "data" / "Tavren131.bmp");
    const TMaterial& material = terrain.Model.Materials[0];
    EXPECT_EQ(material.CausticTextures[0], 1u);
    EXPECT_EQ(material.CausticTextures[31], 32u);
    EXPECT_EQ(material.CausticFrame, 0);

    for (const bool multitexture : {false, true}) {
        LoadedModel plain(ChainModelText(), multitexture, false);
        EXPECT_TRUE(plain.Textures.Files.empty());
        EXPECT_EQ(plain.Model.Materials[0].CausticTextures[0], 0u);
    }
}

} // namespace
} // namespace tavren
