#include "Model.h"

#include "DataFolder.h"
#include "ExtOpenGL.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace tavren {

namespace {

std::string WithoutQuotes(std::string text) {
    std::erase(text, '"');
    return text;
}

std::string WithoutEvery(std::string_view line, std::string_view keyword) {
    std::string text;
    for (size_t position = 0; position < line.size();) {
        if (line.substr(position, keyword.size()) == keyword) {
            position += keyword.size();
        } else {
            text += line[position++];
        }
    }
    return text;
}

std::array<float, 4> ReadColour(ModelTextReader& file) {
    std::array<float, 4> colour{};
    for (float& channel : colour) {
        channel = file.ReadReal();
    }
    file.SkipLine();
    return colour;
}

TPoint ReadPoint(ModelTextReader& file) {
    TPoint point{};
    for (float& coordinate : point) {
        coordinate = file.ReadReal();
    }
    return point;
}

// Reads a key count line and then the keys the file delivers; false when it ends first.
bool ReadKeys(ModelTextReader& file, int32_t& count, std::vector<TKeyFrame>& keys) {
    if (file.AtEnd()) {
        return false;
    }
    count = file.ReadInteger();
    file.SkipLine();
    for (int32_t index = 0; index < count; ++index) {
        if (file.AtEnd()) {
            return false;
        }
        TKeyFrame key;
        key.Time = file.ReadReal();
        key.X = file.ReadReal();
        key.Y = file.ReadReal();
        key.Z = file.ReadReal();
        file.SkipLine();
        keys.push_back(key);
    }
    return true;
}

// Reads a count line; false when the file ends with it.
bool ReadCount(ModelTextReader& file, int32_t& count) {
    count = file.ReadInteger();
    file.SkipLine();
    return !file.AtEnd();
}

// Reads count items, one a line, keeping each; false when the file ends after one. check
// runs on an item only when the file goes on after it.
template <typename Item, typename ReadItem, typename CheckItem>
bool ReadItemLines(ModelTextReader& file, int32_t count, std::vector<Item>& items,
                   const ReadItem& readItem, const CheckItem& check) {
    for (int32_t index = 0; index < count; ++index) {
        items.push_back(readItem());
        file.SkipLine();
        if (file.AtEnd()) {
            return false;
        }
        check(items.back());
    }
    return true;
}

bool IsBoneOf(int32_t bone, const std::vector<TBone>& bones) {
    return bone >= 0 && static_cast<size_t>(bone) < bones.size();
}

std::string CausticFrameFile(int frame) {
    return DataFolderPrefix() + "Tavren" + std::to_string(100 + frame) + ".bmp";
}

} // namespace

bool TShape::ReadFrom(ModelTextReader& file) {
    const auto readVertex = [&file] {
        TVec vertex;
        file.ReadInteger();
        vertex.X = file.ReadReal();
        vertex.Y = file.ReadReal();
        vertex.Z = file.ReadReal();
        vertex.U = file.ReadReal();
        vertex.V = 1.0f - file.ReadReal();
        vertex.Bone = file.ReadInteger();
        return vertex;
    };
    const auto readNormal = [&file] {
        TNormal normal;
        normal.X = file.ReadReal();
        normal.Y = file.ReadReal();
        normal.Z = file.ReadReal();
        return normal;
    };
    const auto readTriangle = [&file] {
        TTri triangle;
        file.ReadInteger();
        for (int32_t& vertex : triangle.VertexIndices) {
            vertex = file.ReadInteger();
        }
        for (int32_t& normal : triangle.NormalIndices) {
            normal = file.ReadInteger();
        }
        file.ReadInteger();
        return triangle;
    };
    const auto checkTriangle = [&](const TTri& triangle) {
        for (const int32_t vertex : triangle.VertexIndices) {
            if (vertex < 0 || vertex >= VertexCount) {
                throw ModelAssertionError(
                    file.Where() +
                    AssertionMessage(__LINE__, "vertex index " + std::to_string(vertex) +
                                                   " is outside the mesh's " +
                                                   std::to_string(VertexCount) + " vertices"));
            }
        }
    };
    const auto unchecked = [](const auto&) {};
    return ReadCount(file, VertexCount) &&
           ReadItemLines(file, VertexCount, Vertices, readVertex, unchecked) &&
           ReadCount(file, NormalCount) &&
           ReadItemLines(file, NormalCount, Normals, readNormal, unchecked) &&
           ReadCount(file, TriangleCount) &&
           ReadItemLines(file, TriangleCount, Triangles, readTriangle, checkTriangle);
}

TMaterial::TMaterial(bool multitexture, bool caustics, const TextureLoaderFunction& loadTexture)
    : Multitexture(multitexture), Caustics(caustics) {
    if (Multitexture && Caustics) {
        for (int frame = 0; frame < CausticFrameCount; ++frame) {
            loadTexture(NativePath(CausticFrameFile(frame)), CausticTextures[frame]);
        }
    }
}

bool TMaterial::ReadFrom(ModelTextReader& file, const TextureLoaderFunction& loadTexture) {
    if (file.AtEnd()) {
        return false;
    }
    Name = WithoutQuotes(file.ReadLine());
    for (std::array<float, 4>* colour : {&Ambient, &Diffuse, &Specular, &Emissive}) {
        if (file.AtEnd()) {
            return false;
        }
        *colour = ReadColour(file);
    }
    for (float* value : {&Shininess, &Transparency}) {
        if (file.AtEnd()) {
            return false;
        }
        *value = file.ReadReal();
        file.SkipLine();
    }
    for (std::string* name : {&TextureFile, &AlphaFile}) {
        if (file.AtEnd()) {
            return false;
        }
        *name = WithoutQuotes(file.ReadLine());
    }
    LoadTextureFile(loadTexture);
    return true;
}

void TMaterial::LoadTextureFile(const TextureLoaderFunction& loadTexture) {
    if (TextureFile.empty()) {
        Texture = 0;
        return;
    }
    const std::string asNamed = NativePath(TextureFile);
    std::error_code error;
    if (std::filesystem::is_regular_file(asNamed, error)) {
        loadTexture(asNamed, Texture);
    } else {
        loadTexture(NativePath(DataFolderPrefix() + TextureFile), Texture);
    }
}

bool TBone::ReadFrom(ModelTextReader& file) {
    for (std::string* name : {&Name, &ParentName}) {
        if (file.AtEnd()) {
            return false;
        }
        *name = WithoutQuotes(file.ReadLine());
    }
    if (file.AtEnd()) {
        return false;
    }
    file.ReadInteger();
    Position = ReadPoint(file);
    Rotation = ReadPoint(file);
    file.SkipLine();
    return ReadKeys(file, PositionKeyCount, PositionKeys) &&
           ReadKeys(file, RotationKeyCount, RotationKeys);
}

TMatrix TBone::RestMatrix() const {
    TMatrix rest;
    rest.SetEulerRotation(Rotation);
    rest.SetOffset(Position);
    return rest;
}

void TBone::SetupJoint() {
    const TMatrix rest = RestMatrix();
    if (Parent != nullptr) {
        WorldMatrix = Parent->WorldMatrix;
        WorldMatrix.MultiplyBy(rest);
    } else {
        WorldMatrix = rest;
    }
}

void TBone::Animate(float frame) {
    TPoint offset{};
    TPoint angles{};
    try {
        offset = InterpolateKeys(PositionKeys, frame);
        angles = InterpolateKeys(RotationKeys, frame);
    } catch (const ModelAssertionError& error) {
        throw ModelAssertionError("bone \"" + Name + "\": " + error.what());
    }
    TMatrix local = RestMatrix();
    TMatrix key;
    key.SetEulerRotation(angles);
    key.SetOffset(offset);
    local.MultiplyBy(key);
    if (Parent != nullptr) {
        WorldMatrix = Parent->WorldMatrix;
        WorldMatrix.MultiplyBy(local);
    } else {
        WorldMatrix = local;
    }
}

TPoint InterpolateKeys(const std::vector<TKeyFrame>& keys, float frame) {
    const size_t count = keys.size();
    size_t index = 0;
    while (index + 1 < count && keys[index].Time < frame) {
        ++index;
    }
    if (index >= count) {
        throw ModelAssertionError(AssertionMessage(__LINE__, "a bone has no keys"));
    }
    const TKeyFrame& key = keys[index];
    if (index == 0) {
        return {key.X, key.Y, key.Z};
    }
    const TKeyFrame& previous = keys[index - 1];
    const float span = key.Time - previous.Time;
    if (!(span > 0.0f)) {
        throw ModelAssertionError(
            AssertionMessage(__LINE__, "key times " + std::to_string(previous.Time) + " and " +
                                           std::to_string(key.Time) + " do not increase"));
    }
    float share = (frame - previous.Time) / span;
    if (!(share > 0.0f)) {
        throw ModelAssertionError(AssertionMessage(__LINE__, "a frame before its key pair"));
    }
    if (share > 1.0f) {
        share = 1.0f;
    }
    return {previous.X + (key.X - previous.X) * share, previous.Y + (key.Y - previous.Y) * share,
            previous.Z + (key.Z - previous.Z) * share};
}

ModelLineKind ClassifyModelLine(std::string_view line) {
    if (line.starts_with("//")) {
        return ModelLineKind::Comment;
    }
    if (line.empty()) {
        return ModelLineKind::Empty;
    }
    if (line.starts_with("Frames:")) {
        return ModelLineKind::TotalFrames;
    }
    if (line.starts_with("Frame:")) {
        return ModelLineKind::StartFrame;
    }
    if (line.starts_with("Meshes: ")) {
        return ModelLineKind::Meshes;
    }
    if (line.starts_with("Materials: ")) {
        return ModelLineKind::Materials;
    }
    if (line.starts_with("Bones: ")) {
        return ModelLineKind::Bones;
    }
    return ModelLineKind::Other;
}

std::string KeywordValueText(ModelLineKind kind, std::string_view line) {
    switch (kind) {
    case ModelLineKind::TotalFrames:
        return std::string(line.substr(7));
    case ModelLineKind::StartFrame:
        return std::string(line.substr(6));
    case ModelLineKind::Meshes:
        return WithoutEvery(line, "Meshes: ");
    case ModelLineKind::Materials:
        return WithoutEvery(line, "Materials: ");
    case ModelLineKind::Bones:
        return WithoutEvery(line, "Bones: ");
    default:
        return std::string(line);
    }
}

int32_t MeshHeaderMaterial(const ModelTextReader& file, std::string_view header) {
    const std::string text = WithoutQuotes(std::string(header));
    const std::string_view fields = std::string_view(text).substr(text.find(' ') + 1);
    const size_t blank = fields.find(' ');
    file.ConvertInteger(fields.substr(0, blank));
    return file.ConvertInteger(blank == std::string_view::npos ? std::string_view()
                                                               : fields.substr(blank + 1));
}

TModel::TModel(bool multitexture, bool caustics, TextureLoaderFunction loadTexture)
    : Multitexture(multitexture), Caustics(caustics), LoadTexture(std::move(loadTexture)) {
    if (Multitexture && Caustics) {
        FetchMultitextureEntryPoints();
    }
}

bool TModel::LoadFromFile(const std::string& fileName) {
    ModelTextReader file(fileName);
    CurrentFrame = 0.0f;
    int32_t startFrame = 0;
    bool stop = false;
    while (!file.AtEnd() && !stop) {
        const std::string line = file.ReadLine();
        const ModelLineKind kind = ClassifyModelLine(line);
        switch (kind) {
        case ModelLineKind::TotalFrames:
            TotalFrames = static_cast<float>(file.ConvertInteger(KeywordValueText(kind, line)));
            break;
        case ModelLineKind::StartFrame:
            startFrame = file.ConvertInteger(KeywordValueText(kind, line));
            break;
        case ModelLineKind::Meshes:
            stop = !ReadMeshes(file, file.ConvertInteger(KeywordValueText(kind, line)));
            break;
        case ModelLineKind::Materials:
            stop = !ReadMaterials(file, file.ConvertInteger(KeywordValueText(kind, line)));
            break;
        case ModelLineKind::Bones:
            stop = !ReadBones(file, file.ConvertInteger(KeywordValueText(kind, line)));
            break;
        default:
            break;
        }
    }

    if (!LinkBones()) {
        return false;
    }
    SetupJoints();
    BindVertices();
    try {
        Advance(static_cast<float>(startFrame));
    } catch (const ModelAssertionError& error) {
        throw ModelAssertionError(fileName + ": " + error.what());
    }
    return true;
}

bool TModel::ReadMeshes(ModelTextReader& file, int32_t count) {
    MeshCount = count;
    Meshes.clear();
    MeshMaterials.clear();
    for (int32_t index = 0; index < count; ++index) {
        const std::string header = file.ReadLine();
        if (file.AtEnd()) {
            return false;
        }
        MeshMaterials.push_back(MeshHeaderMaterial(file, header));
        Meshes.emplace_back();
        if (!Meshes.back().ReadFrom(file)) {
            return false;
        }
    }
    return true;
}

bool TModel::ReadMaterials(ModelTextReader& file, int32_t count) {
    MaterialCount = count;
    Materials.clear();
    for (int32_t index = 0; index < count; ++index) {
        // A material the file does not deliver is not made, so it loads no caustic frames.
        if (file.AtEnd()) {
            return false;
        }
        Materials.emplace_back(Multitexture, Caustics, LoadTexture);
        if (!Materials.back().ReadFrom(file, LoadTexture)) {
            return false;
        }
    }
    return true;
}

bool TModel::ReadBones(ModelTextReader& file, int32_t count) {
    BoneCount = count;
    Bones.clear();
    for (int32_t index = 0; index < count; ++index) {
        if (file.AtEnd()) {
            return false;
        }
        Bones.emplace_back();
        if (!Bones.back().ReadFrom(file)) {
            return false;
        }
    }
    return true;
}

bool TModel::LinkBones() {
    for (TBone& bone : Bones) {
        bone.Parent = nullptr;
        if (bone.ParentName.empty()) {
            continue;
        }
        for (const TBone& candidate : Bones) {
            if (candidate.Name == bone.ParentName) {
                bone.Parent = &candidate;
                break;
            }
        }
        if (bone.Parent == nullptr) {
            return false;
        }
    }
    return true;
}

void TModel::SetupJoints() {
    for (TBone& bone : Bones) {
        bone.SetupJoint();
    }
}

void TModel::BindVertices() {
    for (TShape& mesh : Meshes) {
        for (TVec& vertex : mesh.Vertices) {
            if (!IsBoneOf(vertex.Bone, Bones)) {
                continue;
            }
            const TMatrix& bind = Bones[vertex.Bone].WorldMatrix;
            TPoint point = {vertex.X, vertex.Y, vertex.Z};
            bind.UnoffsetPoint(point);
            bind.UnrotatePoint(point);
            vertex.X = point[0];
            vertex.Y = point[1];
            vertex.Z = point[2];
        }
    }
}

void TModel::Advance(float frames) {
    CurrentFrame += frames;
    if (CurrentFrame > TotalFrames) {
        CurrentFrame = 1.0f;
    }
    for (TBone& bone : Bones) {
        bone.Animate(CurrentFrame);
    }
}

TMaterial* TModel::MeshMaterial(size_t mesh) {
    const int32_t material = MeshMaterials[mesh];
    if (material < 0 || static_cast<size_t>(material) >= Materials.size()) {
        return nullptr;
    }
    return &Materials[material];
}

TPoint TModel::PosedPosition(const TVec& vertex) const {
    TPoint point = {vertex.X, vertex.Y, vertex.Z};
    if (IsBoneOf(vertex.Bone, Bones)) {
        const TMatrix& pose = Bones[vertex.Bone].WorldMatrix;
        pose.RotatePoint(point);
        pose.OffsetPoint(point);
    }
    return point;
}

bool TModel::CornersAreDrawable(const TShape& mesh, const TTri& triangle) {
    for (const int32_t vertex : triangle.VertexIndices) {
        if (vertex < 0 || static_cast<size_t>(vertex) >= mesh.Vertices.size()) {
            return false;
        }
    }
    return true;
}

} // namespace tavren
