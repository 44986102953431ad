// Pictures of the two models as the renderer draws them, for the artwork's previews: the fish
// from the side and from above at several animation frames, and the sea floor under its sand
// and caustic light.
#include "Arguments.h"
#include "Commands.h"

#include "Boids/Model.h"
#include "Boids/OpenGL.h"
#include "Boids/Textures.h"
#include "Boids/platform/egl/HeadlessRenderer.h"
#include "tools/PngFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace tavren::tool {

namespace {

namespace fs = std::filesystem;

// One picture: a projection, a turn of the model and a frame of its animation.
class ModelPicture final : public SceneHooks {
public:
    ModelPicture(TModel& model, std::function<void()> project, std::function<void()> turn)
        : Model(model), Project(std::move(project)), Turn(std::move(turn)) {}

    void ResizeScene(int32_t width, int32_t height) override {
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        Project();
        glMatrixMode(GL_MODELVIEW);
    }
    void SetUpScene() override {
        glClearColor(0.02f, 0.06f, 0.2f, 1.0f);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.4f);
    }
    void DrawScene() override {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        Turn();
        glColor3f(1, 1, 1);
        Model.Draw();
        glDisable(GL_TEXTURE_2D);
    }
    void FreeScene() override {}

private:
    TModel& Model;
    std::function<void()> Project;
    std::function<void()> Turn;
};

// Moves the model's animation to `frame`, through its wrap when that lies behind.
void ShowFrame(TModel& model, float frame) {
    if (frame < model.CurrentFrame) {
        model.Advance(model.TotalFrames - model.CurrentFrame + 0.5f);
    }
    model.Advance(frame - model.CurrentFrame);
}

// Loads the model afresh in a context of the picture's size (textures belong to a context) and
// draws it once at `frame`.
void DrawModel(const fs::path& file, int width, int height, const std::string& modelPath,
               bool caustics, float frame, const std::function<void()>& project,
               const std::function<void()>& turn) {
    HeadlessRenderer renderer(width, height);
    TModel model(true, caustics, LoadTexture);
    model.LoadFromFile(modelPath);
    ShowFrame(model, frame);
    ModelPicture picture(model, project, turn);
    renderer.RenderFrames(picture, 1);
    WritePng(file, width, height, renderer.ReadPixels());
    std::printf("%s\n", file.string().c_str());
}

} // namespace

int RunPreview(std::span<const std::string_view> arguments) {
    OptionReader options(arguments);
    const std::string data(options.Require("--data"));
    const fs::path out(options.Require("--out"));
    options.RejectLeftovers();
    setenv("TAVREN_DATA", data.c_str(), 1);
    fs::create_directories(out);

    const std::string fish = data + "/Tavren.pp1";
    // The head (-z) to the left, the back (+y) up.
    DrawModel(
        out / "fish-side.png", 400, 240, fish, false, 1,
        [] { glOrtho(-100, 100, -60, 60, -200, 200); }, [] { glRotatef(90, 0, 1, 0); });
    // Looking down on the back, the head up.
    for (const int frame : {1, 8, 16, 24}) {
        char name[32];
        std::snprintf(name, sizeof name, "fish-top-frame%02d.png", frame);
        DrawModel(
            out / name, 240, 400, fish, false, static_cast<float>(frame),
            [] { glOrtho(-60, 60, -100, 100, -200, 200); }, [] { glRotatef(90, 1, 0, 0); });
    }
    DrawModel(
        out / "terrain.png", 640, 400, data + "/Tavren.pp2", true, 1,
        [] { gluPerspective(45, 640.0 / 400.0, 10, 2000); },
        [] { gluLookAt(0, 420, 420, -10, 60, -10, 0, 1, 0); });
    return 0;
}

} // namespace tavren::tool
