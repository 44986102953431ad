// A model in memory, its loader for the model text format, and its skeletal posing. Drawing
// (TModel::Draw, TMaterial::Apply) needs an OpenGL context and lives in ModelDrawing.cpp.
#pragma once

#include "Matrix.h"
#include "ModelText.h"
#include "TextureName.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavren {

// One vertex. A vertex with a bone holds its position in that bone's bind-pose space once
// the model is loaded.
struct TVec {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
    float U = 0.0f;
    // 1 minus the file's v: the file counts v from the top of the image.
    float V = 0.0f;
    int32_t Bone = -1;
};

struct TNormal {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

struct TTri {
    std::array<int32_t, 3> VertexIndices{};
    std::array<int32_t, 3> NormalIndices{};
};

// A translation for a position key, Euler angles in radians for a rotation key.
struct TKeyFrame {
    float Time = 0.0f;
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

// The counts are those the count lines announced; the lists hold only the items the file
// delivered, which are fewer when the file ends early.
class TShape {
public:
    int32_t VertexCount = 0;
    std::vector<TVec> Vertices;
    int32_t NormalCount = 0;
    std::vector<TNormal> Normals;
    int32_t TriangleCount = 0;
    std::vector<TTri> Triangles;

    // Reads a mesh body after its header line; false when the end of the file cuts it short.
    bool ReadFrom(ModelTextReader& file);
};

inline constexpr int CausticFrameCount = 32;

class TMaterial {
public:
    // With both switches on, loads the 32 caustic frames of the data folder.
    TMaterial(bool multitexture, bool caustics, const TextureLoaderFunction& loadTexture);

    bool Multitexture;
    bool Caustics;
    std::string Name;
    std::array<float, 4> Ambient{};
    std::array<float, 4> Diffuse{};
    std::array<float, 4> Specular{};
    std::array<float, 4> Emissive{};
    float Shininess = 0.0f;
    float Transparency = 0.0f;
    std::string TextureFile;
    std::string AlphaFile;
    TextureName Texture = 0;
    std::array<TextureName, CausticFrameCount> CausticTextures{};
    int32_t CausticFrame = 0;

    // Reads a material block and loads its texture; false when the end of the file cuts it
    // short (the texture is then not loaded).
    bool ReadFrom(ModelTextReader& file, const TextureLoaderFunction& loadTexture);
    // The file as named when it exists, else the same name in the data folder.
    void LoadTextureFile(const TextureLoaderFunction& loadTexture);
    // Sets this material's OpenGL state (ModelDrawing.cpp).
    void Apply();
};

class TBone {
public:
    std::string Name;
    std::string ParentName;
    const TBone* Parent = nullptr;
    TPoint Position{};
    TPoint Rotation{};
    TMatrix WorldMatrix;
    int32_t PositionKeyCount = 0;
    std::vector<TKeyFrame> PositionKeys;
    int32_t RotationKeyCount = 0;
    std::vector<TKeyFrame> RotationKeys;

    // Reads a bone block; false when the end of the file cuts it short.
    bool ReadFrom(ModelTextReader& file);
    // Bone space to parent space at rest.
    TMatrix RestMatrix() const;
    void SetupJoint();
    // Poses the bone at an animation frame. Throws ModelAssertionError for an empty key list
    // or a used pair of keys whose times do not increase.
    void Animate(float frame);
};

// The value of a key list at an animation frame: the first key up to its time, the last key
// from its time on, linear between. Throws ModelAssertionError as TBone::Animate says.
TPoint InterpolateKeys(const std::vector<TKeyFrame>& keys, float frame);

enum class ModelLineKind {
    Comment,
    Empty,
    TotalFrames,
    StartFrame,
    Meshes,
    Materials,
    Bones,
    Other
};

// How the top level of a model file takes a line.
ModelLineKind ClassifyModelLine(std::string_view line);
// The text of a keyword line that holds its integer value.
std::string KeywordValueText(ModelLineKind kind, std::string_view line);
// The material index of a mesh header line; the name and the flags are checked and dropped.
int32_t MeshHeaderMaterial(const ModelTextReader& file, std::string_view header);

class TModel {
public:
    // With both switches on, fetches the multitexture entry points (a rendering context must
    // be current). loadTexture has LoadTexture's shape; materials load their textures with it.
    TModel(bool multitexture, bool caustics, TextureLoaderFunction loadTexture);
    TModel(const TModel&) = delete;
    TModel& operator=(const TModel&) = delete;

    float TotalFrames = 0.0f;
    float CurrentFrame = 0.0f;
    int32_t MeshCount = 0;
    std::vector<TShape> Meshes;
    // One per mesh read; negative for a mesh without material.
    std::vector<int32_t> MeshMaterials;
    int32_t MaterialCount = 0;
    std::vector<TMaterial> Materials;
    int32_t BoneCount = 0;
    std::vector<TBone> Bones;
    const bool Multitexture;
    const bool Caustics;

    // Reads, links, sets up and poses the model at its start frame. False only when a bone's
    // parent does not resolve. Throws ModelError subclasses for files it cannot take.
    bool LoadFromFile(const std::string& fileName);
    bool LinkBones();
    void SetupJoints();
    void BindVertices();
    // Moves the animation on by a number of animation frames and poses every bone.
    void Advance(float frames);

    // Draws every mesh in its current pose (ModelDrawing.cpp).
    void Draw();

    // The material a mesh is drawn with, or nullptr for none (also for an index beyond the
    // materials read).
    TMaterial* MeshMaterial(size_t mesh);
    // Where the drawing puts a vertex: moved by its bone's current pose, or as stored when it
    // has no bone (or names a bone the model lacks).
    TPoint PosedPosition(const TVec& vertex) const;

    // Calls visit(normal, vertex, position) for each corner the drawing sends, in order.
    // normal is nullptr for a normal index outside the mesh's normals. A triangle with a
    // vertex index outside the mesh's vertices is left out whole.
    template <typename Visit> void ForEachCorner(const TShape& mesh, Visit&& visit) const {
        for (const TTri& triangle : mesh.Triangles) {
            if (!CornersAreDrawable(mesh, triangle)) {
                continue;
            }
            for (int corner = 0; corner < 3; ++corner) {
                const TVec& vertex = mesh.Vertices[triangle.VertexIndices[corner]];
                const int32_t normalIndex = triangle.NormalIndices[corner];
                const TNormal* normal =
                    normalIndex >= 0 && static_cast<size_t>(normalIndex) < mesh.Normals.size()
                        ? &mesh.Normals[normalIndex]
                        : nullptr;
                visit(normal, vertex, PosedPosition(vertex));
            }
        }
    }

private:
    static bool CornersAreDrawable(const TShape& mesh, const TTri& triangle);
    bool ReadMeshes(ModelTextReader& file, int32_t count);
    bool ReadMaterials(ModelTextReader& file, int32_t count);
    bool ReadBones(ModelTextReader& file, int32_t count);

    TextureLoaderFunction LoadTexture;
};

} // namespace tavren
