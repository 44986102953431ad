#include "ModelText.h"

#include <cmath>
#include <cstdio>

namespace tavren {

namespace {

// Six decimals with a point whatever the locale; a value that rounds to zero is written without
// a sign, so that no "-0.000000" appears.
std::string Real(float value) {
    if (std::fabs(value) < 0.0000005f) {
        value = 0.0f;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    return text;
}

class Lines {
public:
    void Add(const std::string& line) {
        text += line;
        text += "\r\n";
    }
    std::string Take() { return std::move(text); }

private:
    std::string text;
};

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

void WriteMesh(Lines& lines, const ModelMesh& mesh, int flags) {
    const std::string flag = std::to_string(flags);
    lines.Add(Quoted(mesh.Name) + " " + std::to_string(mesh.Flags) + " " +
              std::to_string(mesh.Material));
    lines.Add(std::to_string(mesh.Vertices.size()));
    for (const ModelVertex& v : mesh.Vertices) {
        lines.Add(flag + " " + Real(v.Position.X) + " " + Real(v.Position.Y) + " " +
                  Real(v.Position.Z) + " " + Real(v.U) + " " + Real(v.V) + " " +
                  std::to_string(v.Bone));
    }
    lines.Add(std::to_string(mesh.Normals.size()));
    for (const Vec3& n : mesh.Normals) {
        lines.Add(Real(n.X) + " " + Real(n.Y) + " " + Real(n.Z));
    }
    lines.Add(std::to_string(mesh.Triangles.size()));
    for (const ModelTriangle& t : mesh.Triangles) {
        lines.Add(flag + " " + std::to_string(t.Vertices[0]) + " " + std::to_string(t.Vertices[1]) +
                  " " + std::to_string(t.Vertices[2]) + " " + std::to_string(t.Normals[0]) + " " +
                  std::to_string(t.Normals[1]) + " " + std::to_string(t.Normals[2]) + " 1");
    }
}

void WriteMaterial(Lines& lines, const ModelMaterial& material) {
    lines.Add(Quoted(material.Name));
    lines.Add("0.200000 0.200000 0.200000 1.000000");
    lines.Add("0.800000 0.800000 0.800000 1.000000");
    lines.Add("0.000000 0.000000 0.000000 1.000000");
    lines.Add("0.000000 0.000000 0.000000 1.000000");
    lines.Add("0.000000");
    lines.Add("1.000000");
    lines.Add(Quoted(material.Texture));
    lines.Add(Quoted(""));
}

void WriteKeys(Lines& lines, const std::vector<ModelKey>& keys) {
    lines.Add(std::to_string(keys.size()));
    for (const ModelKey& key : keys) {
        lines.Add(Real(key.Time) + " " + Real(key.Value.X) + " " + Real(key.Value.Y) + " " +
                  Real(key.Value.Z));
    }
}

void WriteBone(Lines& lines, const ModelBone& bone) {
    lines.Add(Quoted(bone.Name));
    lines.Add(Quoted(bone.Parent));
    lines.Add(std::to_string(bone.Flags) + " " + Real(bone.Position.X) + " " +
              Real(bone.Position.Y) + " " + Real(bone.Position.Z) + " " + Real(bone.Rotation.X) +
              " " + Real(bone.Rotation.Y) + " " + Real(bone.Rotation.Z));
    WriteKeys(lines, bone.PositionKeys);
    WriteKeys(lines, bone.RotationKeys);
}

} // namespace

std::string WriteModelText(const ModelText& model) {
    Lines lines;
    lines.Add("// MilkShape 3D ASCII");
    lines.Add("");
    lines.Add("Frames: " + std::to_string(model.TotalFrames));
    lines.Add("Frame: " + std::to_string(model.StartFrame));
    lines.Add("");
    lines.Add("Meshes: " + std::to_string(model.Meshes.size()));
    for (const ModelMesh& mesh : model.Meshes) {
        WriteMesh(lines, mesh, model.ElementFlags);
    }
    lines.Add("");
    lines.Add("Materials: " + std::to_string(model.Materials.size()));
    for (const ModelMaterial& material : model.Materials) {
        WriteMaterial(lines, material);
    }
    lines.Add("");
    lines.Add("Bones: " + std::to_string(model.Bones.size()));
    for (const ModelBone& bone : model.Bones) {
        WriteBone(lines, bone);
    }
    return lines.Take();
}

} // namespace tavren
