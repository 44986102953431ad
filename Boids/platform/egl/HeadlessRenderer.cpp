#include "HeadlessRenderer.h"

#include "../../ExtOpenGL.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace tavren {

namespace {

std::string EglFailure(const char* what) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string("EGL: ") + what + " failed (error " + code + ")";
}

template <typename Function> Function LoadGl(const char* name) {
    auto function = reinterpret_cast<Function>(eglGetProcAddress(name));
    if (function == nullptr) {
        throw HeadlessError(std::string("EGL: no entry point ") + name);
    }
    return function;
}

EGLDisplay OpenSurfacelessDisplay() {
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (extensions == nullptr ||
        std::strstr(extensions, "EGL_MESA_platform_surfaceless") == nullptr) {
        throw HeadlessError("EGL: the surfaceless platform is not available");
    }
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        throw HeadlessError("EGL: no eglGetPlatformDisplayEXT");
    }
    EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) {
        throw HeadlessError(EglFailure("eglGetPlatformDisplayEXT"));
    }
    return display;
}

} // namespace

struct HeadlessRenderer::Context {
    EGLDisplay Display = EGL_NO_DISPLAY;
    EGLContext RenderContext = EGL_NO_CONTEXT;
    GLuint Framebuffer = 0;
    GLuint Renderbuffers[2] = {0, 0};
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;

    ~Context() {
        if (RenderContext != EGL_NO_CONTEXT) {
            if (Framebuffer != 0) {
                DeleteFramebuffers(1, &Framebuffer);
                DeleteRenderbuffers(2, Renderbuffers);
            }
            eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            eglDestroyContext(Display, RenderContext);
        }
        if (Display != EGL_NO_DISPLAY) {
            eglTerminate(Display);
        }
    }
};

HeadlessRenderer::HeadlessRenderer(int32_t width, int32_t height)
    : Egl(std::make_unique<Context>()), TargetWidth(width), TargetHeight(height) {
    if (width <= 0 || height <= 0) {
        throw HeadlessError("the target size must be positive");
    }
    Egl->Display = OpenSurfacelessDisplay();
    if (!eglInitialize(Egl->Display, nullptr, nullptr)) {
        Egl->Display = EGL_NO_DISPLAY;
        throw HeadlessError(EglFailure("eglInitialize"));
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        throw HeadlessError(EglFailure("eglBindAPI"));
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(Egl->Display, configAttributes, &config, 1, &configCount) ||
        configCount == 0) {
        throw HeadlessError(EglFailure("eglChooseConfig"));
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    Egl->RenderContext = eglCreateContext(Egl->Display, config, EGL_NO_CONTEXT, contextAttributes);
    if (Egl->RenderContext == EGL_NO_CONTEXT) {
        throw HeadlessError(EglFailure("eglCreateContext"));
    }
    if (!eglMakeCurrent(Egl->Display, EGL_NO_SURFACE, EGL_NO_SURFACE, Egl->RenderContext)) {
        throw HeadlessError(EglFailure("eglMakeCurrent"));
    }
    SetGlProcLoader([](const char* name) { return eglGetProcAddress(name); });

    // The offscreen target is like the window: 8-bit red, green and blue with no alpha (read
    // back as opaque), and a 16-bit depth buffer.
    auto genFramebuffers = LoadGl<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
    auto bindFramebuffer = LoadGl<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    auto genRenderbuffers = LoadGl<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
    auto bindRenderbuffer = LoadGl<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
    auto renderbufferStorage = LoadGl<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
    auto framebufferRenderbuffer =
        LoadGl<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
    auto checkFramebufferStatus =
        LoadGl<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
    Egl->DeleteFramebuffers = LoadGl<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
    Egl->DeleteRenderbuffers = LoadGl<PFNGLDELETERENDERBUFFERSPROC>("glDeleteRenderbuffers");

    genFramebuffers(1, &Egl->Framebuffer);
    genRenderbuffers(2, Egl->Renderbuffers);
    bindFramebuffer(GL_FRAMEBUFFER, Egl->Framebuffer);
    bindRenderbuffer(GL_RENDERBUFFER, Egl->Renderbuffers[0]);
    renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                            Egl->Renderbuffers[0]);
    bindRenderbuffer(GL_RENDERBUFFER, Egl->Renderbuffers[1]);
    renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                            Egl->Renderbuffers[1]);
    if (checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        throw HeadlessError("the offscreen framebuffer is incomplete");
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

HeadlessRenderer::~HeadlessRenderer() = default;

void HeadlessRenderer::RenderFrames(SceneHooks& scene, int frames) {
    if (!SceneIsSetUp) {
        scene.ResizeScene(TargetWidth, TargetHeight);
        scene.SetUpScene();
        SceneIsSetUp = true;
    }
    for (int frame = 0; frame < frames; ++frame) {
        scene.DrawScene();
        glFlush();
    }
    glFinish();
}

std::vector<uint8_t> HeadlessRenderer::ReadPixels() const {
    const size_t rowBytes = static_cast<size_t>(TargetWidth) * 4;
    std::vector<uint8_t> bottomUp(rowBytes * static_cast<size_t>(TargetHeight));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, TargetWidth, TargetHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    for (int32_t row = 0; row < TargetHeight; ++row) {
        std::memcpy(topDown.data() + static_cast<size_t>(row) * rowBytes,
                    bottomUp.data() + static_cast<size_t>(TargetHeight - 1 - row) * rowBytes,
                    rowBytes);
    }
    return topDown;
}

} // namespace tavren
