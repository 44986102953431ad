// The two ARB multitexture entry points the drawing shares, process-wide. They are fetched
// through the procedure loader of the platform, which each platform installs at its start.
#pragma once

#include "OpenGL.h"

namespace tavren {

inline constexpr GLenum GlTexture0Arb = 0x84C0;
inline constexpr GLenum GlTexture1Arb = 0x84C1;

using GlProcedure = void (*)();
// Returns the entry point of the given name in the current context, or nullptr.
using GlProcLoader = GlProcedure (*)(const char* name);

// Installs the platform's loader (wglGetProcAddress, SDL_GL_GetProcAddress, eglGetProcAddress).
void SetGlProcLoader(GlProcLoader loader);

using ActiveTextureFunction = void(APIENTRY*)(GLenum texture);
using MultiTexCoord2fFunction = void(APIENTRY*)(GLenum target, GLfloat s, GLfloat t);

// Empty at start; nothing clears them. Never call one while it is empty.
extern ActiveTextureFunction glActiveTextureARB;
extern MultiTexCoord2fFunction glMultiTexCoord2fARB;

// Stores what the installed loader returns for both, as it comes back (empty when no loader
// is installed). A rendering context must be current.
void FetchMultitextureEntryPoints();

} // namespace tavren
