#include "MeshBuilder.h"

#include <map>
#include <utility>

namespace tavren {

int MeshBuilder::AddVertex(const ModelVertex& vertex) {
    vertices.push_back(vertex);
    return static_cast<int>(vertices.size()) - 1;
}

void MeshBuilder::AddTriangle(int a, int b, int c, Vec3 outward, int group) {
    const Vec3 pa = vertices[a].Position;
    const Vec3 normal = Cross(vertices[b].Position - pa, vertices[c].Position - pa);
    if (Dot(normal, outward) < 0.0f) {
        std::swap(b, c);
    }
    triangles.push_back({Corner{a, group}, Corner{b, group}, Corner{c, group}});
}

ModelMesh MeshBuilder::Build(const std::string& name, int flags, int material) const {
    ModelMesh mesh;
    mesh.Name = name;
    mesh.Flags = flags;
    mesh.Material = material;
    mesh.Vertices = vertices;
    std::map<std::pair<int, int>, int> normalIndex;
    std::vector<Vec3> sums;
    for (const auto& triangle : triangles) {
        const Vec3 p0 = vertices[triangle[0].Vertex].Position;
        const Vec3 face = Cross(vertices[triangle[1].Vertex].Position - p0,
                                vertices[triangle[2].Vertex].Position - p0);
        ModelTriangle out;
        for (int corner = 0; corner < 3; ++corner) {
            const std::pair<int, int> key{triangle[corner].Vertex, triangle[corner].Group};
            auto found = normalIndex.find(key);
            if (found == normalIndex.end()) {
                found = normalIndex.emplace(key, static_cast<int>(sums.size())).first;
                sums.push_back({});
            }
            sums[found->second] = sums[found->second] + face;
            out.Vertices[corner] = triangle[corner].Vertex;
            out.Normals[corner] = found->second;
        }
        mesh.Triangles.push_back(out);
    }
    for (const Vec3& sum : sums) {
        mesh.Normals.push_back(Normalised(sum));
    }
    return mesh;
}

} // namespace tavren
