#include "Scene.h"

#include "OpenGL.h"

namespace tavren {

namespace {

constexpr GLfloat FogColour[4] = {0.0f, 0.0f, 0.8f, 0.0f};

} // namespace

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
}

void DrawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(-4.5f, -2.0f, -5.0f);
}

void FreeScene() {}

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
