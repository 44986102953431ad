#include "ModelFileReader.h"

#include "PictureFiles.h"

#include <sstream>

namespace tavren {

namespace {

std::vector<std::string> SplitCrLf(const std::vector<uint8_t>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 >= bytes.size() || bytes[i + 1] != '\n') {
                throw ModelFileError("CR without LF");
            }
            lines.push_back(line);
            line.clear();
            ++i;
        } else if (bytes[i] == '\n') {
            throw ModelFileError("LF without CR");
        } else {
            line += static_cast<char>(bytes[i]);
        }
    }
    if (!line.empty()) {
        throw ModelFileError("last line not ended");
    }
    return lines;
}

class Cursor {
public:
    explicit Cursor(const std::vector<std::string>& lines) : lines(lines) {}

    bool AtEnd() const { return next >= lines.size(); }
    size_t Position() const { return next; }
    const std::string& Take() {
        if (AtEnd()) {
            throw ModelFileError("file ends inside a block");
        }
        return lines[next++];
    }
    std::istringstream Values() { return std::istringstream(Take()); }

    std::string Name() {
        const std::string& line = Take();
        if (line.size() < 2 || line.front() != '"' || line.back() != '"') {
            throw ModelFileError("name not quoted: " + line);
        }
        return line.substr(1, line.size() - 2);
    }

    int Count() {
        const std::string& line = Take();
        size_t used = 0;
        const int value = std::stoi(line, &used);
        if (used != line.size() || value < 0) {
            throw ModelFileError("bad count: " + line);
        }
        return value;
    }

private:
    const std::vector<std::string>& lines;
    size_t next = 0;
};

template <typename... T> void Read(std::istringstream& in, T&... values) {
    (in >> ... >> values);
    std::string rest;
    if (!in || (in >> rest)) {
        throw ModelFileError("bad data line: " + in.str());
    }
}

int KeywordValue(const std::string& line, const std::string& keyword) {
    const std::string text = line.substr(keyword.size());
    size_t used = 0;
    const int value = std::stoi(text, &used);
    if (used != text.size()) {
        throw ModelFileError("bad keyword line: " + line);
    }
    return value;
}

std::vector<ModelKey> ReadKeys(Cursor& cursor) {
    std::vector<ModelKey> keys(cursor.Count());
    for (ModelKey& key : keys) {
        auto in = cursor.Values();
        Read(in, key.Time, key.Value.X, key.Value.Y, key.Value.Z);
    }
    return keys;
}

} // namespace

ModelFile ReadModelFile(const std::filesystem::path& path) {
    ModelFile file;
    file.Lines = SplitCrLf(ReadFileBytes(path));
    Cursor cursor(file.Lines);
    bool firstMesh = true;
    while (!cursor.AtEnd()) {
        const std::string line = cursor.Take();
        if (line.rfind("//", 0) == 0 || line.empty()) {
            continue;
        }
        if (line.rfind("Frames:", 0) == 0) {
            file.Model.TotalFrames = KeywordValue(line, "Frames:");
        } else if (line.rfind("Frame:", 0) == 0) {
            file.Model.StartFrame = KeywordValue(line, "Frame:");
        } else if (line.rfind("Meshes: ", 0) == 0) {
            const int count = KeywordValue(line, "Meshes: ");
            for (int m = 0; m < count; ++m) {
                ModelMesh mesh;
                auto header = cursor.Values();
                std::string name;
                Read(header, name, mesh.Flags, mesh.Material);
                if (name.size() < 2 || name.front() != '"' || name.back() != '"') {
                    throw ModelFileError("mesh name not quoted");
                }
                mesh.Name = name.substr(1, name.size() - 2);
                mesh.Vertices.resize(cursor.Count());
                for (ModelVertex& v : mesh.Vertices) {
                    auto in = cursor.Values();
                    int flags = 0;
                    Read(in, flags, v.Position.X, v.Position.Y, v.Position.Z, v.U, v.V, v.Bone);
                    if (firstMesh && &v == &mesh.Vertices.front()) {
                        file.Model.ElementFlags = flags;
                    } else if (flags != file.Model.ElementFlags) {
                        throw ModelFileError("vertex flags differ");
                    }
                }
                mesh.Normals.resize(cursor.Count());
                for (Vec3& n : mesh.Normals) {
                    auto in = cursor.Values();
                    Read(in, n.X, n.Y, n.Z);
                }
                mesh.Triangles.resize(cursor.Count());
                for (ModelTriangle& t : mesh.Triangles) {
                    auto in = cursor.Values();
                    int flags = 0;
                    int group = 0;
                    Read(in, flags, t.Vertices[0], t.Vertices[1], t.Vertices[2], t.Normals[0],
                         t.Normals[1], t.Normals[2], group);
                    if (flags != file.Model.ElementFlags || group != 1) {
                        throw ModelFileError("unexpected triangle flags or smoothing group");
                    }
                }
                file.LineAfterLastTriangle = cursor.Position();
                file.Model.Meshes.push_back(std::move(mesh));
                firstMesh = false;
            }
        } else if (line.rfind("Materials: ", 0) == 0) {
            const int count = KeywordValue(line, "Materials: ");
            for (int m = 0; m < count; ++m) {
                ModelMaterial material;
                material.Name = cursor.Name();
                for (int colour = 0; colour < 4; ++colour) {
                    auto in = cursor.Values();
                    float r, g, b, a;
                    Read(in, r, g, b, a);
                }
                for (int single = 0; single < 2; ++single) {
                    auto in = cursor.Values();
                    float value;
                    Read(in, value);
                }
                material.Texture = cursor.Name();
                if (!cursor.Name().empty()) {
                    throw ModelFileError("alpha map named");
                }
                file.Model.Materials.push_back(material);
            }
        } else if (line.rfind("Bones: ", 0) == 0) {
            const int count = KeywordValue(line, "Bones: ");
            for (int b = 0; b < count; ++b) {
                ModelBone bone;
                bone.Name = cursor.Name();
                bone.Parent = cursor.Name();
                auto in = cursor.Values();
                Read(in, bone.Flags, bone.Position.X, bone.Position.Y, bone.Position.Z,
                     bone.Rotation.X, bone.Rotation.Y, bone.Rotation.Z);
                bone.PositionKeys = ReadKeys(cursor);
                bone.RotationKeys = ReadKeys(cursor);
                file.Model.Bones.push_back(bone);
            }
        } else {
            throw ModelFileError("unexpected line: " + line);
        }
    }
    return file;
}

std::filesystem::path AssetPath(const std::string& relative) {
    return std::filesystem::path(TAVREN_ASSETS_DIR) / relative;
}

} // namespace tavren
