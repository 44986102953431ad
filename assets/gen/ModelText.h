// The model text format as the renderer reads it, and a writer that produces it byte for byte.
#pragma once

#include "Vector.h"

#include <array>
#include <string>
#include <vector>

namespace tavren {

struct ModelVertex {
    Vec3 Position;
    float U = 0.0f;
    float V = 0.0f; // counted from the top of the picture
    int Bone = -1;
};

struct ModelTriangle {
    std::array<int, 3> Vertices{};
    std::array<int, 3> Normals{};
};

struct ModelMesh {
    std::string Name;
    int Flags = 0;
    int Material = 0;
    std::vector<ModelVertex> Vertices;
    std::vector<Vec3> Normals;
    std::vector<ModelTriangle> Triangles;
};

struct ModelMaterial {
    std::string Name;
    std::string Texture;
};

struct ModelKey {
    float Time = 1.0f;
    Vec3 Value;
};

struct ModelBone {
    std::string Name;
    std::string Parent;
    int Flags = 21;
    Vec3 Position; // in the parent's space
    Vec3 Rotation; // Euler x, y, z in radians
    std::vector<ModelKey> PositionKeys;
    std::vector<ModelKey> RotationKeys;
};

struct ModelText {
    int TotalFrames = 30;
    int StartFrame = 1;
    int ElementFlags = 0; // the flags written on every vertex and triangle line
    std::vector<ModelMesh> Meshes;
    std::vector<ModelMaterial> Materials;
    std::vector<ModelBone> Bones;
};

// The whole file: CR LF line ends, six decimals, the section order Frames, Frame, Meshes,
// Materials, Bones with an empty line before each of the last three.
std::string WriteModelText(const ModelText& model);

} // namespace tavren
