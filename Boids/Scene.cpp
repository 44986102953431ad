#include "Scene.h"

#include "DataFolder.h"
#include "ExtOpenGL.h"
#include "MessageSink.h"
#include "Model.h"
#include "OpenGL.h"
#include "Settings.h"
#include "Textures.h"

#include <algorithm>
#include <chrono>

namespace tavren {

std::unique_ptr<TFlock> SceneSchool;
std::unique_ptr<TAnimate> SceneTerrain;
TextureName BackgroundTexture = 0;

namespace {

constexpr GLfloat FogColour[4] = {0.0f, 0.0f, 0.8f, 0.0f};
constexpr char ModelFailureCaption[] = "Tavren";

SceneOptions Options;
SceneProfile* Profile = nullptr;

using ProfileClock = std::chrono::steady_clock;

// Adds the time since `since` to `seconds` when profiling, and starts the next part.
void EndPart(double SceneProfile::*seconds, ProfileClock::time_point& since) {
    if (Profile == nullptr) {
        return;
    }
    glFinish();
    const ProfileClock::time_point now = ProfileClock::now();
    Profile->*seconds += std::chrono::duration<double>(now - since).count();
    since = now;
}

void AddFish(TFlock& school, int32_t count) {
    for (int32_t fish = 0; fish <= count; ++fish) {
        school.AddBoid(0, 0.8, 0.5, 0.01, 0.05, 60.0, 50.0, 1.0, 1.0, 0.99f, 0.99f, 0.99f);
    }
}

void DrawBackground() {
    glPushMatrix();
    glTranslatef(4.5f, 4.0f, -8.0f);
    glBindTexture(GL_TEXTURE_2D, BackgroundTexture);
    glColor3f(1.0f, 1.0f, 1.0f);
    // The picture's s = 0 edge lies at x = +8: it is shown mirrored.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(8.0f, -1.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(8.0f, 4.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(-8.0f, 4.0f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(-8.0f, -1.0f, 0.0f);
    glEnd();
    glPopMatrix();
}

} // namespace

void SetSceneOptions(const SceneOptions& options) {
    Options = options;
}

void SetSceneProfile(SceneProfile* profile) {
    Profile = profile;
}

void ResizeScene(int32_t width, int32_t height) {
    if (height == 0) {
        height = 1;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void SetUpScene() {
    glClearColor(0.3f, 0.3f, 1.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);

    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.4f);

    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP2);
    glFogfv(GL_FOG_COLOR, FogColour);
    glFogf(GL_FOG_DENSITY, 0.04f);
    glHint(GL_FOG_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    const std::string data = DataFolderPrefix();
    BackgroundTexture = 0;
    LoadTexture(data + "Tavren200.bmp", BackgroundTexture);

    ClockSource& clock = Options.Clock != nullptr ? *Options.Clock : SystemClock();
    auto random = Options.Seed ? std::make_unique<MersenneRandom>(*Options.Seed)
                               : std::make_unique<MersenneRandom>();
    // A model that cannot be read is reported and left out; the rest of the scene is drawn.
    SceneSchool.reset();
    try {
        SceneSchool = TFlock::Create(1, 1000.0, 1000.0, data + "Tavren.pp1", true, false,
                                     LoadTexture, clock, std::move(random));
        AddFish(*SceneSchool, std::min(ReadFishSetting(data + "Tavren.ini"), MostFishSetting));
    } catch (const ModelError& error) {
        RendererMessages().ShowMessage(error.what(), ModelFailureCaption);
    }
    SceneTerrain.reset();
    try {
        SceneTerrain =
            std::make_unique<TAnimate>(data + "Tavren.pp2", 24.0, true, true, LoadTexture, clock);
    } catch (const ModelError& error) {
        RendererMessages().ShowMessage(error.what(), ModelFailureCaption);
    }
}

void DrawScene() {
    ProfileClock::time_point since = ProfileClock::now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(-4.5f, -2.0f, -5.0f);
    EndPart(&SceneProfile::RestSeconds, since);

    // The school's 10 x 10 square, tilted away from the viewer.
    glPushMatrix();
    glRotatef(-45.0f, 1.0f, 0.0f, 0.0f);
    if (SceneSchool) {
        SceneSchool->Update();
        EndPart(&SceneProfile::SimulationSeconds, since);
        SceneSchool->Draw();
        EndPart(&SceneProfile::FishDrawingSeconds, since);
    }
    glPopMatrix();

    if (glActiveTextureARB != nullptr) {
        glActiveTextureARB(GlTexture0Arb);
    }
    DrawBackground();
    glDisable(GL_TEXTURE_2D);
    EndPart(&SceneProfile::RestSeconds, since);

    // Turned by 20 degrees about x in all, with the player's own quarter turn.
    glPushMatrix();
    glTranslatef(6.5f, -2.0f, -1.5f);
    glRotatef(-70.0f, 1.0f, 0.0f, 0.0f);
    glScalef(0.05f, 0.05f, 0.05f);
    glColor3f(1.0f, 1.0f, 1.0f);
    if (SceneTerrain) {
        SceneTerrain->Render();
    }
    glPopMatrix();
    // The caustic unit, left active by the terrain, is switched off for the next frame's fish.
    glDisable(GL_TEXTURE_2D);
    EndPart(&SceneProfile::TerrainDrawingSeconds, since);
    if (Profile != nullptr) {
        ++Profile->Frames;
    }
}

void FreeScene() {
    SceneSchool.reset();
    SceneTerrain.reset();
}

void SceneFunctions::ResizeScene(int32_t width, int32_t height) {
    tavren::ResizeScene(width, height);
}
void SceneFunctions::SetUpScene() {
    tavren::SetUpScene();
}
void SceneFunctions::DrawScene() {
    tavren::DrawScene();
}
void SceneFunctions::FreeScene() {
    tavren::FreeScene();
}

} // namespace tavren
