#include "FishShape.h"
#include "MeshBuilder.h"
#include "Models.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace tavren {

namespace {

enum Bone {
    Middle,
    FinBase,
    Back1,
    Back2,
    Back3,
    TailBegin,
    TailJoint,
    UpperFin1,
    UpperFin2,
    UpperFin3,
    LowerFin1,
    LowerFin2,
    TopMFin1,
    TopMFin2,
    Forward,
    Head,
    DorsalRight,
    DorsalLeft,
};

struct BoneRow {
    const char* Name;
    int Parent;  // -1 for the root
    Vec3 World;  // joint position in model space (all rest rotations are zero)
    float Swing; // sideways swing, radians, at the middle key; the other keys swing back
    bool Keyed;
};

// The swing grows from the middle toward the tail so that the body bends like a swimming fish;
// the head turns a little against it, which keeps the eyes steady.
constexpr std::array<BoneRow, 18> Skeleton{{
    {"Middle", -1, {0.0f, 0.0f, -12.0f}, 0.069813f, true},
    {"FinBase", Middle, {0.0f, 0.0f, 2.0f}, 0.025f, true},
    {"Back1", FinBase, {0.0f, 0.0f, 16.0f}, 0.035f, true},
    {"Back2", Back1, {0.0f, 0.0f, 29.0f}, 0.05f, true},
    {"Back3", Back2, {0.0f, 0.0f, 41.0f}, 0.065f, true},
    {"TailBegin", Back3, {0.0f, 0.0f, 51.0f}, 0.08f, true},
    {"TailJoint", TailBegin, {0.0f, 0.0f, 58.0f}, 0.09f, true},
    {"UpperFin1", TailJoint, {0.0f, 3.0f, 62.0f}, 0.04f, true},
    {"UpperFin2", UpperFin1, {0.0f, 11.0f, 72.0f}, 0.035f, true},
    {"UpperFin3", UpperFin2, {0.0f, 19.0f, 82.0f}, 0.03f, true},
    {"LowerFin1", TailJoint, {0.0f, -3.0f, 62.0f}, 0.04f, true},
    {"LowerFin2", LowerFin1, {0.0f, -12.0f, 74.0f}, 0.035f, true},
    {"TopMFin1", FinBase, {0.0f, 17.0f, -24.0f}, 0.03f, true},
    {"TopMFin2", TopMFin1, {0.0f, 18.0f, -2.0f}, 0.0f, false},
    {"Forward", Middle, {0.0f, 0.0f, -30.0f}, -0.04f, true},
    {"Head", Forward, {0.0f, 0.0f, -46.0f}, -0.03f, true},
    {"DorsalRight", Middle, {8.0f, -12.0f, -30.0f}, 0.0f, false},
    {"DorsalLeft", Middle, {-8.0f, -12.0f, -30.0f}, 0.0f, false},
}};

// Which bone a point of the body follows: the joints sit at the front of each tail-ward
// segment and at the back of each head-ward one.
int BodyBone(float z) {
    if (z < -46.0f) {
        return Head;
    }
    if (z < -30.0f) {
        return Forward;
    }
    if (z < 2.0f) {
        return Middle;
    }
    if (z < 16.0f) {
        return FinBase;
    }
    if (z < 29.0f) {
        return Back1;
    }
    if (z < 41.0f) {
        return Back2;
    }
    if (z < 51.0f) {
        return Back3;
    }
    return TailBegin;
}

ModelVertex SkinnedVertex(Vec3 position, Vec2 skinPoint, int bone) {
    const Vec2 pixel = SkinPixel(skinPoint.X, skinPoint.Y);
    return {position, pixel.X / SkinWidth, pixel.Y / SkinHeight, bone};
}

// The body: a closed tube of rings from the nose to the root of the tail, capped by one vertex
// at each end. Its skin is the side view, pulled in slightly from the outline so that the back
// and belly seen edge-on still show the body's own colours.
void AddBody(MeshBuilder& mesh) {
    constexpr std::array<float, 17> RingS{0.008f, 0.03f, 0.06f, 0.10f, 0.15f, 0.21f,
                                          0.28f,  0.36f, 0.44f, 0.52f, 0.60f, 0.68f,
                                          0.76f,  0.84f, 0.90f, 0.95f, 0.985f};
    constexpr int Around = 14;
    constexpr float Fullness = 2.0f / 2.4f; // superellipse: a fuller section than an ellipse
    std::vector<std::array<int, Around>> rings;
    for (const float s : RingS) {
        const BodySection section = BodyAt(s);
        std::array<int, Around> ring{};
        for (int k = 0; k < Around; ++k) {
            const float angle = 2.0f * Pi * k / Around;
            const float sine = std::sin(angle);
            const float cosine = std::cos(angle);
            const float x =
                section.HalfWidth * std::copysign(std::pow(std::fabs(sine), Fullness), sine);
            const float up = std::copysign(std::pow(std::fabs(cosine), Fullness), cosine);
            const float y = section.Centre + (up > 0.0f ? section.Top : section.Bottom) * up;
            const Vec2 skin{section.Z, section.Centre + (y - section.Centre) * 0.93f};
            ring[k] = mesh.AddVertex(SkinnedVertex({x, y, section.Z}, skin, BodyBone(section.Z)));
        }
        rings.push_back(ring);
    }
    const BodySection nose = BodyAt(0.0f);
    const BodySection end = BodyAt(1.0f);
    const int nosePole = mesh.AddVertex(
        SkinnedVertex({0.0f, nose.Centre, nose.Z}, {nose.Z + 0.8f, nose.Centre}, BodyBone(nose.Z)));
    const int endPole = mesh.AddVertex(
        SkinnedVertex({0.0f, end.Centre, end.Z}, {end.Z, end.Centre}, BodyBone(end.Z)));

    auto outwardFrom = [&](int a, int b, int c, Vec3 axisPoint) {
        const Vec3 centre =
            (mesh.Vertex(a).Position + mesh.Vertex(b).Position + mesh.Vertex(c).Position) *
            (1.0f / 3.0f);
        return centre - axisPoint;
    };
    for (size_t r = 0; r + 1 < rings.size(); ++r) {
        const float z = 0.5f * (BodyAt(RingS[r]).Z + BodyAt(RingS[r + 1]).Z);
        const Vec3 axis{0.0f, BodyAtZ(z).Centre, z};
        for (int k = 0; k < Around; ++k) {
            const int a = rings[r][k];
            const int b = rings[r][(k + 1) % Around];
            const int c = rings[r + 1][(k + 1) % Around];
            const int d = rings[r + 1][k];
            mesh.AddTriangle(a, b, c, outwardFrom(a, b, c, axis), 0);
            mesh.AddTriangle(a, c, d, outwardFrom(a, c, d, axis), 0);
        }
    }
    for (int k = 0; k < Around; ++k) {
        const int a = rings.front()[k];
        const int b = rings.front()[(k + 1) % Around];
        mesh.AddTriangle(nosePole, a, b, {0.0f, 0.0f, -1.0f}, 0);
        const int c = rings.back()[k];
        const int d = rings.back()[(k + 1) % Around];
        mesh.AddTriangle(endPole, c, d, {0.0f, 0.0f, 1.0f}, 0);
    }
}

// A thin closed fin: a grid over (a, b) whose border is shared by its two faces and whose inner
// points stand apart by the fin's thickness. Every edge thus belongs to two triangles.
struct FinSurface {
    int Columns; // along a
    int Rows;    // along b
    std::function<Vec3(float a, float b)> Position;
    std::function<Vec3(float a, float b)> Normal; // of the fin's plane, toward the first face
    std::function<float(float a, float b)> Thickness;
    std::function<Vec2(float a, float b)> SkinPoint;
    std::function<int(float a, float b)> BoneOf;
};

// The painted fins fray into the black at their edges; the model's fin edges look just inside.
float SkinReach(float b) {
    return std::min(b, 0.95f);
}

void AddFin(MeshBuilder& mesh, const FinSurface& fin, int firstGroup) {
    const int columns = fin.Columns;
    const int rows = fin.Rows;
    auto parameter = [](int index, int count) { return static_cast<float>(index) / (count - 1); };
    auto isBorder = [&](int i, int j) {
        return i == 0 || j == 0 || i == columns - 1 || j == rows - 1;
    };
    std::vector<std::array<int, 2>> grid(static_cast<size_t>(columns) * rows);
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const float a = parameter(i, columns);
            const float b = parameter(j, rows);
            const bool border = isBorder(i, j);
            const Vec3 middle = fin.Position(a, b);
            const Vec2 skin = fin.SkinPoint(a, b);
            const int bone = fin.BoneOf(a, b);
            auto& slots = grid[static_cast<size_t>(j) * columns + i];
            if (border) {
                slots[0] = slots[1] = mesh.AddVertex(SkinnedVertex(middle, skin, bone));
                continue;
            }
            const Vec3 offset = fin.Normal(a, b) * (0.5f * fin.Thickness(a, b));
            slots[0] = mesh.AddVertex(SkinnedVertex(middle + offset, skin, bone));
            slots[1] = mesh.AddVertex(SkinnedVertex(middle - offset, skin, bone));
        }
    }
    // Face 0 stands out along the fin's normal; its winding is chosen once from the middle of
    // the patch, and face 1 is wound the other way, so every edge has one use in each direction.
    const Vec3 origin = fin.Position(0.5f, 0.5f);
    const Vec3 along = fin.Position(0.6f, 0.5f) - origin;
    const Vec3 across = fin.Position(0.5f, 0.6f) - origin;
    const bool gridFacesNormal = Dot(Cross(along, across), fin.Normal(0.5f, 0.5f)) > 0.0f;
    for (int face = 0; face < 2; ++face) {
        const bool keepOrder = gridFacesNormal == (face == 0);
        auto addTriangle = [&](int a, int b, int c) {
            if (keepOrder) {
                mesh.AddTriangle(a, b, c, {}, firstGroup + face);
            } else {
                mesh.AddTriangle(a, c, b, {}, firstGroup + face);
            }
        };
        for (int j = 0; j + 1 < rows; ++j) {
            for (int i = 0; i + 1 < columns; ++i) {
                auto at = [&](int di, int dj) {
                    return grid[static_cast<size_t>(j + dj) * columns + i + di][face];
                };
                // Split the cell along the diagonal through an inner point: a triangle made only
                // of border points would be shared by both faces and leave an edge with four.
                if (!isBorder(i, j) || !isBorder(i + 1, j + 1)) {
                    addTriangle(at(0, 0), at(1, 0), at(1, 1));
                    addTriangle(at(0, 0), at(1, 1), at(0, 1));
                } else {
                    addTriangle(at(0, 0), at(1, 0), at(0, 1));
                    addTriangle(at(1, 0), at(1, 1), at(0, 1));
                }
            }
        }
    }
}

FinSurface FlatFin(Fin fin, int columns, int rows, float rootThickness,
                   std::function<int(float, float)> boneOf) {
    return {columns,
            rows,
            [fin](float a, float b) {
                const Vec2 p = FinPoint(fin, a, b);
                return Vec3{0.0f, p.Y, p.X};
            },
            [](float, float) {
                return Vec3{1.0f, 0.0f, 0.0f};
            },
            [rootThickness](float, float b) { return 0.25f + rootThickness * (1.0f - b); },
            [fin](float a, float b) { return FinPoint(fin, a, SkinReach(b)); },
            std::move(boneOf)};
}

ModelMesh BuildBodyMesh() {
    MeshBuilder mesh;
    AddBody(mesh);
    AddFin(mesh,
           FlatFin(Fin::Dorsal, 8, 4, 0.7f,
                   [](float a, float) { return a < 0.45f ? TopMFin1 : TopMFin2; }),
           1);
    AddFin(mesh,
           FlatFin(Fin::Tail, 9, 4, 1.1f,
                   [](float a, float b) {
                       if (a >= 0.5f) {
                           return b < 0.34f ? UpperFin1 : b < 0.67f ? UpperFin2 : UpperFin3;
                       }
                       return b < 0.5f ? LowerFin1 : LowerFin2;
                   }),
           3);
    AddFin(mesh, FlatFin(Fin::Anal, 6, 3, 0.5f, [](float, float) { return Back2; }), 5);
    return mesh.Build("Regroup03", 1, 0);
}

ModelMesh BuildSideFinMesh(const char* name, float side, int bone) {
    const Vec3 out = Normalised({side, -0.42f, 0.30f});
    const Vec3 plane = Normalised(Cross(out, {0.0f, 0.0f, 1.0f}));
    MeshBuilder mesh;
    AddFin(mesh,
           {9, 5, [side](float a, float b) { return SideFinPoint(a, b, side); },
            [plane](float, float) { return plane; },
            [](float, float b) { return 0.25f + 0.6f * (1.0f - b); },
            [](float a, float b) { return SideFinSkinPoint(a, SkinReach(b)); },
            [bone](float, float) { return bone; }},
           0);
    return mesh.Build(name, 1, 0);
}

std::vector<ModelKey> Keys(Vec3 first, Vec3 middle) {
    return {{1.0f, first}, {16.0f, middle}, {30.0f, first}};
}

std::vector<ModelBone> BuildBones() {
    std::vector<ModelBone> bones;
    for (const BoneRow& row : Skeleton) {
        ModelBone bone;
        bone.Name = row.Name;
        const Vec3 parentWorld = row.Parent < 0 ? Vec3{} : Skeleton[row.Parent].World;
        bone.Parent = row.Parent < 0 ? "" : Skeleton[row.Parent].Name;
        bone.Flags = row.Name == std::string("Back1") ? 29 : 21;
        bone.Position = row.World - parentWorld;
        if (row.Keyed) {
            bone.PositionKeys = Keys({}, {});
            bone.RotationKeys = Keys({0.0f, -row.Swing, 0.0f}, {0.0f, row.Swing, 0.0f});
        } else {
            bone.PositionKeys = {{1.0f, {}}};
            bone.RotationKeys = {{1.0f, {}}};
        }
        bones.push_back(bone);
    }
    return bones;
}

} // namespace

ModelText BuildFishModel() {
    ModelText model;
    model.TotalFrames = 30;
    model.StartFrame = 7;
    model.ElementFlags = 1;
    model.Meshes.push_back(BuildBodyMesh());
    model.Meshes.push_back(BuildSideFinMesh("DorsalFin", -1.0f, DorsalLeft));
    model.Meshes.push_back(BuildSideFinMesh("Duplicate05", 1.0f, DorsalRight));
    model.Materials.push_back({"Material01", "Tavren201.bmp"});
    model.Bones = BuildBones();
    return model;
}

} // namespace tavren
