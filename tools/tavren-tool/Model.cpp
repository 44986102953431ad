// tavren-tool model: what the model loader makes of a file, and where the drawing would put
// its corners after some advances. No GL: both texturing switches are off and material
// textures are only resolved.
#include "Arguments.h"
#include "Commands.h"

#include "Boids/Model.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tavren::tool {

namespace {

// Bytes that do not form UTF-8 are taken as Latin-1, the code page the names were written in.
std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (size_t index = 0; index < text.size(); ++index) {
        const auto byte = static_cast<unsigned char>(text[index]);
        const size_t length = byte < 0x80                    ? 1
                              : byte >= 0xC2 && byte <= 0xDF ? 2
                              : byte >= 0xE0 && byte <= 0xEF ? 3
                              : byte >= 0xF0 && byte <= 0xF4 ? 4
                                                             : 0;
        bool continued = length > 1 && index + length <= text.size();
        for (size_t next = 1; continued && next < length; ++next) {
            continued = (static_cast<unsigned char>(text[index + next]) & 0xC0) == 0x80;
        }
        char escape[8];
        if (byte == '"' || byte == '\\') {
            json += '\\';
            json += static_cast<char>(byte);
        } else if (byte < 0x20 || (byte >= 0x80 && !continued)) {
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            json += escape;
        } else if (continued) {
            json.append(text.substr(index, length));
            index += length - 1;
        } else {
            json += static_cast<char>(byte);
        }
    }
    return json + "\"";
}

std::string Real(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

void PrintInfo(const TModel& model, bool loaded) {
    std::string json = std::string("{\"loaded\": ") + (loaded ? "true" : "false") +
                       ", \"total_frames\": " + Real(model.TotalFrames) +
                       ", \"current_frame\": " + Real(model.CurrentFrame) + ", \"meshes\": [";
    for (size_t mesh = 0; mesh < model.Meshes.size(); ++mesh) {
        const TShape& shape = model.Meshes[mesh];
        json += std::string(mesh > 0 ? ", " : "") +
                "{\"material\": " + std::to_string(model.MeshMaterials[mesh]) +
                ", \"vertices\": " + std::to_string(shape.Vertices.size()) +
                ", \"normals\": " + std::to_string(shape.Normals.size()) +
                ", \"triangles\": " + std::to_string(shape.Triangles.size()) + "}";
    }
    json += "], \"materials\": [";
    for (size_t index = 0; index < model.Materials.size(); ++index) {
        const TMaterial& material = model.Materials[index];
        json += std::string(index > 0 ? ", " : "") + "{\"name\": " + JsonString(material.Name) +
                ", \"texture_file\": " + JsonString(material.TextureFile) +
                ", \"alpha_file\": " + JsonString(material.AlphaFile) + "}";
    }
    json += "], \"bones\": [";
    for (size_t index = 0; index < model.Bones.size(); ++index) {
        const TBone& bone = model.Bones[index];
        json += std::string(index > 0 ? ", " : "") + "{\"name\": " + JsonString(bone.Name) +
                ", \"parent\": " + JsonString(bone.ParentName) +
                ", \"position_keys\": " + std::to_string(bone.PositionKeys.size()) +
                ", \"rotation_keys\": " + std::to_string(bone.RotationKeys.size()) + "}";
    }
    std::printf("%s]}\n", json.c_str());
}

void PrintPose(const TModel& model) {
    std::printf("frame %s\n", Real(model.CurrentFrame).c_str());
    for (const TShape& mesh : model.Meshes) {
        model.ForEachCorner(mesh, [](const TNormal*, const TVec& vertex, const TPoint& position) {
            std::printf("%s %s %s %s %s\n", Real(position[0]).c_str(), Real(position[1]).c_str(),
                        Real(position[2]).c_str(), Real(vertex.U).c_str(), Real(vertex.V).c_str());
        });
    }
}

std::vector<float> ReadAdvances(std::span<const std::string_view> arguments) {
    OptionReader options(arguments);
    std::vector<float> advances;
    for (const std::string_view text : options.TakeAll("--advance")) {
        const auto frames = ParseDecimalReal(text);
        if (!frames) {
            throw UsageError("--advance takes a decimal number, not " + std::string(text));
        }
        advances.push_back(*frames);
    }
    options.RejectLeftovers();
    return advances;
}

} // namespace

int RunModel(std::span<const std::string_view> arguments) {
    if (arguments.size() < 2 || (arguments[0] != "info" && arguments[0] != "pose")) {
        throw UsageError("model takes info FILE or pose FILE");
    }
    const bool pose = arguments[0] == "pose";
    const std::string fileName(arguments[1]);
    const std::vector<float> advances = ReadAdvances(arguments.subspan(2));
    if (!pose && !advances.empty()) {
        throw UsageError("model info takes no --advance");
    }

    TModel model(false, false, [](const std::string&, TextureName&) {});
    try {
        const bool loaded = model.LoadFromFile(fileName);
        if (!pose) {
            PrintInfo(model, loaded);
            return 0;
        }
        for (const float frames : advances) {
            model.Advance(frames);
        }
    } catch (const ModelError& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        return 2;
    }
    PrintPose(model);
    return 0;
}

} // namespace tavren::tool
