// Collects vertices and triangles of one mesh and derives its smooth normals.
#pragma once

#include "ModelText.h"

#include <vector>

namespace tavren {

class MeshBuilder {
public:
    int AddVertex(const ModelVertex& vertex);

    // Adds a triangle wound so that its face normal points along `outward` (as given when
    // `outward` is zero). Corners with the same vertex and smoothing group share one averaged
    // normal; different groups keep separate normals, which is how the two faces of a thin fin
    // stay apart.
    void AddTriangle(int a, int b, int c, Vec3 outward, int group);

    const ModelVertex& Vertex(int index) const { return vertices[index]; }

    ModelMesh Build(const std::string& name, int flags, int material) const;

private:
    struct Corner {
        int Vertex;
        int Group;
    };
    std::vector<ModelVertex> vertices;
    std::vector<std::array<Corner, 3>> triangles;
};

} // namespace tavren
