#include "ExtOpenGL.h"

namespace tavren {

namespace {

GlProcLoader InstalledLoader = nullptr;

template <typename Function> Function Fetch(const char* name) {
    return InstalledLoader != nullptr ? reinterpret_cast<Function>(InstalledLoader(name)) : nullptr;
}

} // namespace

ActiveTextureFunction glActiveTextureARB = nullptr;
MultiTexCoord2fFunction glMultiTexCoord2fARB = nullptr;

void SetGlProcLoader(GlProcLoader loader) {
    InstalledLoader = loader;
}

void FetchMultitextureEntryPoints() {
    glMultiTexCoord2fARB = Fetch<MultiTexCoord2fFunction>("glMultiTexCoord2fARB");
    glActiveTextureARB = Fetch<ActiveTextureFunction>("glActiveTextureARB");
}

} // namespace tavren
