#include "Animate.h"

#include "MessageSink.h"

#include <utility>

namespace tavren {

TAnimate::TAnimate(std::string fileName, double frameRate, bool multitexture, bool caustics,
                   TextureLoaderFunction loadTexture, ClockSource& clock)
    : FileName(std::move(fileName)), FrameRate(frameRate), Multitexture(multitexture),
      Caustics(caustics), Clock(clock) {
    AnimModel = std::make_unique<TModel>(Multitexture, Caustics, std::move(loadTexture));
    if (!AnimModel->LoadFromFile(FileName)) {
        RendererMessages().ShowMessage(ModelLoadFailedText, ModelLoadFailedCaption);
    }
    AnimTimer = std::make_unique<TPerfTimer>(Clock);
}

void TAnimate::AdvanceByTimer() {
    const double now = AnimTimer->Elapsed();
    Delta = static_cast<float>(now - LastTime);
    LastTime = now;
    AnimModel->Advance(static_cast<float>(Delta * FrameRate));
}

} // namespace tavren
