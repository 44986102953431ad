#include "ModelViews.h"

#include "Random.h"

#include <cmath>
#include <map>
#include <string>

namespace tavren {

namespace {

constexpr int Supersample = 2;

Vec3 Interpolate(const std::vector<ModelKey>& keys, float frame) {
    size_t i = 0;
    while (i + 1 < keys.size() && keys[i].Time < frame) {
        ++i;
    }
    if (i == 0) {
        return keys[0].Value;
    }
    const float t = std::min(1.0f, (frame - keys[i - 1].Time) / (keys[i].Time - keys[i - 1].Time));
    return Lerp(keys[i - 1].Value, keys[i].Value, t);
}

Mat4 RestMatrix(const ModelBone& bone) {
    Mat4 m = Mat4::Euler(bone.Rotation);
    m.E[12] = bone.Position.X;
    m.E[13] = bone.Position.Y;
    m.E[14] = bone.Position.Z;
    return m;
}

std::vector<Mat4> ChainBones(const ModelText& model, bool posed, float frame) {
    std::map<std::string, size_t> index;
    std::vector<Mat4> world;
    for (const ModelBone& bone : model.Bones) {
        Mat4 local = RestMatrix(bone);
        if (posed) {
            Mat4 key = Mat4::Euler(Interpolate(bone.RotationKeys, frame));
            const Vec3 offset = Interpolate(bone.PositionKeys, frame);
            key.E[12] = offset.X;
            key.E[13] = offset.Y;
            key.E[14] = offset.Z;
            local = local * key;
        }
        const auto parent = index.find(bone.Parent);
        world.push_back(parent == index.end() ? local : world[parent->second] * local);
        index.emplace(bone.Name, world.size() - 1);
    }
    return world;
}

// Draws a model posed at a frame into a raster; `shade` gives each corner's light from its
// normal in eye space, or 1 for the unlit look of the scene.
template <typename ShadeFunction>
void DrawModel(Raster& raster, const ModelText& model, float frame, const Mat4& modelToEye,
               Colour tint, const Picture* texture, const Picture* overlay, ShadeFunction shade) {
    const std::vector<Mat4> bind = ChainBones(model, false, 0.0f);
    const std::vector<Mat4> pose = ChainBones(model, true, frame);
    std::vector<Mat4> skinning;
    for (size_t b = 0; b < bind.size(); ++b) {
        skinning.push_back(pose[b] * bind[b].RigidInverse());
    }
    for (const ModelMesh& mesh : model.Meshes) {
        for (const ModelTriangle& triangle : mesh.Triangles) {
            std::array<RasterVertex, 3> corners;
            for (int k = 0; k < 3; ++k) {
                const ModelVertex& v = mesh.Vertices[triangle.Vertices[k]];
                Vec3 p = v.Position;
                Vec3 n = mesh.Normals[triangle.Normals[k]];
                if (v.Bone >= 0) {
                    p = skinning[v.Bone].TransformPoint(p);
                    n = skinning[v.Bone].TransformDirection(n);
                }
                corners[k] = {modelToEye.TransformPoint(p), v.U, 1.0f - v.V,
                              shade(Normalised(modelToEye.TransformDirection(n)))};
            }
            raster.DrawTriangle(corners, tint, texture, overlay);
        }
    }
}

float Unlit(Vec3) {
    return 1.0f;
}

Picture DrawFishOrthographic(const ModelText& fish, const Picture& skin, float frame,
                             const Mat4& view, float halfWidth, float halfHeight, int width,
                             bool lit) {
    const int height = static_cast<int>(std::lround(width * halfHeight / halfWidth));
    Raster raster(width * Supersample, height * Supersample, Rgb(20, 24, 32),
                  Mat4::Orthographic(-halfWidth, halfWidth, -halfHeight, halfHeight, 1.0f, 400.0f));
    if (lit) {
        const Vec3 light = Normalised({-0.4f, 0.7f, 0.6f});
        DrawModel(raster, fish, frame, view, Rgb(255, 255, 255), &skin, nullptr,
                  [&](Vec3 n) { return 0.35f + 0.75f * std::fabs(Dot(n, light)); });
    } else {
        DrawModel(raster, fish, frame, view, Rgb(255, 255, 255), &skin, nullptr, Unlit);
    }
    return Downsample(raster.Image(), Supersample);
}

} // namespace

std::vector<Mat4> PoseBones(const ModelText& model, float frame) {
    return ChainBones(model, true, frame);
}

Picture DrawFishSide(const ModelText& fish, const Picture& skin, float frame) {
    // From the fish's left (-x): z runs to the right, y up, as in the skin picture.
    const Mat4 view =
        Mat4::Translation({-13.5f, -2.0f, -200.0f}) * Mat4::Rotation(90.0f, {0.0f, 1.0f, 0.0f});
    return DrawFishOrthographic(fish, skin, frame, view, 96.0f, 40.0f, 480, false);
}

Picture DrawFishTop(const ModelText& fish, const Picture& skin, float frame) {
    const Mat4 view = Mat4::Translation({-13.5f, 0.0f, -200.0f}) *
                      Mat4::Rotation(90.0f, {1.0f, 0.0f, 0.0f}) *
                      Mat4::Rotation(90.0f, {0.0f, 1.0f, 0.0f});
    return DrawFishOrthographic(fish, skin, frame, view, 96.0f, 40.0f, 480, false);
}

Picture DrawFishLit(const ModelText& fish, const Picture& skin, float frame) {
    const Mat4 view = Mat4::Translation({-6.0f, 0.0f, -200.0f}) *
                      Mat4::Rotation(25.0f, {1.0f, 0.0f, 0.0f}) *
                      Mat4::Rotation(-125.0f, {0.0f, 1.0f, 0.0f});
    return DrawFishOrthographic(fish, skin, frame, view, 96.0f, 56.0f, 480, true);
}

Picture DrawTerrainTop(const ModelText& terrain, const Picture& sand, const Picture& caustic) {
    constexpr int Width = 480;
    constexpr float HalfWidth = 240.0f;
    constexpr float HalfHeight = 160.0f;
    const int height = static_cast<int>(Width * HalfHeight / HalfWidth);
    Raster raster(Width * Supersample, height * Supersample, Rgb(20, 24, 32),
                  Mat4::Orthographic(-HalfWidth, HalfWidth, -HalfHeight, HalfHeight, 1.0f, 400.0f));
    // From above, x to the right and -z (the far side in the scene) up.
    const Mat4 view =
        Mat4::Translation({10.0f, -10.0f, -200.0f}) * Mat4::Rotation(90.0f, {1.0f, 0.0f, 0.0f});
    DrawModel(raster, terrain, 1.0f, view, {1, 1, 1}, &sand, &caustic, Unlit);
    return Downsample(raster.Image(), Supersample);
}

Picture DrawScene(const ModelText& fish, const ModelText& terrain, const ScenePictures& pictures,
                  int width, int height) {
    const Mat4 projection =
        Mat4::Perspective(45.0f, static_cast<float>(width) / height, 1.0f, 100.0f);
    Raster raster(width * Supersample, height * Supersample, {0.3f, 0.3f, 1.0f}, projection);
    raster.SetFog({0.0f, 0.0f, 0.8f}, 0.04f);
    const Mat4 camera = Mat4::Translation({-4.5f, -2.0f, -5.0f});
    const Mat4 playerTurn = Mat4::Rotation(90.0f, {1.0f, 0.0f, 0.0f});

    // The school, at fixed places and headings; the animation is shared, so each fish is drawn
    // a little further along the cycle than the one before.
    const Mat4 school = camera * Mat4::Rotation(-45.0f, {1.0f, 0.0f, 0.0f});
    Random random(41u);
    for (int i = 0; i < 41; ++i) {
        const float heading = static_cast<float>(random.Uniform(0.0, 2.0 * Pi));
        const float x = static_cast<float>(random.Uniform(0.0, 10.0));
        const float y = static_cast<float>(random.Uniform(0.0, 10.0));
        const float grey = 1.0f - y / 10.0f;
        const Mat4 place = school * Mat4::Translation({x, y, 0.0f}) * Mat4::Scaling(0.005f) *
                           Mat4::Rotation(heading * 180.0f / Pi - 90.0f, {0.0f, 0.0f, 1.0f}) *
                           playerTurn;
        DrawModel(raster, fish, 1.0f + std::fmod(i * 0.7f, 29.0f), place, {grey, grey, grey},
                  pictures.FishSkin, nullptr, Unlit);
    }

    // The background strip, mirrored as the scene shows it.
    const Mat4 strip = camera * Mat4::Translation({4.5f, 4.0f, -8.0f});
    const std::array<RasterVertex, 4> quad{{{strip.TransformPoint({8, -1, 0}), 0, 0, 1},
                                            {strip.TransformPoint({8, 4, 0}), 0, 1, 1},
                                            {strip.TransformPoint({-8, 4, 0}), 1, 1, 1},
                                            {strip.TransformPoint({-8, -1, 0}), 1, 0, 1}}};
    raster.DrawTriangle({quad[0], quad[1], quad[2]}, {1, 1, 1}, pictures.Background, nullptr);
    raster.DrawTriangle({quad[0], quad[2], quad[3]}, {1, 1, 1}, pictures.Background, nullptr);

    const Mat4 floor = camera * Mat4::Translation({6.5f, -2.0f, -1.5f}) *
                       Mat4::Rotation(-70.0f, {1.0f, 0.0f, 0.0f}) * Mat4::Scaling(0.05f) *
                       playerTurn;
    DrawModel(raster, terrain, 1.0f, floor, {1, 1, 1}, pictures.Sand, pictures.Caustic, Unlit);
    return Downsample(raster.Image(), Supersample);
}

} // namespace tavren
