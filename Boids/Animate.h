// The animated model player: one model, drawn in its current pose and moved on by the real
// time between draws at a fixed number of animation frames per second.
#pragma once

#include "Model.h"
#include "TextureName.h"
#include "Timer.h"

#include <memory>
#include <string>

namespace tavren {

// What the player shows when its model's bones do not link.
inline constexpr char ModelLoadFailedText[] = "Couldn't load the model";
inline constexpr char ModelLoadFailedCaption[] = "Tavren";

class TAnimate {
public:
    // Loads the model (a rendering context must be current when both switches are on, and for
    // loadTexture) and then starts the timer on clock. Errors of the loader go to the caller.
    TAnimate(std::string fileName, double frameRate, bool multitexture, bool caustics,
             TextureLoaderFunction loadTexture, ClockSource& clock = SystemClock());

    std::string FileName;
    double FrameRate;
    bool Multitexture;
    bool Caustics;
    // Kept in 64 bits for the same reason as the timer's seconds; Delta is small.
    double LastTime = 0.0;
    float Delta = 0.0f;
    // Declared before the model so that the model is freed first.
    std::unique_ptr<TPerfTimer> AnimTimer;
    std::unique_ptr<TModel> AnimModel;

    // Draws the model turned so that its +y points along +z, then advances it
    // (ModelDrawing.cpp). Leaves the matrix stack as it found it.
    void Render();
    // Advances the model by the time since the previous call (or since the timer started)
    // times FrameRate.
    void AdvanceByTimer();

private:
    ClockSource& Clock;
};

} // namespace tavren
